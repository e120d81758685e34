// The program as a desktop starts it: hidden from the autostart entry, telling the user of a low
// battery and a new mouse.
#include "common/ProgramRun.h"
#ifndef _WIN32
#include "common/SilentBus.h"
#endif

#include <QJsonObject>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using testcommon::EventsOf;
using testcommon::ProgramHome;

class E2eDesktop : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_home.IsValid());
    // No notification service: the tray icon's message, whatever the machine runs.
    m_home.Environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
  }
  std::vector<QJsonObject> Run(const QByteArray &scenario, const QStringList &extra = {}) {
    return m_home.RunTraced(QStringList{"--simulate=" + m_home.Write("s.json", scenario)} + extra);
  }

  ProgramHome m_home;
};

TEST_F(E2eDesktop, HiddenStartsWithTheWindowInTheTray) {
  const auto states = EventsOf(Run(R"({"timeline": [{"at": 300, "tray": "dblclick"},
                                                    {"at": 600, "quit": true}]})",
                                   {"--hidden"}),
                               "state");
  ASSERT_GE(states.size(), 2u);
  EXPECT_FALSE(states.front().value("window_visible").toBool());
  EXPECT_TRUE(states.back().value("window_visible").toBool()) << "the icon brings it back";
}

TEST_F(E2eDesktop, ALowBatteryAndANewMouseAreToldAndTracedOnce) {
  const QByteArray scenario = R"({
    "devices": [{"id": "rx", "vendor": "3A7E", "product": "0A11", "receiver": {"battery": 17}}],
    "timeline": [{"at": 1500, "set": "rx", "receiver": {"bind": [1, 0]}},
                 {"at": 3500, "quit": true}]})";
  const auto told = EventsOf(Run(scenario), "notification");
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0].value("kind").toString(), "battery_low");
  EXPECT_EQ(told[0].value("body").toString(),
            "The mouse's battery is at 16%. Charge or replace it soon.");
  EXPECT_EQ(told[1].value("kind").toString(), "paired");
  for (const QJsonObject &n : told)
    EXPECT_EQ(n.value("via").toString(), "tray");
}

#ifndef _WIN32
TEST_F(E2eDesktop, ASilentBusHoldsUpNeitherTheWindowNorTheNotification) {
  testcommon::SilentBus silent(m_home.FilePath("bus").toLocal8Bit());
  ASSERT_TRUE(silent.Listening());
  const QByteArray scenario = R"({
    "devices": [{"id": "rx", "vendor": "3A7E", "product": "0A11", "receiver": {"battery": 17}}],
    "timeline": [{"at": 1500, "quit": true}]})";
  for (const char *bus : {"session", "system"}) {
    SCOPED_TRACE(bus);
    const bool session = std::strcmp(bus, "session") == 0;
    m_home.Environment.insert("DBUS_SESSION_BUS_ADDRESS",
                              session ? silent.Address() : "unix:path=/nonexistent/bus");
    m_home.Environment.insert("DBUS_SYSTEM_BUS_ADDRESS",
                              session ? "unix:path=/nonexistent/bus" : silent.Address());
    const QString trace = m_home.FilePath(QString("%1.jsonl").arg(bus));
    const testcommon::ProgramOutcome outcome =
        m_home.Run({"--simulate=" + m_home.Write("s.json", scenario), "--trace=" + trace}, 20000);
    ASSERT_TRUE(outcome.Ended) << "held up by the bus";
    EXPECT_EQ(outcome.Code, 0);
    // Followed by what the offscreen platform says of itself.
    EXPECT_EQ(outcome.Err.section('\n', 0, 0).toStdString(),
              std::string("quelvane: the ") + bus +
                  " bus does not answer; the program goes on without it");
    const auto events = testcommon::ReadTrace(trace).value_or(std::vector<QJsonObject>{});
    EXPECT_FALSE(EventsOf(events, "state").empty()) << "the window was never drawn";
    const auto told = EventsOf(events, "notification");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].value("via").toString(), "tray");
  }
}
#endif

} // namespace
