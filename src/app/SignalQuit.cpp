#include "app/SignalQuit.h"

#include "app/QuitEventLoop.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

namespace app {

namespace {

// The handler may only write to a pipe; the watcher does the rest.
int g_signalRead = -1;
int g_signalWrite = -1;

void OnSignal(int signal) {
  const int saved = errno;
  const auto byte = static_cast<unsigned char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(g_signalWrite, &byte, 1);
  errno = saved;
}

// Waits for `fd` to become readable; false after `timeout` (negative: none).
bool Readable(int fd, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int wait = -1;
    if (timeout.count() >= 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      wait = static_cast<int>(std::max<long long>(0, left.count()));
    }
    pollfd watched = {fd, POLLIN, 0};
    const int ready = ::poll(&watched, 1, wait);
    if (ready > 0) return true;
    if (ready == 0) return false;
    if (errno != EINTR) return false;
  }
}

} // namespace

struct SignalQuit::Watch {
  Watch(std::chrono::milliseconds grace, int stopRead, int stopWrite)
      : Grace(grace), StopRead(stopRead), StopWrite(stopWrite) {}
  ~Watch();
  void Run();

  const std::chrono::milliseconds Grace;
  const int StopRead;
  const int StopWrite;
  struct sigaction OldInt = {};
  struct sigaction OldTerm = {};
  std::thread Watcher;
};

std::unique_ptr<SignalQuit> SignalQuit::Install(std::chrono::milliseconds grace,
                                                std::string &error) {
  const auto fail = [&](const char *what) {
    error = std::string(what) + ": " + std::strerror(errno);
    return nullptr;
  };
  if (g_signalWrite >= 0) {
    error = "the signals are already taken over";
    return nullptr;
  }
  int signalPipe[2];
  if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return fail("cannot make a pipe");
  int stopPipe[2];
  if (::pipe2(stopPipe, O_CLOEXEC) != 0) {
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    return fail("cannot make a pipe");
  }
  g_signalRead = signalPipe[0];
  g_signalWrite = signalPipe[1];
  auto watch = std::make_unique<Watch>(grace, stopPipe[0], stopPipe[1]);
  Watch &w = *watch;
  w.Watcher = std::thread([&w] { w.Run(); });
  std::unique_ptr<SignalQuit> quit(new SignalQuit(std::move(watch)));
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  action.sa_flags = SA_RESETHAND; // the second signal takes the default action
  sigemptyset(&action.sa_mask);
  if (::sigaction(SIGINT, &action, &w.OldInt) != 0 ||
      ::sigaction(SIGTERM, &action, &w.OldTerm) != 0) {
    error = std::string("cannot take over SIGINT and SIGTERM: ") + std::strerror(errno);
    return nullptr;
  }
  // A shell starts background jobs with SIGINT ignored; they keep ignoring it.
  const std::pair<int, const struct sigaction *> previous[] = {{SIGINT, &w.OldInt},
                                                               {SIGTERM, &w.OldTerm}};
  for (const auto &[signal, old] : previous)
    if (old->sa_handler == SIG_IGN && ::sigaction(signal, old, nullptr) != 0) {
      error = std::string("cannot leave a signal ignored: ") + std::strerror(errno);
      return nullptr;
    }
  if (::signal(SIGPIPE, SIG_IGN) == SIG_ERR || ::signal(SIGXFSZ, SIG_IGN) == SIG_ERR) {
    error = std::string("cannot ignore SIGPIPE and SIGXFSZ: ") + std::strerror(errno);
    return nullptr;
  }
  return quit;
}

SignalQuit::SignalQuit(std::unique_ptr<Watch> watch) : m_watch(std::move(watch)) {}

SignalQuit::~SignalQuit() = default;

void SignalQuit::OnSessionEnd(std::function<void()>) {}

SignalQuit::Watch::~Watch() {
  // Restored first: from here on no handler writes to the pipe being closed.
  ::sigaction(SIGINT, &OldInt, nullptr);
  ::sigaction(SIGTERM, &OldTerm, nullptr);
  const unsigned char byte = 0;
  while (::write(StopWrite, &byte, 1) < 0 && errno == EINTR) {
  }
  Watcher.join();
  for (const int fd : {StopRead, StopWrite, g_signalRead, g_signalWrite})
    ::close(fd);
  g_signalRead = g_signalWrite = -1;
}

void SignalQuit::Watch::Run() {
  pollfd watched[2] = {{g_signalRead, POLLIN, 0}, {StopRead, POLLIN, 0}};
  unsigned char signal = 0;
  for (;;) {
    if (::poll(watched, 2, -1) <= 0) continue; // interrupted, or short of memory for a moment
    if (watched[1].revents != 0) return;
    if (::read(g_signalRead, &signal, 1) == 1) break;
  }
  if (QCoreApplication *const application = QCoreApplication::instance())
    QMetaObject::invokeMethod(
        application, [] { QuitEventLoop(); }, Qt::QueuedConnection);
  if (Readable(StopRead, Grace)) return;
  // Busy elsewhere: end now, as the signal's default action would have. SA_RESETHAND has put
  // that action back.
  if (::kill(::getpid(), signal) != 0) std::_Exit(128 + signal);
}

} // namespace app
