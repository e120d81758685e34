#pragma once

#include "hid/HidTypes.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace hid {

// How an interface path is opened (the platform's desired access).
enum class OpenMode {
  ReadWrite,      // synchronous handle for queries and feature reports
  QueryOnly,      // attributes, descriptor and product string only; feature reports refused
  OverlappedRead, // reader thread's handle for input reports
  OverlappedWrite,
};

// Parsed capabilities of one interface, standing in for the platform's preparsed data.
struct PreparsedData {
  HIDP_CAPS Caps;
};

enum class ReadStatus { Data, Timeout, Error };

struct ReadResult {
  ReadStatus Status = ReadStatus::Error;
  std::size_t Count = 0;   // bytes read, report ID first, when Status is Data
  std::uint32_t Error = 0; // platform error code when Status is Error
};

// An open handle on one interface. Closing is destruction.
//
// Byte conventions: byte 0 of every report buffer is the report ID, in both directions, and
// lengths include that byte; a 9-byte feature report with ID 1 is passed as 9 bytes, ID first.
// A buffer shorter than the interface's report is never overrun: at most `length` bytes are
// written. A feature read fails when the device answers with fewer bytes than the buffer or the
// interface's feature report holds, whichever is less.
class HidHandle {
public:
  virtual ~HidHandle() = default;

  virtual bool GetAttributes(HIDD_ATTRIBUTES &attributes) = 0;
  virtual std::shared_ptr<const PreparsedData> GetPreparsedData() = 0;
  // Up to `maxChars` UTF-16 units of the product string.
  virtual bool GetProductString(std::u16string &name, std::size_t maxChars) = 0;
  virtual bool GetFeature(std::uint8_t *buffer, std::size_t length) = 0;
  virtual bool SetFeature(const std::uint8_t *buffer, std::size_t length) = 0;
  // Input-buffer counts live with the handle, within 2..512; out-of-range requests fail.
  virtual bool SetNumInputBuffers(std::uint32_t count) = 0;
  virtual bool GetNumInputBuffers(std::uint32_t &count) = 0;
  // Waits at most `timeoutMs` for one input report.
  virtual ReadResult Read(std::uint8_t *buffer, std::size_t length, int timeoutMs) = 0;
  // Wakes a Read in progress on another thread; it answers Timeout.
  virtual void CancelIo() = 0;
};

// The platform's HID and device-setup services.
class HidBinding {
public:
  virtual ~HidBinding() = default;

  // False when the services cannot be bound; the controller then stays inert.
  virtual bool Bound() const = 0;

  // The present interfaces in the platform's member order; none when the enumeration itself
  // failed.
  virtual std::optional<std::vector<InterfaceRecord>> Enumerate() = 0;

  // None when the path cannot be opened with that access; `error` then says why.
  virtual std::unique_ptr<HidHandle> Open(const std::string &path, OpenMode mode,
                                          std::uint32_t &error) = 0;

  // Called whenever the device tree changed: on the GUI thread by the Linux binding (from
  // DeviceTreeEventReady()) and the simulated one (from plug and unplug), on its own notification
  // thread by the Windows binding. So a listener only posts; once this returns, the previous
  // listener is not running and will not be called again.
  void SetDeviceTreeListener(std::function<void()> listener) {
    const std::lock_guard lock(m_listenerMutex);
    m_listener = std::move(listener);
  }

  // A descriptor that becomes readable when the device tree changed (-1: none). The layer that
  // owns the event loop watches it and then calls DeviceTreeEventReady().
  virtual int DeviceTreeEventFd() const { return -1; }
  virtual void DeviceTreeEventReady() {}

  // Why Bound() is false, in words for the user (which library or function is missing); empty
  // when bound.
  virtual std::string UnboundReason() const { return {}; }

protected:
  void NotifyDeviceTreeChanged() const {
    const std::lock_guard lock(m_listenerMutex);
    if (m_listener) m_listener();
  }

private:
  // Recursive: a listener called on the GUI thread may replace itself.
  mutable std::recursive_mutex m_listenerMutex;
  std::function<void()> m_listener;
};

// Capabilities from parsed data; all zero without data.
inline HIDP_CAPS HidP_GetCaps(const PreparsedData *data) {
  return data ? data->Caps : HIDP_CAPS{};
}

} // namespace hid
