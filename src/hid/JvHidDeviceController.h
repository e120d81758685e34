#pragma once

#include "framework/Delegate.h"
#include "hid/HidBinding.h"
#include "hid/JvHidDevice.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace framework {
class MessageLoop;
}

namespace hid {

class HidTrace;
class TJvHidDeviceController;

using TJvHidEnumerateEvent = framework::Delegate<bool(TJvHidDevice *HidDev, std::int32_t Idx)>;
using TNotifyEvent = framework::Delegate<void(TJvHidDeviceController *Sender)>;

// Keeps one device object per present HID interface, re-scans when the device tree changes and
// lends devices out: a user checks one out and checks it in by destroying it.
class TJvHidDeviceController {
public:
  static constexpr std::uint32_t WM_DEVICECHANGE = 0x219;
  static constexpr std::uintptr_t DBT_DEVNODES_CHANGED = 7;

  // Inert (no scan ever finds anything) when the binding is not bound. The binding, the loop and
  // the trace must outlive the controller and every device it lent out.
  TJvHidDeviceController(HidBinding &binding, framework::MessageLoop &loop,
                         HidTrace *trace = nullptr);
  // Destroys the free devices; held ones are unplugged and stay with their holders.
  ~TJvHidDeviceController();
  TJvHidDeviceController(const TJvHidDeviceController &) = delete;
  TJvHidDeviceController &operator=(const TJvHidDeviceController &) = delete;

  // The hidden window's procedure; posted messages arrive here.
  std::intptr_t NotifyWindowProc(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam);
  // Full re-scan; raises the events.
  void DeviceChange();
  // Posts a device-change notification that reports even when nothing changed, like the first.
  void PostForcedDeviceChange() { PostDeviceChange(-1); }

  bool CheckOutAt(std::int32_t index, std::unique_ptr<TJvHidDevice> &device);
  bool CheckOutNext(std::unique_ptr<TJvHidDevice> &device);

  std::int32_t FreeCount() const { return m_freeCount; }
  std::int32_t HeldCount() const { return m_heldCount; }
  std::int32_t UnpluggedCount() const { return m_unpluggedCount; }
  std::int32_t DeviceCount() const { return static_cast<std::int32_t>(m_deviceList.size()); }
  std::vector<TJvHidDevice *> DeviceList() const;
  bool InDeviceChange() const { return m_inDeviceChange; }
  std::intptr_t LastNotifyParam() const { return m_lastNotifyParam; }
  bool Inert() const { return !m_bound; }

  // Marks loading from a stored description, during which OnDeviceChange does not scan.
  void Loading() { m_loading = true; }
  void Loaded() { m_loading = false; }

  std::int32_t DevThreadSleepTime() const { return m_devThreadSleepTime; }
  void SetDevThreadSleepTime(std::int32_t value);
  std::string Version() const { return "1.0.34"; }
  void SetVersion(const std::string &value) { m_versionSink = value; }

  const TJvHidPlugEvent &OnArrival() const { return m_onArrival; }
  void SetOnArrival(const TJvHidPlugEvent &handler) { m_onArrival = handler; }
  const TJvHidEnumerateEvent &OnEnumerate() const { return m_onEnumerate; }
  void SetOnEnumerate(const TJvHidEnumerateEvent &handler) { m_onEnumerate = handler; }
  const TNotifyEvent &OnDeviceChange() const { return m_onDeviceChange; }
  void SetOnDeviceChange(const TNotifyEvent &handler);
  const TJvHidDataEvent &OnDeviceData() const { return m_onDeviceData; }
  void SetOnDeviceData(const TJvHidDataEvent &handler);
  const TJvHidDataErrorEvent &OnDeviceDataError() const { return m_onDeviceDataError; }
  void SetOnDeviceDataError(const TJvHidDataErrorEvent &handler);
  const TJvHidPlugEvent &OnDeviceUnplug() const { return m_onDeviceUnplug; }
  void SetOnDeviceUnplug(const TJvHidPlugEvent &handler);
  const TJvHidPlugEvent &OnRemoval() const { return m_onRemoval; }
  void SetOnRemoval(const TJvHidPlugEvent &handler) { m_onRemoval = handler; }

  HidBinding &Binding() const { return m_binding; }
  framework::MessageLoop &Loop() const { return m_loop; }
  HidTrace *Trace() const { return m_trace; }

private:
  friend class TJvHidDevice;

  // Free entries own their device; a held one belongs to its holder.
  struct Entry {
    std::uint64_t Serial = 0;
    TJvHidDevice *Device = nullptr;
    std::unique_ptr<TJvHidDevice> Owned;
  };

  std::vector<std::unique_ptr<TJvHidDevice>> ScanInterfaces();
  bool TryCheckOut(std::unique_ptr<TJvHidDevice> &device, std::size_t index, bool allowed);
  std::ptrdiff_t IndexOf(std::uint64_t serial) const;
  // Every change of the list goes through these, which keep the two indexes below.
  void Append(Entry entry);
  void EraseAt(std::size_t index);
  void ReplaceAt(std::size_t index, Entry entry);
  void RaiseArrival(TJvHidDevice *device);
  void RaiseRemoval(TJvHidDevice *device);
  // Calls a copy: the handler may assign the event anew.
  void RaisePlugEvent(const TJvHidPlugEvent &event, TJvHidDevice *device);
  void RaiseDeviceChange();
  void Recount();
  void PostDeviceChange(std::intptr_t lParam);
  // A listed device being destroyed by its holder.
  void CheckIn(TJvHidDevice &device, const TJvHidDataEvent &onData,
               const TJvHidPlugEvent &onUnplug) noexcept;

  HidBinding &m_binding;
  framework::MessageLoop &m_loop;
  HidTrace *const m_trace;
  const bool m_bound;
  // Posted messages check it so that they never reach a destroyed controller.
  std::shared_ptr<int> m_alive = std::make_shared<int>(0);
  TJvHidPlugEvent m_onArrival;
  TNotifyEvent m_onDeviceChange;
  TJvHidEnumerateEvent m_onEnumerate;
  TJvHidDataEvent m_onDeviceData;
  TJvHidDataErrorEvent m_onDeviceDataError;
  TJvHidPlugEvent m_onDeviceUnplug;
  TJvHidPlugEvent m_onRemoval;
  std::int32_t m_devThreadSleepTime = 100;
  std::string m_versionSink;
  std::vector<Entry> m_deviceList;
  // With a hundred thousand interfaces a search through the list per device makes a scan, the
  // claim of every device and their release quadratic.
  std::unordered_map<std::uint64_t, std::size_t> m_indexOfSerial;
  // Every entry before it is checked out.
  std::size_t m_firstMaybeFree = 0;
  std::int32_t m_freeCount = 0;
  std::int32_t m_heldCount = 0;
  std::int32_t m_unpluggedCount = 0;
  bool m_inDeviceChange = false;
  bool m_notifyPending = false;
  std::intptr_t m_pendingParam = 0;
  std::intptr_t m_lastNotifyParam = 0;
  bool m_loading = false;
  bool m_destroying = false;
  std::uint64_t m_scanCount = 0;
};

} // namespace hid
