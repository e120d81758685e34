#pragma once

#include "framework/Delegate.h"
#include "hid/HidBinding.h"
#include "hid/JvHidPnPInfo.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

namespace framework {
class MessageLoop;
}

namespace hid {

class HidTrace;
class TJvHidDevice;
class TJvHidDeviceController;
class TJvHidDeviceReadThread;

using TJvHidPlugEvent = framework::Delegate<void(TJvHidDevice *HidDev)>;
using TJvHidDataEvent = framework::Delegate<void(TJvHidDevice *HidDev, std::uint8_t ReportID,
                                                 const std::uint8_t *Data, std::uint16_t Size)>;
using TJvHidDataErrorEvent = framework::Delegate<void(TJvHidDevice *HidDev, std::uint32_t Error)>;

class EControllerError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// One HID interface found by the controller's last scan. Only the controller creates devices;
// a user checks one out and checks it in by destroying it.
//
// Lifetime: the controller's binding, message loop and trace must outlive every device, also
// the ones still held after the controller is gone.
class TJvHidDevice {
public:
  // Opens the path and reads the attributes; throws EControllerError "device cannot be
  // identified" when an opened interface will not say who it is.
  TJvHidDevice(std::shared_ptr<const TJvHidPnPInfo> pnpInfo, TJvHidDeviceController &controller);
  // A check-in when the device is still listed: a fresh object takes its slot.
  virtual ~TJvHidDevice();
  TJvHidDevice(const TJvHidDevice &) = delete;
  TJvHidDevice &operator=(const TJvHidDevice &) = delete;

  // Feature reports: byte 0 is the report ID in both directions, `length` includes it. The
  // buffer is passed through unchanged and never written beyond `length`.
  bool SetFeature(void *report, std::uint32_t length);
  bool GetFeature(void *report, std::uint32_t length);

  std::shared_ptr<const PreparsedData> GetPreparsedData();
  HIDP_CAPS GetCaps();
  std::u16string GetProductName();
  void SetNumInputBuffers(std::uint32_t count);
  void SetNumReadBuffers(std::uint32_t count);
  std::uint32_t NumInputBuffers() const { return m_numInputBuffers; }
  std::uint32_t NumReadBuffers() const { return m_numReadBuffers; }

  std::int32_t ThreadSleepTime() const { return m_threadSleepTime; }
  void SetThreadSleepTime(std::int32_t milliseconds); // 10..10000, else ignored

  const TJvHidDataEvent &OnData() const { return m_onData; }
  void SetOnData(const TJvHidDataEvent &handler); // starts or stops the reader thread
  const TJvHidDataErrorEvent &OnDataError() const { return m_onDataError; }
  void SetOnDataError(const TJvHidDataErrorEvent &handler) { m_onDataError = handler; }
  const TJvHidPlugEvent &OnUnplug() const { return m_onUnplug; }
  void SetOnUnplug(const TJvHidPlugEvent &handler) { m_onUnplug = handler; }

  // The controller's call when the interface was not found by a scan.
  void HandleUnplug();

  const HIDD_ATTRIBUTES &Attributes() const { return m_attributes; }
  const TJvHidPnPInfo &PnPInfo() const { return *m_pnpInfo; }
  TJvHidDeviceController *Controller() const { return m_controller; }
  bool Plugged() const { return m_plugged; }
  bool CheckedOut() const { return m_checkedOut; }
  bool Reporting() const { return m_reporting; }
  bool ReadWriteAccess() const { return m_readWriteAccess; }
  bool HasMainHandle() const { return m_mainHandle != nullptr; }
  bool ThreadRunning() const { return m_dataThread != nullptr; }
  // Unique for the life of the process; the controller finds entries by it, never by address.
  std::uint64_t Serial() const { return m_serial; }

private:
  friend class TJvHidDeviceController;
  friend class TJvHidDeviceReadThread;
  enum class OverlappedMode { Read, Write };

  bool CanAccess() const { return m_plugged && (m_checkedOut || m_reporting); }
  std::unique_ptr<HidHandle> OpenPath(OpenMode mode);
  std::unique_ptr<HidHandle> OpenPath(OpenMode mode, std::uint32_t &error);
  void OpenMainHandle();
  bool OpenMain();
  void CloseMain();
  bool OpenOverlapped(OverlappedMode mode);
  void CloseOverlapped(OverlappedMode mode);
  void StartThread();
  void StopThread();
  // The reader thread's view of the read handle.
  std::shared_ptr<HidHandle> ReadHandleForThread() const;
  void TraceFeature(bool set, const void *report, std::uint32_t length, bool ok);

  static std::atomic<std::uint64_t> s_nextSerial;

  TJvHidDeviceController *m_controller;
  HidBinding &m_binding;
  framework::MessageLoop &m_loop;
  HidTrace *m_trace;
  const std::uint64_t m_serial;
  std::atomic<bool> m_plugged = true;
  std::atomic<bool> m_checkedOut = false;
  std::atomic<bool> m_reporting = false;
  std::unique_ptr<HidHandle> m_mainHandle;
  // Shared with the reader thread so that closing never pulls a handle from under its Read.
  mutable std::mutex m_readHandleMutex;
  std::shared_ptr<HidHandle> m_readHandle;
  std::unique_ptr<HidHandle> m_writeHandle;
  HIDD_ATTRIBUTES m_attributes;
  std::shared_ptr<const TJvHidPnPInfo> m_pnpInfo;
  std::u16string m_productName;
  std::shared_ptr<const PreparsedData> m_preparsedData;
  std::uint32_t m_numInputBuffers = 0;
  std::uint32_t m_numReadBuffers = 0;
  std::atomic<std::int32_t> m_threadSleepTime = 100;
  TJvHidDataEvent m_onData;
  TJvHidDataErrorEvent m_onDataError;
  TJvHidPlugEvent m_onUnplug;
  bool m_readWriteAccess = false;
  // Why the read handle could not be opened; what the reader reports through OnDataError.
  std::uint32_t m_readOpenError = 0;
  std::unique_ptr<TJvHidDeviceReadThread> m_dataThread;
};

} // namespace hid
