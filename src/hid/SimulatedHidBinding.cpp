#include "hid/SimulatedHidBinding.h"

#include "framework/text/Hex.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace hid {

namespace {

constexpr const char *PathPrefix = "sim:";

std::string Narrow(const std::u16string &text) {
  std::string out;
  for (const char16_t c : text)
    out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

constexpr std::uint32_t MinInputBuffers = 2;
constexpr std::uint32_t MaxInputBuffers = 512;
constexpr std::uint32_t DefaultInputBuffers = 32;

} // namespace

SimulatedHidBinding::Slot *SimulatedHidBinding::State::FindLocked(const std::string &id) const {
  const auto found = ById.find(id);
  return found == ById.end() ? nullptr : found->second;
}

// A handle stays tied to the plug it was opened under: after an unplug (or a re-plug) every
// call fails, as on a real device node that went away.
class SimulatedHidBinding::Handle final : public HidHandle {
public:
  Handle(std::shared_ptr<State> state, Slot *slot, OpenMode mode)
      : m_state(std::move(state)), m_slot(slot), m_generation(slot->Generation), m_mode(mode),
        m_path(PathPrefix + slot->Device.Id) {}

  ~Handle() override {
    const std::lock_guard lock(m_state->Mutex);
    --m_state->OpenHandles;
    m_state->Log({"close", m_path, true, {}, 0});
  }

  bool GetAttributes(HIDD_ATTRIBUTES &attributes) override {
    const std::lock_guard lock(m_state->Mutex);
    const bool ok = LiveLocked() && !m_slot->Device.FailAttributes;
    if (ok) {
      attributes.VendorID = m_slot->Device.VendorID;
      attributes.ProductID = m_slot->Device.ProductID;
      attributes.VersionNumber = m_slot->Device.VersionNumber;
    }
    m_state->Log({"attributes", m_path, ok, {}, 0});
    return ok;
  }

  std::shared_ptr<const PreparsedData> GetPreparsedData() override {
    const std::lock_guard lock(m_state->Mutex);
    const bool ok = LiveLocked() && !m_slot->Device.FailPreparsed;
    m_state->Log({"preparsed", m_path, ok, {}, 0});
    if (!ok) return nullptr;
    return std::make_shared<const PreparsedData>(PreparsedData{m_slot->Device.Caps});
  }

  bool GetProductString(std::u16string &name, std::size_t maxChars) override {
    const std::lock_guard lock(m_state->Mutex);
    const bool ok = LiveLocked();
    if (ok) name = m_slot->Device.ProductName.substr(0, maxChars);
    m_state->Log({"product", m_path, ok, {}, 0});
    return ok;
  }

  bool GetFeature(std::uint8_t *buffer, std::size_t length) override {
    return Feature(&VirtualDevice::OnGetFeature, &VirtualDevice::FailGetFeature, "get_feature",
                   buffer, length, buffer);
  }

  bool SetFeature(const std::uint8_t *buffer, std::size_t length) override {
    return Feature(&VirtualDevice::OnSetFeature, &VirtualDevice::FailSetFeature, "set_feature",
                   buffer, length, nullptr);
  }

  bool SetNumInputBuffers(std::uint32_t count) override {
    const std::lock_guard lock(m_state->Mutex);
    const bool ok = LiveLocked() && count >= MinInputBuffers && count <= MaxInputBuffers;
    if (ok) m_inputBuffers = count;
    m_state->Log({"set_buffers", m_path, ok, {}, count});
    return ok;
  }

  bool GetNumInputBuffers(std::uint32_t &count) override {
    const std::lock_guard lock(m_state->Mutex);
    const bool ok = LiveLocked();
    if (ok) count = m_inputBuffers;
    m_state->Log({"get_buffers", m_path, ok, {}, ok ? count : 0});
    return ok;
  }

  ReadResult Read(std::uint8_t *buffer, std::size_t length, int timeoutMs) override {
    std::unique_lock lock(m_state->Mutex);
    if (!LiveLocked() || (m_mode != OpenMode::OverlappedRead && m_mode != OpenMode::ReadWrite)) {
      m_state->Log({"read", m_path, false, {}, 0});
      return {ReadStatus::Error, 0, SimulatedHidBinding::ErrorNoDevice};
    }
    const std::uint64_t cancelEpoch = m_cancelEpoch;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    m_state->InputArrived.wait_until(lock, deadline, [&] {
      return !LiveLocked() || !m_slot->Input.empty() || m_cancelEpoch != cancelEpoch;
    });
    if (!LiveLocked()) {
      m_state->Log({"read", m_path, false, {}, 0});
      return {ReadStatus::Error, 0, SimulatedHidBinding::ErrorNoDevice};
    }
    if (m_cancelEpoch != cancelEpoch || m_slot->Input.empty()) return {ReadStatus::Timeout, 0, 0};
    std::vector<std::uint8_t> report = std::move(m_slot->Input.front());
    m_slot->Input.pop_front();
    const std::size_t count = buffer == nullptr ? 0 : std::min(length, report.size());
    std::copy_n(report.begin(), count, buffer);
    m_state->Log({"read", m_path, true, report, 0});
    return {ReadStatus::Data, count, 0};
  }

  void CancelIo() override {
    {
      const std::lock_guard lock(m_state->Mutex);
      ++m_cancelEpoch;
    }
    m_state->InputArrived.notify_all();
  }

private:
  bool LiveLocked() const {
    return m_state->Alive && m_slot->Plugged && m_slot->Generation == m_generation;
  }
  // Runs the device's handler on a scratch copy as long as the device's own report: the device
  // may answer more than the caller asked for, and the caller's buffer never sees it. `answer`
  // receives the result of a get; a short answer fails as on the real binding.
  template <typename Handler>
  bool Feature(Handler VirtualDevice::*handlerMember, bool VirtualDevice::*failMember,
               const char *op, const std::uint8_t *request, std::size_t length,
               std::uint8_t *answer) {
    Handler handler;
    std::size_t scratchLength = length;
    std::size_t needed = length;
    {
      const std::lock_guard lock(m_state->Mutex);
      if (FeatureAllowedLocked() && !(m_slot->Device.*failMember)) {
        handler = m_slot->Device.*handlerMember;
        const std::size_t featureLength = m_slot->Device.Caps.FeatureReportByteLength;
        scratchLength = std::max(length, featureLength);
        if (featureLength != 0) needed = std::min(length, featureLength);
      }
    }
    bool ok = false;
    if (handler && request != nullptr && length > 0) {
      std::vector<std::uint8_t> scratch(scratchLength, 0);
      std::copy_n(request, length, scratch.begin());
      std::size_t delivered = length;
      ok = handler(scratch.data(), delivered) && delivered >= needed;
      if (ok && answer != nullptr) std::copy_n(scratch.begin(), length, answer);
    }
    const std::lock_guard lock(m_state->Mutex);
    m_state->Log({op, m_path, ok, Bytes(request, length), 0});
    return ok;
  }

  bool FeatureAllowedLocked() const { return LiveLocked() && m_mode == OpenMode::ReadWrite; }
  static std::vector<std::uint8_t> Bytes(const std::uint8_t *buffer, std::size_t length) {
    if (buffer == nullptr) return {};
    return {buffer, buffer + length};
  }

  std::shared_ptr<State> m_state;
  Slot *m_slot;
  const std::uint64_t m_generation;
  const OpenMode m_mode;
  const std::string m_path;
  std::uint32_t m_inputBuffers = DefaultInputBuffers;
  std::uint64_t m_cancelEpoch = 0;
};

SimulatedHidBinding::SimulatedHidBinding() : m_state(std::make_shared<State>()) {}

SimulatedHidBinding::~SimulatedHidBinding() {
  {
    const std::lock_guard lock(m_state->Mutex);
    m_state->Alive = false;
  }
  m_state->InputArrived.notify_all();
}

void SimulatedHidBinding::Add(VirtualDevice device, bool plugged) {
  const std::lock_guard lock(m_state->Mutex);
  if (m_state->FindLocked(device.Id) != nullptr)
    throw std::invalid_argument("duplicate simulated device id: " + device.Id);
  auto slot = std::make_unique<Slot>();
  slot->Device = std::move(device);
  slot->Plugged = plugged;
  if (plugged) slot->Instance = m_state->NextInstance++;
  Slot *const added = slot.get();
  m_state->Slots.push_back(std::move(slot));
  m_state->ById.emplace(added->Device.Id, added);
}

bool SimulatedHidBinding::Plug(const std::string &id) {
  {
    const std::lock_guard lock(m_state->Mutex);
    Slot *slot = m_state->FindLocked(id);
    if (slot == nullptr || slot->Plugged) return false;
    slot->Plugged = true;
    slot->Instance = m_state->NextInstance++;
    ++slot->Generation;
    slot->Input.clear();
  }
  NotifyDeviceTreeChanged();
  return true;
}

bool SimulatedHidBinding::Unplug(const std::string &id) {
  {
    const std::lock_guard lock(m_state->Mutex);
    Slot *slot = m_state->FindLocked(id);
    if (slot == nullptr || !slot->Plugged) return false;
    slot->Plugged = false;
    ++slot->Generation;
    slot->Input.clear();
  }
  m_state->InputArrived.notify_all();
  NotifyDeviceTreeChanged();
  return true;
}

VirtualDevice *SimulatedHidBinding::Find(const std::string &id) {
  const std::lock_guard lock(m_state->Mutex);
  Slot *slot = m_state->FindLocked(id);
  return slot == nullptr ? nullptr : &slot->Device;
}

bool SimulatedHidBinding::IsPlugged(const std::string &id) const {
  const std::lock_guard lock(m_state->Mutex);
  const Slot *slot = m_state->FindLocked(id);
  return slot != nullptr && slot->Plugged;
}

std::string SimulatedHidBinding::PathOf(const std::string &id) const {
  return PathPrefix + id;
}

void SimulatedHidBinding::SetBound(bool bound) {
  m_bound = bound;
}

void SimulatedHidBinding::SetEnumerationFails(bool fails) {
  m_enumerationFails = fails;
}

void SimulatedHidBinding::ClearCalls() {
  const std::lock_guard lock(m_state->Mutex);
  m_state->Calls.clear();
}

void SimulatedHidBinding::SetLogging(bool on) {
  const std::lock_guard lock(m_state->Mutex);
  m_state->Logging = on;
}

void SimulatedHidBinding::PushInputReport(const std::string &id, std::vector<std::uint8_t> report) {
  {
    const std::lock_guard lock(m_state->Mutex);
    Slot *slot = m_state->FindLocked(id);
    if (slot == nullptr || !slot->Plugged) return;
    slot->Input.push_back(std::move(report));
  }
  m_state->InputArrived.notify_all();
}

std::size_t SimulatedHidBinding::OpenHandleCount() const {
  const std::lock_guard lock(m_state->Mutex);
  return m_state->OpenHandles;
}

bool SimulatedHidBinding::Bound() const {
  return m_bound;
}

std::optional<std::vector<InterfaceRecord>> SimulatedHidBinding::Enumerate() {
  const std::lock_guard lock(m_state->Mutex);
  m_state->Log({"enumerate", {}, !m_enumerationFails, {}, 0});
  if (m_enumerationFails) return std::nullopt;
  std::vector<InterfaceRecord> records;
  for (const auto &slot : m_state->Slots) {
    if (!slot->Plugged) continue;
    const VirtualDevice &d = slot->Device;
    InterfaceRecord record;
    record.DeviceInstance = slot->Instance;
    record.DevicePath = PathPrefix + d.Id;
    record.Properties.ClassName = "HIDClass";
    record.Properties.DeviceDesc = Narrow(d.ProductName);
    record.Properties.EnumeratorName = "SIM";
    record.Properties.HardwareId = {"HID\\VID_" + framework::text::Hex4(d.VendorID) + "&PID_" +
                                    framework::text::Hex4(d.ProductID)};
    records.push_back(std::move(record));
  }
  return records;
}

std::unique_ptr<HidHandle> SimulatedHidBinding::Open(const std::string &path, OpenMode mode,
                                                     std::uint32_t &error) {
  const std::lock_guard lock(m_state->Mutex);
  const std::string prefix = PathPrefix;
  Slot *slot = path.starts_with(prefix) ? m_state->FindLocked(path.substr(prefix.size())) : nullptr;
  error = 0;
  if (slot == nullptr || !slot->Plugged) {
    error = ErrorNotFound;
  } else if (slot->Device.FailOpen || slot->Device.Access == VirtualDevice::Access::None) {
    error = ErrorAccessDenied;
  } else if (slot->Device.Access == VirtualDevice::Access::QueryOnly &&
             mode != OpenMode::QueryOnly) {
    error = ErrorAccessDenied;
  }
  m_state->Log({"open", path, error == 0, {}, static_cast<std::uint32_t>(mode)});
  if (error != 0) return nullptr;
  ++m_state->OpenHandles;
  return std::make_unique<Handle>(m_state, slot, mode);
}

} // namespace hid
