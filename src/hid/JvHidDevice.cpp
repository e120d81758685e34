#include "hid/JvHidDevice.h"

#include "hid/HidTrace.h"
#include "hid/JvHidDeviceController.h"
#include "hid/JvHidDeviceReadThread.h"

#include <cerrno>

namespace hid {

namespace {
constexpr std::uint32_t AttributesSize = 12;
constexpr std::size_t MaxProductChars = 254;
constexpr std::int32_t MinThreadSleepTime = 10;
constexpr std::int32_t MaxThreadSleepTime = 10000;
// What a read start answers on a device that is unplugged or not held.
constexpr std::uint32_t NoDeviceError = ENODEV;
} // namespace

std::atomic<std::uint64_t> TJvHidDevice::s_nextSerial{1};

TJvHidDevice::TJvHidDevice(std::shared_ptr<const TJvHidPnPInfo> pnpInfo,
                           TJvHidDeviceController &controller)
    : m_controller(&controller), m_binding(controller.Binding()), m_loop(controller.Loop()),
      m_trace(controller.Trace()), m_serial(s_nextSerial++), m_pnpInfo(std::move(pnpInfo)) {
  SetOnData(controller.OnDeviceData());
  m_onUnplug = controller.OnDeviceUnplug();
  m_onDataError = controller.OnDeviceDataError();
  OpenMainHandle();
  if (m_mainHandle) {
    m_attributes.Size = AttributesSize;
    if (!m_mainHandle->GetAttributes(m_attributes))
      throw EControllerError("device cannot be identified");
  }
}

TJvHidDevice::~TJvHidDevice() {
  const TJvHidDataEvent onData = m_onData;
  const TJvHidPlugEvent onUnplug = m_onUnplug;
  SetOnData({});
  m_onUnplug = {};
  CloseMain();
  CloseOverlapped(OverlappedMode::Read);
  CloseOverlapped(OverlappedMode::Write);
  m_preparsedData.reset();
  if (m_controller != nullptr) m_controller->CheckIn(*this, onData, onUnplug);
}

std::unique_ptr<HidHandle> TJvHidDevice::OpenPath(OpenMode mode) {
  std::uint32_t error = 0;
  return OpenPath(mode, error);
}

std::unique_ptr<HidHandle> TJvHidDevice::OpenPath(OpenMode mode, std::uint32_t &error) {
  return m_binding.Open(m_pnpInfo->DevicePath(), mode, error);
}

void TJvHidDevice::OpenMainHandle() {
  m_mainHandle = OpenPath(OpenMode::ReadWrite);
  m_readWriteAccess = m_mainHandle != nullptr;
  if (!m_mainHandle) m_mainHandle = OpenPath(OpenMode::QueryOnly);
}

bool TJvHidDevice::OpenMain() {
  if (CanAccess() && !m_mainHandle) {
    OpenMainHandle();
    if (m_mainHandle) {
      if (m_numInputBuffers != 0) m_mainHandle->SetNumInputBuffers(m_numInputBuffers);
      m_mainHandle->GetNumInputBuffers(m_numInputBuffers);
    }
  }
  return m_mainHandle != nullptr;
}

void TJvHidDevice::CloseMain() {
  m_mainHandle.reset();
  m_numInputBuffers = 0;
}

bool TJvHidDevice::OpenOverlapped(OverlappedMode mode) {
  if (!CanAccess()) {
    if (mode == OverlappedMode::Read) m_readOpenError = NoDeviceError;
    return false;
  }
  if (mode == OverlappedMode::Write) {
    if (!m_writeHandle) m_writeHandle = OpenPath(OpenMode::OverlappedWrite);
    return m_writeHandle != nullptr;
  }
  if (!m_readHandle) {
    std::shared_ptr<HidHandle> handle = OpenPath(OpenMode::OverlappedRead, m_readOpenError);
    if (handle) {
      if (m_numReadBuffers != 0) handle->SetNumInputBuffers(m_numReadBuffers);
      handle->GetNumInputBuffers(m_numReadBuffers);
    }
    const std::lock_guard lock(m_readHandleMutex);
    m_readHandle = std::move(handle);
  }
  return m_readHandle != nullptr;
}

void TJvHidDevice::CloseOverlapped(OverlappedMode mode) {
  if (mode == OverlappedMode::Write) {
    m_writeHandle.reset();
    return;
  }
  std::shared_ptr<HidHandle> handle;
  {
    const std::lock_guard lock(m_readHandleMutex);
    handle = std::move(m_readHandle);
    m_readHandle = nullptr;
  }
  // A reader blocked on it gives up; whoever drops the last reference closes it.
  if (handle) handle->CancelIo();
  m_numReadBuffers = 0;
}

std::shared_ptr<HidHandle> TJvHidDevice::ReadHandleForThread() const {
  const std::lock_guard lock(m_readHandleMutex);
  return m_readHandle;
}

void TJvHidDevice::TraceFeature(bool set, const void *report, std::uint32_t length, bool ok) {
  if (m_trace == nullptr) return;
  m_trace->Feature(m_pnpInfo->DevicePath(),
                   set ? HidTrace::FeatureOp::Set : HidTrace::FeatureOp::Get,
                   static_cast<const std::uint8_t *>(report), report == nullptr ? 0 : length, ok);
}

bool TJvHidDevice::SetFeature(void *report, std::uint32_t length) {
  const bool ok = report != nullptr && OpenMain() &&
                  m_mainHandle->SetFeature(static_cast<const std::uint8_t *>(report), length);
  TraceFeature(true, report, length, ok);
  return ok;
}

bool TJvHidDevice::GetFeature(void *report, std::uint32_t length) {
  const bool ok = report != nullptr && OpenMain() &&
                  m_mainHandle->GetFeature(static_cast<std::uint8_t *>(report), length);
  TraceFeature(false, report, length, ok);
  return ok;
}

std::shared_ptr<const PreparsedData> TJvHidDevice::GetPreparsedData() {
  if (!m_preparsedData && OpenMain()) {
    m_preparsedData = m_mainHandle->GetPreparsedData();
    CloseMain();
  }
  return m_preparsedData;
}

HIDP_CAPS TJvHidDevice::GetCaps() {
  return HidP_GetCaps(GetPreparsedData().get());
}

std::u16string TJvHidDevice::GetProductName() {
  if (m_productName.empty() && OpenMain()) {
    std::u16string name;
    if (m_mainHandle->GetProductString(name, MaxProductChars)) {
      name = name.substr(0, std::min(name.find(u'\0'), MaxProductChars));
      m_productName = std::move(name);
    }
    CloseMain();
  }
  return m_productName;
}

void TJvHidDevice::SetNumInputBuffers(std::uint32_t count) {
  if (count == m_numInputBuffers || !OpenMain()) return;
  m_mainHandle->SetNumInputBuffers(count);
  m_mainHandle->GetNumInputBuffers(m_numInputBuffers);
}

void TJvHidDevice::SetNumReadBuffers(std::uint32_t count) {
  if (count == m_numReadBuffers || !OpenOverlapped(OverlappedMode::Read)) return;
  m_readHandle->SetNumInputBuffers(count);
  m_readHandle->GetNumInputBuffers(m_numReadBuffers);
}

void TJvHidDevice::SetThreadSleepTime(std::int32_t milliseconds) {
  if (milliseconds >= MinThreadSleepTime && milliseconds <= MaxThreadSleepTime)
    m_threadSleepTime = milliseconds;
}

void TJvHidDevice::SetOnData(const TJvHidDataEvent &handler) {
  if (!handler) StopThread();
  m_onData = handler;
  StartThread();
}

void TJvHidDevice::StartThread() {
  if (!m_onData || !m_plugged || !m_checkedOut || !m_readWriteAccess || m_dataThread) return;
  const HIDP_CAPS caps = GetCaps();
  // Opened here, on the GUI thread: the reader only ever reads from it.
  OpenOverlapped(OverlappedMode::Read);
  m_dataThread = std::make_unique<TJvHidDeviceReadThread>(*this, caps.InputReportByteLength);
  m_dataThread->Start();
}

void TJvHidDevice::StopThread() {
  if (!m_dataThread) return;
  m_dataThread->WaitFor();
  m_dataThread.reset();
}

void TJvHidDevice::HandleUnplug() {
  CloseMain();
  CloseOverlapped(OverlappedMode::Read);
  CloseOverlapped(OverlappedMode::Write);
  // Only the first unplug is reported, even if a handler was assigned again meanwhile.
  const bool wasPlugged = m_plugged.exchange(false);
  // Cleared before the call: the holder may destroy the device from inside its handler.
  const TJvHidPlugEvent handler = m_onUnplug;
  m_onUnplug = {};
  if (handler && wasPlugged) handler(this);
}

} // namespace hid
