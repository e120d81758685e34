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

  // A pause of the calling thread: no message runs during it, but the work set below may.
  virtual void sleep(std::chrono::milliseconds duration) = 0;

  // Work for the pauses: each call of `step` does a short piece and says whether more is left.
  // A pause runs steps while its time lasts and ends no earlier than it would have; a step may
  // run past its end. Empty: none. Loops that cannot run it ignore it.
  virtual void SetPauseWork(std::function<bool()> step) { static_cast<void>(step); }
};

} // namespace framework
