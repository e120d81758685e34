#include "app/SignalQuit.h"

#include "app/QuitEventLoop.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QMetaObject>

#include <windows.h>

#include <atomic>
#include <utility>

namespace app {

namespace {

// The console's handler runs on a thread the system makes for each event, possibly while the
// watch goes: it reads only these. The event is made once and kept for the process's life.
std::atomic<bool> g_installed{false};
std::atomic<bool> g_requested{false};
std::atomic<long long> g_graceMs{0};
HANDLE g_done = nullptr; // set when the program has ended in order

} // namespace

struct SignalQuit::Watch final : QAbstractNativeEventFilter {
  bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override {
    const MSG *const msg = static_cast<const MSG *>(message);
    // Told once for each top-level window, Qt's hidden ones included.
    if (msg->message == WM_ENDSESSION && msg->wParam && !Ended && SessionEnd) {
      Ended = true;
      SessionEnd();
    }
    return false;
  }

  bool Ended = false;
  std::function<void()> SessionEnd;
};

namespace {

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (!g_installed.load()) return FALSE;
  switch (event) {
  case CTRL_C_EVENT:
  case CTRL_BREAK_EVENT:
  case CTRL_CLOSE_EVENT:
  case CTRL_LOGOFF_EVENT:
  case CTRL_SHUTDOWN_EVENT:
    break;
  default:
    return FALSE;
  }
  if (g_requested.exchange(true)) return FALSE; // the second takes the default action
  if (QCoreApplication *const application = QCoreApplication::instance())
    QMetaObject::invokeMethod(application, &QuitEventLoop, Qt::QueuedConnection);
  // Returning ends the process for the close, log-off and shut-down events (and the default
  // action ends it for the others), so the program's end is waited for here.
  const DWORD waited = ::WaitForSingleObject(g_done, static_cast<DWORD>(g_graceMs.load()));
  return waited == WAIT_OBJECT_0 ? TRUE : FALSE;
}

} // namespace

std::unique_ptr<SignalQuit> SignalQuit::Install(std::chrono::milliseconds grace,
                                                std::string &error) {
  if (g_installed.load()) {
    error = "the console's events are already taken over";
    return nullptr;
  }
  if (!g_done) g_done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!g_done || !::ResetEvent(g_done)) {
    error = "cannot make an event: error " + std::to_string(::GetLastError());
    return nullptr;
  }
  g_graceMs = grace.count();
  g_requested = false;
  g_installed = true;
  if (!::SetConsoleCtrlHandler(OnConsoleEvent, TRUE)) {
    error = "cannot take over the console's events: error " + std::to_string(::GetLastError());
    g_installed = false;
    return nullptr;
  }
  auto watch = std::make_unique<Watch>();
  if (QCoreApplication *const application = QCoreApplication::instance())
    application->installNativeEventFilter(watch.get());
  return std::unique_ptr<SignalQuit>(new SignalQuit(std::move(watch)));
}

SignalQuit::SignalQuit(std::unique_ptr<Watch> watch) : m_watch(std::move(watch)) {}

SignalQuit::~SignalQuit() {
  if (QCoreApplication *const application = QCoreApplication::instance())
    application->removeNativeEventFilter(m_watch.get());
  ::SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
  g_installed = false;
  // A handler waiting for the end returns now.
  ::SetEvent(g_done);
}

void SignalQuit::OnSessionEnd(std::function<void()> end) {
  m_watch->SessionEnd = std::move(end);
}

} // namespace app
