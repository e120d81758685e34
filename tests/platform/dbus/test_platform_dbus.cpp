#include "common/SilentBus.h"
#include "platform/BusGreeting.h"
#include "platform/DesktopNotifications.h"
#include "platform/ResumeWatcher.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QVariantMap>
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
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

// The notification service as a desktop runs it, or as a broken one answers.
class FakeNotifications final : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
  enum class Answer { Id, Error, Silence };
  Answer Reply = Answer::Id;
  std::vector<ReceivedNotification> Received;

public slots:
  uint Notify(const QString &app, uint, const QString &icon, const QString &summary,
              const QString &body, const QStringList &, const QVariantMap &hints, int) {
    Received.push_back({app, icon, summary, body, hints});
    if (Reply == Answer::Error)
      sendErrorReply(QStringLiteral("org.freedesktop.DBus.Error.Spawn.ChildExited"),
                     QStringLiteral("the daemon died on start"));
    else if (Reply == Answer::Silence)
      setDelayedReply(true);
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
  // Serves `service` under the notification service's name; false when the bus refuses.
  bool Serve(FakeNotifications &service) {
    return m_service.Bus().registerObject(QLatin1String(platform::DesktopNotifications::Path),
                                          &service, QDBusConnection::ExportAllSlots) &&
           m_service.Bus().registerService(QLatin1String(platform::DesktopNotifications::Service));
  }
  void Withdraw() {
    m_service.Bus().unregisterService(QLatin1String(platform::DesktopNotifications::Service));
  }
  void TearDown() override { Withdraw(); }
  // Whether the notification counted as shown; nothing when no answer came at all.
  static std::optional<bool> SendAndWait(platform::DesktopNotifications &notifications) {
    std::optional<bool> shown;
    notifications.Send(QStringLiteral("Mouse battery low"), QStringLiteral("16%"),
                       QStringLiteral("quelvane"), [&shown](bool taken) { shown = taken; });
    waitFor([&] { return shown.has_value(); });
    return shown;
  }

  static constexpr int ReplyMilliseconds = 300;
  static int s_count;
  Peer m_client{QStringLiteral("client%1").arg(++s_count)};
  Peer m_service{QStringLiteral("service%1").arg(s_count)};
};
int DesktopBus::s_count = 0;

struct AnswerCase {
  const char *name;
  std::optional<FakeNotifications::Answer> answer; // nothing: no service on the bus
  bool shown;
};

TEST_F(DesktopBus, OnlyANotificationTheServiceTookCountsAsShown) {
  const AnswerCase cases[] = {
      {"no notification service", std::nullopt, false},
      {"the service answers with its id", FakeNotifications::Answer::Id, true},
      {"the service answers with an error", FakeNotifications::Answer::Error, false},
      {"the service does not answer", FakeNotifications::Answer::Silence, false},
  };
  for (const AnswerCase &c : cases) {
    SCOPED_TRACE(c.name);
    FakeNotifications service;
    if (c.answer) {
      service.Reply = *c.answer;
      ASSERT_TRUE(Serve(service));
    }
    platform::DesktopNotifications notifications(m_client.Bus(), ReplyMilliseconds);
    EXPECT_EQ(SendAndWait(notifications), c.shown);
    Withdraw();
  }
}

TEST_F(DesktopBus, WithoutABusNothingIsShown) {
  platform::DesktopNotifications notifications(QDBusConnection::connectToBus(
      QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere")));
  EXPECT_EQ(SendAndWait(notifications), false);
  QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

TEST_F(DesktopBus, TheServiceGetsTitleBodyIconAndTheDesktopEntry) {
  FakeNotifications service;
  ASSERT_TRUE(Serve(service));
  platform::DesktopNotifications notifications(m_client.Bus());
  ASSERT_EQ(SendAndWait(notifications), true);
  ASSERT_EQ(service.Received.size(), 1u);
  const ReceivedNotification &n = service.Received[0];
  EXPECT_EQ(n.app, QStringLiteral("Quelvane"));
  EXPECT_EQ(n.icon, QStringLiteral("quelvane"));
  EXPECT_EQ(n.summary, QStringLiteral("Mouse battery low"));
  EXPECT_EQ(n.body, QStringLiteral("16%"));
  EXPECT_EQ(n.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("quelvane"));
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

struct GreetingCase {
  const char *name;
  QString addresses; // {bus}: the test's bus, {silent}: the silent socket's path
  platform::BusGreeting greeting;
};

TEST(BusGreeting, OnlyABusThatAnswersTheGreetingCountsAsAnswering) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString silentPath = dir.filePath("silent bus");
  const testcommon::SilentBus silent(silentPath.toLocal8Bit());
  const testcommon::SilentBus silentAbstract("quelvane-test-" + QByteArray::number(::getpid()),
                                             true);
  ASSERT_TRUE(silent.Listening() && silentAbstract.Listening());
  QString escaped = silentPath;
  escaped.replace(' ', "%20").replace('/', "%2f");
  const GreetingCase cases[] = {
      {"the bus", "{bus}", platform::BusGreeting::Answered},
      {"a socket that never answers", "unix:path={silent}", platform::BusGreeting::Silent},
      {"the same in the abstract namespace", silentAbstract.Address(),
       platform::BusGreeting::Silent},
      {"an escaped path", "unix:path=" + escaped, platform::BusGreeting::Silent},
      {"no socket there", "unix:path=/nonexistent/bus", platform::BusGreeting::Unreachable},
      {"an entry nothing listens on, then the bus", "unix:path=/nonexistent/bus;{bus}",
       platform::BusGreeting::Answered},
      {"the silent socket before the bus", "unix:path={silent};{bus}",
       platform::BusGreeting::Silent},
      {"a kind not greeted", "tcp:host=localhost,port=1", platform::BusGreeting::Unchecked},
      {"a broken escape", "unix:path=%2", platform::BusGreeting::Unchecked},
      {"nothing at all", "", platform::BusGreeting::Unreachable},
  };
  for (const GreetingCase &c : cases) {
    SCOPED_TRACE(c.name);
    QString addresses = c.addresses;
    addresses.replace("{bus}", busAddress).replace("{silent}", silentPath);
    // A silent bus holds the greeting until the deadline, and no longer (else the test hangs).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    EXPECT_EQ(platform::GreetBus(addresses.toStdString(), deadline), c.greeting);
  }
}

} // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  QProcess daemon;
  // A bus of the test's own: the machine's notification daemon must not be started on it.
  daemon.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--config-file=" QUELVANE_TEST_BUS_CONFIG),
                QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                QStringLiteral("--print-address=1")});
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
