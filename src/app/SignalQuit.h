#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include <signal.h>

namespace app {

// SIGINT and SIGTERM end the program in order: they quit the application's event loop, so that
// everything is torn down and the trace gets its last state. A program busy outside its loop
// would never get to that request; if it has not gone `grace` after the signal, the signal takes
// its default action. A second signal takes it at once.
class SignalQuit {
public:
  // Needs a running QCoreApplication to quit. None, with `error` set, when the signals cannot be
  // taken over. One at a time.
  static std::unique_ptr<SignalQuit> Install(std::chrono::milliseconds grace, std::string &error);
  ~SignalQuit();
  SignalQuit(const SignalQuit &) = delete;
  SignalQuit &operator=(const SignalQuit &) = delete;

private:
  SignalQuit(std::chrono::milliseconds grace, int stopRead, int stopWrite);
  void Watch();

  const std::chrono::milliseconds m_grace;
  const int m_stopRead;
  const int m_stopWrite;
  struct sigaction m_oldInt = {};
  struct sigaction m_oldTerm = {};
  std::thread m_watcher;
};

} // namespace app
