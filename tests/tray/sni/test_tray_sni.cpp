// The tray binding as a StatusNotifierItem host drives it: Qt registers the icon with a watcher
// on the session bus, and the host calls Activate once per click. The test owns a private bus,
// a minimal watcher on it and a virtual X server for the xcb platform.
#include "platform/QtTrayBinding.h"
#include "tray/CoolTrayIcon.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QPixmap>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QThread>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

extern char **environ;

namespace {

constexpr const char *WatcherService = "org.kde.StatusNotifierWatcher";
constexpr const char *WatcherPath = "/StatusNotifierWatcher";

// A program the test started, ended with it. Its first line on the descriptor named by "{fd}"
// in its arguments is what it announces (the bus address, the display number).
class Child {
public:
  explicit Child(std::vector<std::string> argv) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return;
    ::fcntl(pipeFds[0], F_SETFD, FD_CLOEXEC);
    for (std::string &arg : argv)
      if (const auto at = arg.find("{fd}"); at != std::string::npos)
        arg.replace(at, 4, std::to_string(pipeFds[1]));
    std::vector<char *> args;
    for (std::string &arg : argv)
      args.push_back(arg.data());
    args.push_back(nullptr);
    const int spawned = posix_spawnp(&m_pid, args[0], nullptr, nullptr, args.data(), environ);
    ::close(pipeFds[1]);
    if (spawned != 0) {
      m_pid = -1;
      ::close(pipeFds[0]);
      return;
    }
    FILE *announced = ::fdopen(pipeFds[0], "r");
    if (announced == nullptr) {
      ::close(pipeFds[0]);
      return;
    }
    char line[512];
    if (std::fgets(line, sizeof line, announced) != nullptr) {
      m_line = line;
      while (!m_line->empty() && (m_line->back() == '\n' || m_line->back() == '\0'))
        m_line->pop_back();
    }
    std::fclose(announced);
  }
  ~Child() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
  }
  Child(const Child &) = delete;
  Child &operator=(const Child &) = delete;

  // Empty when the program could not be started or announced nothing.
  const std::optional<std::string> &Line() const { return m_line; }

private:
  pid_t m_pid = -1;
  std::optional<std::string> m_line;
};

// Just enough of a watcher for Qt to see a host and register its icon.
class Watcher : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)
  Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)
  Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ RegisteredStatusNotifierItems)
public:
  bool IsStatusNotifierHostRegistered() const { return true; }
  int ProtocolVersion() const { return 0; }
  QStringList RegisteredStatusNotifierItems() const {
    const QMutexLocker lock(&m_mutex);
    return m_items;
  }

public slots:
  // The argument is the item's service name, or an object path on the caller's connection.
  void RegisterStatusNotifierItem(const QString &serviceOrPath) {
    const QString item = serviceOrPath.startsWith('/') ? message().service() : serviceOrPath;
    const QMutexLocker lock(&m_mutex);
    m_items.append(item);
  }
  void RegisterStatusNotifierHost(const QString &) {}

private:
  mutable QMutex m_mutex;
  QStringList m_items;
};

// The watcher lives in a thread of its own, so that Qt's blocking calls to it from the GUI
// thread are answered.
class WatcherThread {
public:
  WatcherThread() {
    m_watcher.moveToThread(&m_thread);
    m_thread.start();
    m_connection = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "host");
    m_ok = m_connection.isConnected() &&
           m_connection.registerObject(WatcherPath, &m_watcher,
                                       QDBusConnection::ExportAllSlots |
                                           QDBusConnection::ExportAllProperties) &&
           m_connection.registerService(WatcherService);
  }
  ~WatcherThread() {
    m_connection.unregisterService(WatcherService);
    m_connection.unregisterObject(WatcherPath);
    m_thread.quit();
    m_thread.wait();
    QDBusConnection::disconnectFromBus("host");
  }
  bool Ok() const { return m_ok; }
  QStringList Items() const { return m_watcher.RegisteredStatusNotifierItems(); }
  // What a host sends for one click on the icon; no reply is awaited, the item runs in the GUI
  // thread.
  bool Activate(const QString &item) {
    QDBusMessage call = QDBusMessage::createMethodCall(item, "/StatusNotifierItem",
                                                       "org.kde.StatusNotifierItem", "Activate");
    call << 0 << 0;
    return m_connection.send(call);
  }

private:
  Watcher m_watcher;
  QThread m_thread;
  QDBusConnection m_connection{QString()};
  bool m_ok = false;
};

bool WaitUntil(const std::function<bool()> &done, int timeoutMs) {
  QElapsedTimer elapsed;
  elapsed.start();
  while (!done()) {
    if (elapsed.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return true;
}

void Pause(int ms) {
  WaitUntil([] { return false; }, ms);
}

constexpr int DoubleClickMs = 250;

struct Clicks {
  const char *name;
  std::vector<int> gapsMs; // before each activation after the first
  int clicks;
  int doubleClicks;
  friend void PrintTo(const Clicks &c, std::ostream *os) { *os << c.name; }
};

class StatusNotifierHost : public testing::TestWithParam<Clicks> {};

TEST_P(StatusNotifierHost, ActivationsBecomeClicksAndDoubleClicks) {
  const Clicks &c = GetParam();
  WatcherThread host;
  ASSERT_TRUE(host.Ok()) << "the watcher could not be registered on the session bus";
  QGuiApplication::styleHints()->setMouseDoubleClickInterval(DoubleClickMs);

  auto binding = std::make_unique<platform::QtTrayBinding>();
  const platform::QtTrayBinding &qt = *binding;
  tray::TCoolTrayIcon icon(nullptr, std::move(binding));
  int clicks = 0, doubleClicks = 0;
  static const int clickTag = 0, doubleTag = 0;
  icon.SetOnClick(tray::TCoolTrayIcon::TNotifyEvent::fromFunction(
      [&clicks](QObject *) { ++clicks; }, &clickTag));
  icon.SetOnDblClick(tray::TCoolTrayIcon::TNotifyEvent::fromFunction(
      [&doubleClicks](QObject *) { ++doubleClicks; }, &doubleTag));
  QPixmap red(16, 16);
  red.fill(Qt::red);
  icon.SetIcon(QIcon(red));
  icon.Loaded();
  ASSERT_TRUE(qt.trayIcon().isVisible());
  ASSERT_TRUE(WaitUntil([&] { return !host.Items().isEmpty(); }, 20000))
      << "Qt did not register its icon with the watcher";
  const QString item = host.Items().constLast();

  ASSERT_TRUE(host.Activate(item));
  for (const int gap : c.gapsMs) {
    Pause(gap);
    ASSERT_TRUE(host.Activate(item));
  }
  // A single click is reported once the double-click time has passed.
  WaitUntil([&] { return clicks + doubleClicks >= c.clicks + c.doubleClicks; }, 10000);
  Pause(3 * DoubleClickMs);
  EXPECT_EQ(clicks, c.clicks);
  EXPECT_EQ(doubleClicks, c.doubleClicks);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, StatusNotifierHost,
    testing::Values(Clicks{"OneActivationIsAClick", {}, 1, 0},
                    Clicks{"TwoQuickActivationsAreADoubleClick", {0}, 0, 1},
                    Clicks{"TwoSlowActivationsAreTwoClicks", {4 * DoubleClickMs}, 2, 0},
                    Clicks{"AThirdQuickActivationIsNoSecondDoubleClick", {0, 0}, 0, 1}),
    [](const testing::TestParamInfo<Clicks> &p) { return p.param.name; });

} // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  // Neither the user's bus and desktop nor their absence may decide the outcome.
  Child bus({"dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address={fd}"});
  Child display({"Xvfb", "-displayfd", "{fd}", "-screen", "0", "320x240x24", "-nolisten", "tcp"});
  if (!bus.Line() || !display.Line()) {
    std::fprintf(stderr, "needs dbus-daemon and Xvfb (scripts/install-deps.sh installs them)\n");
    return 1;
  }
  ::setenv("DBUS_SESSION_BUS_ADDRESS", bus.Line()->c_str(), 1);
  ::setenv("DISPLAY", (":" + *display.Line()).c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                           "QT_QPA_PLATFORMTHEME", "WAYLAND_DISPLAY"})
    ::unsetenv(name);
  int status = 0;
  {
    QApplication app(argc, argv);
    status = RUN_ALL_TESTS();
  }
  return status;
}

#include "test_tray_sni.moc"
