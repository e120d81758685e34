#pragma once

#include <chrono>
#include <functional>

namespace framework {

// The application's message loop as plain C++ code sees it. The program implements it over Qt
// (QtMessageLoop); tests implement it directly so that they decide when posted messages run.
class MessageLoop {
public:
  virtual ~MessageLoop() = default;

  // Queues a message for the GUI thread; it runs later, from the loop or a pump. May be called
  // from any thread.
  virtual void post(std::function<void()> message) = 0;

  // "Process all pending messages": runs what is queued now, nested in the caller.
  virtual void processPendingMessages() = 0;

  // A plain pause of the calling thread.
  virtual void sleep(std::chrono::milliseconds duration) = 0;
};

} // namespace framework
