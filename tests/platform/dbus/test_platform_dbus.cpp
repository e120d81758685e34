#include "platform/DesktopNotifications.h"
#include "platform/ResumeWatcher.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QVariantMap>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace {

QString busAddress;

// Runs the event loop until `done` holds or a few seconds have passed.
bool waitFor(const std::function<bool()> &done, int ms = 5000) {
  QDeadlineTimer deadline(ms);
  while (!done() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

struct ReceivedNotification {
  QString app, icon, summary, body;
  QVariantMap hints;
};

// The notification service as a desktop runs it.
class FakeNotifications final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
  std::vector<ReceivedNotification> Received;

public slots:
  uint Notify(const QString &app, uint, const QString &icon, const QString &summary,
              const QString &body, const QStringList &, const QVariantMap &hints, int) {
    Received.push_back({app, icon, summary, body, hints});
    return static_cast<uint>(Received.size());
  }
};

// A connection of its own, as another program on the bus would have.
class Peer {
public:
  explicit Peer(const QString &name) : m_name(name) {
    m_bus.emplace(QDBusConnection::connectToBus(busAddress, name));
  }
  ~Peer() {
    m_bus.reset();
    QDBusConnection::disconnectFromBus(m_name);
  }
  QDBusConnection &Bus() { return *m_bus; }

private:
  QString m_name;
  std::optional<QDBusConnection> m_bus;
};

class DesktopBus : public testing::Test {
protected:
  static int s_count;
  Peer m_client{QStringLiteral("client%1").arg(++s_count)};
  Peer m_service{QStringLiteral("service%1").arg(s_count)};
};
int DesktopBus::s_count = 0;

TEST_F(DesktopBus, WithoutANotificationServiceNothingIsSent) {
  ASSERT_TRUE(m_client.Bus().isConnected());
  platform::DesktopNotifications notifications(m_client.Bus());
  EXPECT_FALSE(notifications.Send(QStringLiteral("t"), QStringLiteral("b"), QStringLiteral("i")));
}

TEST_F(DesktopBus, WithoutABusNothingIsSent) {
  platform::DesktopNotifications notifications(QDBusConnection::connectToBus(
      QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere")));
  EXPECT_FALSE(notifications.Send(QStringLiteral("t"), QStringLiteral("b"), QStringLiteral("i")));
  QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

TEST_F(DesktopBus, TheServiceGetsTitleBodyIconAndTheDesktopEntry) {
  FakeNotifications service;
  ASSERT_TRUE(m_service.Bus().registerObject(QLatin1String(platform::DesktopNotifications::Path),
                                             &service, QDBusConnection::ExportAllSlots));
  ASSERT_TRUE(
      m_service.Bus().registerService(QLatin1String(platform::DesktopNotifications::Service)));
  platform::DesktopNotifications notifications(m_client.Bus());
  ASSERT_TRUE(notifications.Send(QStringLiteral("Mouse battery low"), QStringLiteral("16%"),
                                 QStringLiteral("quelvane")));
  ASSERT_TRUE(waitFor([&] { return !service.Received.empty(); }));
  ASSERT_EQ(service.Received.size(), 1u);
  const ReceivedNotification &n = service.Received[0];
  EXPECT_EQ(n.app, QStringLiteral("Quelvane"));
  EXPECT_EQ(n.icon, QStringLiteral("quelvane"));
  EXPECT_EQ(n.summary, QStringLiteral("Mouse battery low"));
  EXPECT_EQ(n.body, QStringLiteral("16%"));
  EXPECT_EQ(n.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("quelvane"));
  m_service.Bus().unregisterService(QLatin1String(platform::DesktopNotifications::Service));
}

// PrepareForSleep as logind sends it; `fromLogind`: from the owner of logind's name.
struct SleepCase {
  const char *name;
  bool fromLogind;
  std::vector<bool> sleeping;
  int resumes;
};

TEST_F(DesktopBus, OnlyLogindsWakeSignalCountsAsAResume) {
  const SleepCase cases[] = {
      {"going to sleep is no resume", true, {true}, 0},
      {"sleep then wake is one resume", true, {true, false}, 1},
      {"two nights, two resumes", true, {true, false, true, false}, 2},
      {"another program's signal is ignored", false, {true, false}, 0},
  };
  for (const SleepCase &c : cases) {
    SCOPED_TRACE(c.name);
    Peer sender(QStringLiteral("sleeper"));
    if (c.fromLogind) {
      ASSERT_TRUE(sender.Bus().registerService(QLatin1String(platform::ResumeWatcher::Service)));
    }
    int resumes = 0;
    platform::ResumeWatcher watcher([&] { ++resumes; }, m_client.Bus());
    ASSERT_TRUE(watcher.Watching());
    // The watcher's match rule must reach the bus before the signals.
    m_client.Bus().interface()->isServiceRegistered(QStringLiteral("org.example.Sync"));
    for (bool sleeping : c.sleeping) {
      QDBusMessage signal = QDBusMessage::createSignal(
          QLatin1String(platform::ResumeWatcher::Path),
          QLatin1String(platform::ResumeWatcher::Interface), QStringLiteral("PrepareForSleep"));
      signal << sleeping;
      ASSERT_TRUE(sender.Bus().send(signal));
    }
    // Without an expected resume, a short wait shows that none comes.
    waitFor([&] { return resumes >= c.resumes && resumes > 0; }, c.resumes ? 5000 : 500);
    EXPECT_EQ(resumes, c.resumes);
  }
}

} // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  QProcess daemon;
  daemon.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
  if (!daemon.waitForStarted(10000) || !daemon.waitForReadyRead(10000)) {
    std::fprintf(stderr, "needs dbus-daemon (scripts/install-deps.sh installs it)\n");
    return 1;
  }
  busAddress = QString::fromUtf8(daemon.readLine()).trimmed();
  const int status = RUN_ALL_TESTS();
  daemon.terminate();
  daemon.waitForFinished(5000);
  return status;
}

#include "test_platform_dbus.moc"
