#include "hid/JvHidDeviceReadThread.h"

#include "framework/MessageLoop.h"
#include "hid/JvHidDevice.h"

#include <algorithm>

namespace hid {

void HandOver::Submit(std::function<void()> job) {
  {
    const std::lock_guard lock(m_mutex);
    m_pending = std::move(job);
    m_done = false;
  }
  // A stopper waiting in WaitFor serves it now rather than at its next periodic check.
  m_changed.notify_all();
}

void HandOver::WaitDone() {
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [&] { return m_done; });
}

void HandOver::Serve() {
  std::function<void()> job;
  {
    const std::lock_guard lock(m_mutex);
    if (!m_pending) return;
    job = std::move(m_pending);
    m_pending = nullptr;
    m_serving = true;
  }
  // The reader must be released even when a handler throws.
  struct Release {
    HandOver &self;
    ~Release() {
      {
        const std::lock_guard lock(self.m_mutex);
        self.m_serving = false;
        self.m_done = true;
      }
      self.m_changed.notify_all();
    }
  } release{*this};
  job();
}

void HandOver::ReleaseIfServing() {
  {
    const std::lock_guard lock(m_mutex);
    if (!m_serving) return;
    m_done = true;
  }
  m_changed.notify_all();
}

void HandOver::MarkFinished() {
  {
    const std::lock_guard lock(m_mutex);
    m_finished = true;
  }
  m_changed.notify_all();
}

bool HandOver::WaitPendingOrFinished(std::chrono::milliseconds timeout) {
  std::unique_lock lock(m_mutex);
  m_changed.wait_for(lock, timeout, [&] { return m_finished || m_pending != nullptr; });
  return m_finished;
}

TJvHidDeviceReadThread::TJvHidDeviceReadThread(TJvHidDevice &device, std::size_t inputReportLength)
    : m_device(device), m_buffer(inputReportLength, 0) {}

TJvHidDeviceReadThread::~TJvHidDeviceReadThread() {
  if (m_thread.joinable()) WaitFor();
}

void TJvHidDeviceReadThread::Start() {
  m_thread = std::thread([this] { Execute(); });
}

void TJvHidDeviceReadThread::Terminate() {
  {
    const std::lock_guard lock(m_mutex);
    m_terminated = true;
  }
  m_wake.notify_all();
  if (const auto handle = m_device.ReadHandleForThread()) handle->CancelIo();
}

void TJvHidDeviceReadThread::WaitFor() {
  Terminate();
  if (!m_thread.joinable()) return;
  m_handOver->ReleaseIfServing();
  for (;;) {
    m_handOver->Serve();
    // Checks at least once a second, whatever wakes us.
    if (m_handOver->WaitPendingOrFinished(std::chrono::seconds(1))) break;
  }
  m_thread.join();
}

bool TJvHidDeviceReadThread::Terminated() {
  const std::lock_guard lock(m_mutex);
  return m_terminated;
}

void TJvHidDeviceReadThread::Pause(std::chrono::milliseconds duration) {
  std::unique_lock lock(m_mutex);
  m_wake.wait_for(lock, duration, [&] { return m_terminated; });
}

void TJvHidDeviceReadThread::Deliver(std::function<void()> job) {
  m_handOver->Submit(std::move(job));
  m_device.m_loop.post([handOver = m_handOver] { handOver->Serve(); });
  m_handOver->WaitDone();
}

void TJvHidDeviceReadThread::Execute() {
  TJvHidDevice *const device = &m_device;
  while (!Terminated()) {
    const std::chrono::milliseconds slice(m_device.m_threadSleepTime.load());
    const auto handle = m_device.CanAccess() ? m_device.ReadHandleForThread() : nullptr;
    if (handle == nullptr) {
      // Every read start tries to open the read handle again; that changes the device, so it
      // runs on the GUI thread like everything else that does.
      Deliver([device] {
        if (device->OpenOverlapped(TJvHidDevice::OverlappedMode::Read)) return;
        const TJvHidDataErrorEvent handler = device->m_onDataError;
        if (handler) handler(device, device->m_readOpenError);
      });
      if (m_device.ReadHandleForThread() == nullptr) Pause(slice);
      continue;
    }
    std::fill(m_buffer.begin(), m_buffer.end(), 0);
    const ReadResult result =
        handle->Read(m_buffer.data(), m_buffer.size(), static_cast<int>(slice.count()));
    if (result.Status == ReadStatus::Timeout) continue;
    if (result.Status == ReadStatus::Error) {
      m_error = result.Error;
      Deliver([device, error = m_error] {
        const TJvHidDataErrorEvent handler = device->m_onDataError;
        if (handler) handler(device, error);
      });
      // Retrying at once would spin on a device that is gone.
      Pause(slice);
      continue;
    }
    m_numBytesRead = static_cast<std::uint32_t>(std::min(result.Count, m_buffer.size()));
    if (m_numBytesRead == 0) continue;
    // The handler gets its own copy: it stays valid even if the handler stops this thread.
    std::vector<std::uint8_t> report(m_buffer.begin(), m_buffer.begin() + m_numBytesRead);
    Deliver([device, report = std::move(report)] {
      const TJvHidDataEvent handler = device->m_onData;
      if (handler)
        handler(device, report[0], report.data() + 1,
                static_cast<std::uint16_t>(report.size() - 1));
    });
  }
  m_handOver->MarkFinished();
}

} // namespace hid
