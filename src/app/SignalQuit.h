#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace app {

// The system's requests to end end the program in order: they quit the application's event loop,
// so that everything is torn down and the trace gets its last state. On Linux those are SIGINT
// and SIGTERM; on Windows a console's interrupt, break, close, log-off and shut-down events. A
// program busy outside its loop would never get to that request; if it has not gone `grace` after
// the request, the request takes its default action. A second request takes it at once.
//
// On Linux a trace on a pipe whose reader left, or past the file-size limit, fails its write
// instead of killing the program: SIGPIPE and SIGXFSZ are ignored from here on.
class SignalQuit {
public:
  // Needs a running QCoreApplication to quit. None, with `error` set, when the requests cannot be
  // taken over. One at a time.
  static std::unique_ptr<SignalQuit> Install(std::chrono::milliseconds grace, std::string &error);
  ~SignalQuit();
  SignalQuit(const SignalQuit &) = delete;
  SignalQuit &operator=(const SignalQuit &) = delete;

  // Windows ends a process once its windows have been told that the session ends, without
  // returning to its loop: `end` then runs at once, on the GUI thread, to finish what the loop's
  // end would. Linux never calls it: the end of a session is a SIGTERM there.
  void OnSessionEnd(std::function<void()> end);

  struct Watch; // the platform's

private:
  explicit SignalQuit(std::unique_ptr<Watch> watch);
  std::unique_ptr<Watch> m_watch;
};

} // namespace app
