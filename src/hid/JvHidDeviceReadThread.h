#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace hid {

class TJvHidDevice;

// Runs one job at a time on the GUI thread for the reader thread and lets the reader block
// until it has run. The GUI side is woken through the message loop; whoever stops the reader
// serves the pending job itself, so a reader blocked here can always finish.
class HandOver {
public:
  // Reader side: queues the job, then blocks until it ran.
  void Submit(std::function<void()> job);
  void WaitDone();
  // GUI side: runs the pending job, if any.
  void Serve();
  // GUI side: a stop issued from inside the job being served must not wait for that job.
  void ReleaseIfServing();
  void MarkFinished();
  // GUI side: waits until a job is pending or the reader has finished, at most `timeout`.
  bool WaitPendingOrFinished(std::chrono::milliseconds timeout);

private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::function<void()> m_pending;
  bool m_serving = false;
  bool m_done = true;
  bool m_finished = false;
};

// Reads input reports of one held device and hands them to the GUI thread.
class TJvHidDeviceReadThread {
public:
  TJvHidDeviceReadThread(TJvHidDevice &device, std::size_t inputReportLength);
  // Stops and joins; pending jobs are served on the calling (GUI) thread meanwhile.
  ~TJvHidDeviceReadThread();
  TJvHidDeviceReadThread(const TJvHidDeviceReadThread &) = delete;
  TJvHidDeviceReadThread &operator=(const TJvHidDeviceReadThread &) = delete;

  void Start();
  void Terminate();
  // Terminates and waits for the end, serving hand-overs while waiting.
  void WaitFor();

private:
  void Execute();
  void Deliver(std::function<void()> job);
  bool Terminated();
  void Pause(std::chrono::milliseconds duration);

  TJvHidDevice &m_device;
  std::uint32_t m_error = 0;
  std::uint32_t m_numBytesRead = 0;
  std::vector<std::uint8_t> m_buffer;
  const std::shared_ptr<HandOver> m_handOver = std::make_shared<HandOver>();
  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_terminated = false;
  std::thread m_thread;
};

} // namespace hid
