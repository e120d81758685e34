#include "hid/HidTrace.h"
#include "hid/JvHidDeviceController.h"
#include "hid/SimulatedHidBinding.h"

#include "common/SimulatedDevices.h"
#include "common/TestMessageLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>

namespace {

using hid::SimulatedHidBinding;
using hid::TJvHidDevice;
using hid::TJvHidDeviceController;

constexpr int DeviceKinds = 6;

// Built by appending: gcc 12 at -O3 warns falsely (-Wrestrict) on "literal" + std::string&&.
std::string DeviceId(int kind) {
  std::string id = "d";
  id += std::to_string(kind);
  return id;
}

// Drives one random sequence and checks the controller's bookkeeping after every step.
class RandomRun final : public hid::HidTrace {
public:
  explicit RandomRun(unsigned seed) : m_random(seed) {
    for (int i = 0; i < DeviceKinds; ++i) {
      m_binding.Add(fakes::HidInterface(DeviceId(i)), Chance(2));
    }
    m_controller = std::make_unique<TJvHidDeviceController>(m_binding, m_loop, this);
    m_controller->Loading();
    m_controller->SetOnDeviceChange(ChangeHandler(0));
    m_controller->SetOnArrival(PlugHandler(Kind::Arrival));
    m_controller->SetOnRemoval(PlugHandler(Kind::Removal));
    m_controller->SetOnDeviceUnplug(PlugHandler(Kind::Unplug));
    m_controller->Loaded();
  }

  ~RandomRun() override {
    m_controller.reset();
    for (const auto &device : m_held)
      if (device->Plugged() || device->Controller() != nullptr)
        m_error = "a held device survived its controller plugged";
    m_held.clear();
  }

  // Empty when everything holds.
  std::string Step() {
    const int op = Pick(14);
    const std::string id = DeviceId(Pick(DeviceKinds));
    switch (op) {
    case 0:
    case 1:
      m_binding.Plug(id);
      break;
    case 2:
    case 3:
      m_binding.Unplug(id);
      break;
    case 4:
    case 5:
      m_loop.RunPending();
      break;
    case 6:
      m_controller->DeviceChange();
      CheckScanResult();
      break;
    case 7: {
      std::unique_ptr<TJvHidDevice> device;
      const int index = Pick(m_controller->DeviceCount() + 2) - 1;
      const bool wasFree =
          index >= 0 && index < m_controller->DeviceCount() &&
          !m_controller->DeviceList()[static_cast<std::size_t>(index)]->CheckedOut();
      if (m_controller->CheckOutAt(index, device) != wasFree) return "CheckOutAt answered wrongly";
      if (device) m_held.push_back(std::move(device));
      break;
    }
    case 8: {
      std::unique_ptr<TJvHidDevice> device;
      const bool anyFree = m_controller->FreeCount() > 0;
      if (m_controller->CheckOutNext(device) != anyFree) return "CheckOutNext answered wrongly";
      if (device) m_held.push_back(std::move(device));
      break;
    }
    case 9:
    case 10:
      if (!m_held.empty()) m_held.erase(m_held.begin() + Pick(static_cast<int>(m_held.size())));
      break;
    case 11:
      // Handler changes; a new change handler scans at once.
      switch (Pick(4)) {
      case 0:
        m_controller->SetOnDeviceChange(Chance(3) ? TNotify() : ChangeHandler(Pick(2)));
        break;
      case 1:
        m_controller->SetOnArrival(Chance(3) ? hid::TJvHidPlugEvent() : PlugHandler(Kind::Arrival));
        break;
      case 2:
        m_controller->SetOnRemoval(Chance(3) ? hid::TJvHidPlugEvent() : PlugHandler(Kind::Removal));
        break;
      default:
        m_controller->SetOnDeviceUnplug(Chance(3) ? hid::TJvHidPlugEvent()
                                                  : PlugHandler(Kind::Unplug));
      }
      break;
    case 12:
      m_binding.Find(id)->FailAttributes = Chance(3);
      break;
    default:
      m_checkInOnRemoval = Chance(2);
      m_checkOutOnArrival = Chance(3);
      m_controller->SetDevThreadSleepTime(Pick(3) == 0 ? 5 : 10 + Pick(200));
      break;
    }
    if (!m_error.empty()) return m_error;
    return CheckInvariants();
  }

  void Scan(std::size_t devices, bool changed) override {
    if (m_phase == Phase::ChangePending) Fail("a change event went missing");
    if (devices != static_cast<std::size_t>(m_controller->DeviceCount()))
      Fail("scan traced a wrong device count");
    m_phase = changed && m_controller->OnDeviceChange() ? Phase::ChangePending : Phase::Idle;
    m_lastIndex = -1;
    m_lastRemovalIndex = std::numeric_limits<std::ptrdiff_t>::max();
  }
  void Feature(const std::string &, FeatureOp, const std::uint8_t *, std::size_t, bool) override {}
  const std::string &Error() const { return m_error; }

private:
  enum class Kind { Arrival, Removal, Unplug };
  enum class Phase { Idle, Removals, Arrivals, ChangePending };
  using TNotify = hid::TNotifyEvent;

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
  bool Chance(int oneIn) { return Pick(oneIn) == 0; }
  void Fail(const std::string &what) {
    if (m_error.empty()) m_error = what;
  }

  std::ptrdiff_t IndexOf(const TJvHidDevice *device) const {
    const auto list = m_controller->DeviceList();
    const auto it = std::find(list.begin(), list.end(), device);
    return it == list.end() ? -1 : it - list.begin();
  }

  TNotify ChangeHandler(int variant) {
    static const char tags[2] = {};
    return TNotify::fromFunction(
        [this](TJvHidDeviceController *) {
          if (m_phase != Phase::ChangePending) Fail("change event without a changed scan");
          m_phase = Phase::Idle;
        },
        &tags[variant]);
  }

  hid::TJvHidPlugEvent PlugHandler(Kind kind) {
    static const char tags[3] = {};
    return hid::TJvHidPlugEvent::fromFunction([this, kind](TJvHidDevice *d) { OnPlug(kind, d); },
                                              &tags[static_cast<int>(kind)]);
  }

  void OnPlug(Kind kind, TJvHidDevice *device) {
    if (!m_controller) { // being destroyed: held devices are unplugged
      if (kind != Kind::Unplug || device->Controller() != nullptr)
        Fail("unexpected event while the controller is destroyed");
      return;
    }
    const std::ptrdiff_t index = IndexOf(device);
    if (index < 0) Fail("event for a device that is not listed");
    if (kind == Kind::Unplug) {
      if (!m_unplugged.insert(device->Serial()).second)
        Fail("OnUnplug raised twice for one device");
      if (m_phase == Phase::Arrivals || m_phase == Phase::ChangePending)
        Fail("unplug after an arrival");
      if (index > m_lastRemovalIndex) Fail("removals not from the end of the list");
      if (m_controller->OnRemoval()) m_pendingUnplug = device->Serial();
      return;
    }
    if (kind == Kind::Removal) {
      if (device->Plugged() || !device->Reporting()) Fail("removal of a plugged device");
      if (m_phase == Phase::Arrivals || m_phase == Phase::ChangePending)
        Fail("removal after an arrival");
      if (index > m_lastRemovalIndex ||
          (m_pendingUnplug != 0 && m_pendingUnplug != device->Serial()))
        Fail("removal out of order");
      m_pendingUnplug = 0;
      m_lastRemovalIndex = index;
      m_phase = Phase::Removals;
      if (m_checkInOnRemoval) {
        const auto it = std::find_if(m_held.begin(), m_held.end(),
                                     [&](const auto &held) { return held.get() == device; });
        if (it != m_held.end()) m_held.erase(it);
      }
      return;
    }
    if (!device->Plugged() || !device->Reporting() || device->CheckedOut())
      Fail("arrival of a device that is not new");
    if (m_phase == Phase::ChangePending || index <= m_lastIndex) Fail("arrival out of order");
    if (m_pendingUnplug != 0) Fail("unplug without removal");
    m_lastIndex = index;
    m_phase = Phase::Arrivals;
    if (m_checkOutOnArrival) {
      std::unique_ptr<TJvHidDevice> held;
      if (!m_controller->CheckOutAt(static_cast<std::int32_t>(index), held))
        Fail("a new device could not be checked out");
      m_held.push_back(std::move(held));
    }
  }

  // After a direct scan the list mirrors the machine.
  void CheckScanResult() {
    for (int i = 0; i < DeviceKinds; ++i) {
      const std::string id = DeviceId(i);
      int listed = 0;
      for (const TJvHidDevice *d : m_controller->DeviceList())
        listed += d->Plugged() && d->PnPInfo().DevicePath() == m_binding.PathOf(id) ? 1 : 0;
      const bool identifiable = !m_binding.Find(id)->FailAttributes;
      if (m_binding.IsPlugged(id) ? (identifiable ? listed != 1 : listed > 1) : listed != 0)
        Fail("list does not mirror the machine after a scan: " + id);
    }
  }

  std::string CheckInvariants() {
    int free = 0, held = 0, unplugged = 0;
    std::set<std::uint64_t> serials;
    std::set<std::uint32_t> instances;
    for (const TJvHidDevice *d : m_controller->DeviceList()) {
      if (!serials.insert(d->Serial()).second) return "a device is listed twice";
      if (d->Plugged() && !instances.insert(d->PnPInfo().DeviceInstance()).second)
        return "an interface is listed twice";
      if (d->Controller() != m_controller.get()) return "a listed device lost its controller";
      if (d->Reporting()) return "a device was left reporting";
      if (!d->CheckedOut())
        ++free;
      else if (d->Plugged())
        ++held;
      if (!d->Plugged()) {
        ++unplugged;
        if (!d->CheckedOut()) return "an unplugged device is free";
      }
      const bool ours =
          std::any_of(m_held.begin(), m_held.end(), [&](const auto &h) { return h.get() == d; });
      if (d->CheckedOut() != ours) return "a checked-out device has no holder (or the reverse)";
    }
    if (m_held.size() != static_cast<std::size_t>(held + unplugged))
      return "a held device is not listed";
    if (free != m_controller->FreeCount() || held != m_controller->HeldCount() ||
        unplugged != m_controller->UnpluggedCount()) {
      std::ostringstream out;
      out << "counts " << m_controller->FreeCount() << "/" << m_controller->HeldCount() << "/"
          << m_controller->UnpluggedCount() << " but list " << free << "/" << held << "/"
          << unplugged;
      return out.str();
    }
    if (m_phase == Phase::ChangePending) return "a changed scan raised no change event";
    if (m_pendingUnplug != 0) return "unplug without removal";
    return {};
  }

  std::mt19937 m_random;
  SimulatedHidBinding m_binding;
  TestMessageLoop m_loop;
  std::unique_ptr<TJvHidDeviceController> m_controller;
  std::vector<std::unique_ptr<TJvHidDevice>> m_held;
  std::set<std::uint64_t> m_unplugged;
  Phase m_phase = Phase::Idle;
  std::ptrdiff_t m_lastIndex = -1;
  std::ptrdiff_t m_lastRemovalIndex = std::numeric_limits<std::ptrdiff_t>::max();
  std::uint64_t m_pendingUnplug = 0;
  bool m_checkInOnRemoval = false;
  bool m_checkOutOnArrival = false;
  std::string m_error;
};

TEST(ControllerRandom, BookkeepingAndEventOrderHoldUnderRandomSequences) {
  constexpr unsigned Sequences = 3000;
  constexpr int Steps = 50;
  for (unsigned seed = 1; seed <= Sequences; ++seed) {
    std::string error;
    int step = 0;
    {
      RandomRun run(seed);
      for (; step < Steps && error.empty(); ++step)
        error = run.Step();
    }
    ASSERT_TRUE(error.empty()) << "seed " << seed << ", step " << step << ": " << error;
  }
}

} // namespace
