#include "hid/JvHidDeviceController.h"

#include "framework/MessageLoop.h"
#include "hid/HidTrace.h"

#include <algorithm>
#include <unordered_set>

namespace hid {

TJvHidDeviceController::TJvHidDeviceController(HidBinding &binding, framework::MessageLoop &loop,
                                               HidTrace *trace)
    : m_binding(binding), m_loop(loop), m_trace(trace), m_bound(binding.Bound()) {
  if (!m_bound) return;
  m_binding.SetDeviceTreeListener([this, alive = std::weak_ptr<int>(m_alive)] {
    if (!alive.expired()) PostDeviceChange(0);
  });
  // The first scan always reports, even on a machine without HID devices.
  PostDeviceChange(-1);
}

TJvHidDeviceController::~TJvHidDeviceController() {
  m_onDeviceChange = {};
  m_onDeviceUnplug = {};
  m_onEnumerate = {};
  if (m_bound) m_binding.SetDeviceTreeListener(nullptr);
  m_alive.reset();
  // Entries stay in place while we walk them: a holder's unplug handler may destroy another
  // held device, and CheckIn then only blanks its entry.
  m_destroying = true;
  for (Entry &entry : m_deviceList) {
    TJvHidDevice *device = entry.Device;
    if (device == nullptr) continue;
    device->m_controller = nullptr;
    entry.Device = nullptr;
    if (device->CheckedOut())
      device->HandleUnplug();
    else
      entry.Owned.reset();
  }
  m_deviceList.clear();
  m_indexOfSerial.clear();
}

void TJvHidDeviceController::PostDeviceChange(std::intptr_t lParam) {
  m_loop.post([this, alive = std::weak_ptr<int>(m_alive), lParam] {
    if (!alive.expired()) NotifyWindowProc(WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, lParam);
  });
}

std::intptr_t TJvHidDeviceController::NotifyWindowProc(std::uint32_t message, std::uintptr_t wParam,
                                                       std::intptr_t lParam) {
  if (message != WM_DEVICECHANGE || wParam != DBT_DEVNODES_CHANGED) return 0;
  if (m_inDeviceChange) {
    // A handler pumped messages mid-scan: the tree may have changed after our enumeration, so
    // one more scan follows; a forced report is never downgraded.
    if (!m_notifyPending || m_pendingParam != -1) m_pendingParam = lParam;
    m_notifyPending = true;
    return 0;
  }
  const std::weak_ptr<int> alive = m_alive;
  std::intptr_t param = lParam;
  for (;;) {
    m_lastNotifyParam = param;
    m_inDeviceChange = true;
    m_notifyPending = false;
    DeviceChange();
    if (alive.expired()) return 0;
    m_inDeviceChange = false;
    if (!m_notifyPending) break;
    m_notifyPending = false;
    param = m_pendingParam;
  }
  return 0;
}

std::vector<std::unique_ptr<TJvHidDevice>> TJvHidDeviceController::ScanInterfaces() {
  std::vector<std::unique_ptr<TJvHidDevice>> found;
  if (!m_bound) return found;
  auto records = m_binding.Enumerate();
  if (!records) return found;
  found.reserve(records->size());
  for (InterfaceRecord &record : *records) {
    auto pnpInfo = std::make_shared<const TJvHidPnPInfo>(std::move(record));
    try {
      found.push_back(std::make_unique<TJvHidDevice>(std::move(pnpInfo), *this));
    } catch (const EControllerError &) {
      // Left out; the next scan tries again.
    }
  }
  return found;
}

std::ptrdiff_t TJvHidDeviceController::IndexOf(std::uint64_t serial) const {
  const auto found = m_indexOfSerial.find(serial);
  return found == m_indexOfSerial.end() ? -1 : static_cast<std::ptrdiff_t>(found->second);
}

void TJvHidDeviceController::Append(Entry entry) {
  m_indexOfSerial[entry.Serial] = m_deviceList.size();
  m_deviceList.push_back(std::move(entry));
}

void TJvHidDeviceController::EraseAt(std::size_t index) {
  m_indexOfSerial.erase(m_deviceList[index].Serial);
  m_deviceList.erase(m_deviceList.begin() + static_cast<std::ptrdiff_t>(index));
  for (std::size_t i = index; i < m_deviceList.size(); ++i)
    m_indexOfSerial[m_deviceList[i].Serial] = i;
  m_firstMaybeFree = std::min(m_firstMaybeFree, index);
}

void TJvHidDeviceController::ReplaceAt(std::size_t index, Entry entry) {
  m_indexOfSerial.erase(m_deviceList[index].Serial);
  m_indexOfSerial[entry.Serial] = index;
  m_deviceList[index] = std::move(entry);
  m_firstMaybeFree = std::min(m_firstMaybeFree, index);
}

void TJvHidDeviceController::DeviceChange() {
  ++m_scanCount;
  bool changed = m_lastNotifyParam == -1;
  std::vector<std::unique_ptr<TJvHidDevice>> found = ScanInterfaces();

  std::unordered_set<std::uint32_t> present;
  for (const auto &device : found)
    present.insert(device->PnPInfo().DeviceInstance());

  // Removal pass, from the end. Handlers may check devices in or out, so entries are found
  // again by serial after every event and never visited twice.
  std::unordered_set<std::uint64_t> visited;
  for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(m_deviceList.size()) - 1; i >= 0; --i) {
    i = std::min(i, static_cast<std::ptrdiff_t>(m_deviceList.size()) - 1);
    if (i < 0) break;
    TJvHidDevice *device = m_deviceList[static_cast<std::size_t>(i)].Device;
    const std::uint64_t serial = m_deviceList[static_cast<std::size_t>(i)].Serial;
    if (!visited.insert(serial).second) continue;
    if (device->Plugged() && present.contains(device->PnPInfo().DeviceInstance())) continue;
    changed = true;
    device->HandleUnplug();
    if (IndexOf(serial) < 0) continue; // its holder checked it in from the unplug handler
    RaiseRemoval(device);
    const std::ptrdiff_t index = IndexOf(serial);
    if (index < 0) continue;
    Entry &entry = m_deviceList[static_cast<std::size_t>(index)];
    if (!entry.Device->CheckedOut()) {
      std::unique_ptr<TJvHidDevice> gone = std::move(entry.Owned);
      EraseAt(static_cast<std::size_t>(index));
      gone->m_controller = nullptr;
    }
  }

  // Duplicate pass: interfaces we already list keep their old object.
  const auto listedPlugged = [this] {
    std::unordered_set<std::uint32_t> instances;
    for (const Entry &entry : m_deviceList)
      if (entry.Device->Plugged()) instances.insert(entry.Device->PnPInfo().DeviceInstance());
    return instances;
  };
  std::unordered_set<std::uint32_t> listed = listedPlugged();
  for (auto &device : found) {
    if (listed.contains(device->PnPInfo().DeviceInstance())) {
      device->m_controller = nullptr;
      device.reset();
    }
  }

  // Arrival pass. A handler that runs a nested scan may already have listed what is left here.
  const std::uint64_t scanCount = m_scanCount;
  for (auto &device : found) {
    if (!device) continue;
    if (m_scanCount != scanCount) {
      listed = listedPlugged();
      if (listed.contains(device->PnPInfo().DeviceInstance())) {
        device->m_controller = nullptr;
        device.reset();
        continue;
      }
    }
    TJvHidDevice *arrived = device.get();
    Append(Entry{arrived->Serial(), arrived, std::move(device)});
    changed = true;
    RaiseArrival(arrived);
  }
  found.clear();

  Recount();
  if (m_trace != nullptr) m_trace->Scan(m_deviceList.size(), changed);
  if (changed) RaiseDeviceChange();
}

void TJvHidDeviceController::Recount() {
  std::int32_t checkedOut = 0;
  std::int32_t unplugged = 0;
  for (const Entry &entry : m_deviceList) {
    checkedOut += entry.Device->CheckedOut() ? 1 : 0;
    unplugged += entry.Device->Plugged() ? 0 : 1;
  }
  m_freeCount = static_cast<std::int32_t>(m_deviceList.size()) - checkedOut;
  m_unpluggedCount = unplugged;
  m_heldCount = checkedOut - unplugged;
}

void TJvHidDeviceController::RaiseArrival(TJvHidDevice *device) {
  RaisePlugEvent(m_onArrival, device);
}

void TJvHidDeviceController::RaiseRemoval(TJvHidDevice *device) {
  RaisePlugEvent(m_onRemoval, device);
}

void TJvHidDeviceController::RaisePlugEvent(const TJvHidPlugEvent &event, TJvHidDevice *device) {
  const TJvHidPlugEvent handler = event;
  if (!handler) return;
  const std::uint64_t serial = device->Serial();
  device->m_reporting = true;
  handler(device);
  // The handler may have destroyed the device: only a device still listed is touched.
  if (const std::ptrdiff_t index = IndexOf(serial); index >= 0)
    m_deviceList[static_cast<std::size_t>(index)].Device->m_reporting = false;
}

void TJvHidDeviceController::RaiseDeviceChange() {
  const TNotifyEvent handler = m_onDeviceChange;
  if (handler) handler(this);
}

bool TJvHidDeviceController::TryCheckOut(std::unique_ptr<TJvHidDevice> &device, std::size_t index,
                                         bool allowed) {
  Entry &entry = m_deviceList[index];
  if (!allowed || entry.Device->CheckedOut()) return false;
  entry.Device->m_checkedOut = true;
  ++m_heldCount;
  --m_freeCount;
  device = std::move(entry.Owned);
  device->StartThread();
  return true;
}

bool TJvHidDeviceController::CheckOutAt(std::int32_t index, std::unique_ptr<TJvHidDevice> &device) {
  // A device already in the out parameter is checked in first, before the list is looked at.
  device.reset();
  if (index < 0 || index >= DeviceCount()) return false;
  return TryCheckOut(device, static_cast<std::size_t>(index), true);
}

bool TJvHidDeviceController::CheckOutNext(std::unique_ptr<TJvHidDevice> &device) {
  device.reset();
  for (std::size_t i = m_firstMaybeFree; i < m_deviceList.size(); ++i)
    if (TryCheckOut(device, i, true)) {
      m_firstMaybeFree = i + 1;
      return true;
    }
  m_firstMaybeFree = m_deviceList.size();
  return false;
}

void TJvHidDeviceController::CheckIn(TJvHidDevice &device, const TJvHidDataEvent &onData,
                                     const TJvHidPlugEvent &onUnplug) noexcept {
  const std::ptrdiff_t index = IndexOf(device.Serial());
  if (index < 0) return;
  const auto position = static_cast<std::size_t>(index);
  if (m_destroying) {
    m_indexOfSerial.erase(m_deviceList[position].Serial);
    m_deviceList[position].Device = nullptr;
    m_deviceList[position].Serial = 0;
    return;
  }
  if (!device.Plugged()) {
    EraseAt(position);
    --m_unpluggedCount;
    return;
  }
  std::unique_ptr<TJvHidDevice> replacement;
  try {
    replacement = std::make_unique<TJvHidDevice>(device.m_pnpInfo, *this);
  } catch (...) {
    // The interface no longer identifies itself: drop the entry rather than keep a destroyed
    // object listed; the next scan lists the interface again if it recovers.
  }
  if (!replacement) {
    EraseAt(position);
    if (device.CheckedOut())
      --m_heldCount;
    else
      --m_freeCount;
    return;
  }
  replacement->SetOnData(onData);
  replacement->m_onUnplug = onUnplug;
  replacement->SetThreadSleepTime(device.ThreadSleepTime());
  TJvHidDevice *fresh = replacement.get();
  ReplaceAt(position, Entry{fresh->Serial(), fresh, std::move(replacement)});
  if (device.CheckedOut()) {
    --m_heldCount;
    ++m_freeCount;
  }
}

std::vector<TJvHidDevice *> TJvHidDeviceController::DeviceList() const {
  std::vector<TJvHidDevice *> devices;
  devices.reserve(m_deviceList.size());
  for (const Entry &entry : m_deviceList)
    devices.push_back(entry.Device);
  return devices;
}

void TJvHidDeviceController::SetOnDeviceChange(const TNotifyEvent &handler) {
  if (handler == m_onDeviceChange) return;
  m_onDeviceChange = handler;
  if (!m_loading) DeviceChange();
}

void TJvHidDeviceController::SetOnDeviceData(const TJvHidDataEvent &handler) {
  if (handler == m_onDeviceData) return;
  // Stopping a reader serves its pending events, whose handlers may change the list.
  std::vector<std::uint64_t> serials;
  for (const Entry &entry : m_deviceList)
    serials.push_back(entry.Serial);
  const TJvHidDataEvent previous = m_onDeviceData;
  for (const std::uint64_t serial : serials) {
    const std::ptrdiff_t index = IndexOf(serial);
    if (index < 0) continue;
    TJvHidDevice *device = m_deviceList[static_cast<std::size_t>(index)].Device;
    if (device->OnData() == previous) device->SetOnData(handler);
  }
  m_onDeviceData = handler;
}

void TJvHidDeviceController::SetOnDeviceDataError(const TJvHidDataErrorEvent &handler) {
  if (handler == m_onDeviceDataError) return;
  for (const Entry &entry : m_deviceList)
    if (entry.Device->OnDataError() == m_onDeviceDataError) entry.Device->SetOnDataError(handler);
  m_onDeviceDataError = handler;
}

void TJvHidDeviceController::SetOnDeviceUnplug(const TJvHidPlugEvent &handler) {
  if (handler == m_onDeviceUnplug) return;
  for (const Entry &entry : m_deviceList)
    if (entry.Device->OnUnplug() == m_onDeviceUnplug) entry.Device->SetOnUnplug(handler);
  m_onDeviceUnplug = handler;
}

void TJvHidDeviceController::SetDevThreadSleepTime(std::int32_t value) {
  if (value == m_devThreadSleepTime) return;
  for (const Entry &entry : m_deviceList)
    if (entry.Device->ThreadSleepTime() == m_devThreadSleepTime)
      entry.Device->SetThreadSleepTime(value);
  m_devThreadSleepTime = value;
}

} // namespace hid
