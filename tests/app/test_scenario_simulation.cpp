#include "app/Simulation.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <ctime>

namespace app {
namespace {

Scenario Parse(const char *json) {
  QString error;
  auto scenario = ParseScenario(QByteArray(json), QStringLiteral("s.json"), error);
  EXPECT_TRUE(scenario.has_value()) << error.toStdString();
  return scenario.value_or(Scenario{});
}

class RecordingDriver final : public ScenarioWindowDriver {
public:
  bool Click(const std::string &control) override {
    Log.push_back("click " + control);
    return control != "missing";
  }
  bool Menu(const std::string &item) override {
    Log.push_back("menu " + item);
    return true;
  }
  bool Tray(TrayAction action) override {
    Log.push_back(action == TrayAction::DoubleClick ? "tray dbl" : "tray other");
    return true;
  }
  bool TitleButton(int index) override {
    Log.push_back("title " + std::to_string(index));
    return true;
  }
  bool Screenshot(const QString &path) override {
    Log.push_back("shot " + path.toStdString());
    return true;
  }
  std::vector<std::string> Log;
};

struct Ending {
  bool quit = false;
  QString failure;
};

// Runs the timeline on `driver` until it quits or a step fails, with a limit.
Ending RunToEnd(Simulation &simulation, ScenarioWindowDriver &driver) {
  simulation.SetWindowDriver(&driver);
  Ending ending;
  bool stopped = false;
  const QObject scope; // the connections end with this run
  QObject::connect(&simulation, &Simulation::QuitRequested, &scope,
                   [&] { stopped = ending.quit = true; });
  QObject::connect(&simulation, &Simulation::StepFailed, &scope, [&](const QString &text) {
    stopped = true;
    ending.failure = text;
  });
  simulation.Start();
  QElapsedTimer clock;
  clock.start();
  while (!stopped && clock.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_TRUE(stopped);
  return ending;
}

TEST(Simulation, BuildsTheDevicesOfTheScenario) {
  Simulation simulation(Parse(R"({"devices": [
      {"id": "rx", "vendor": "3A7E", "product": "0A16", "product_name": "R", "usage": 6,
       "feature_length": 20, "access": "query", "receiver": {"cpi": 3}},
      {"id": "later", "vendor": "1", "product": "2", "plugged": false}]})"));
  hid::SimulatedHidBinding &binding = simulation.Binding();
  const hid::VirtualDevice *const rx = binding.Find("rx");
  ASSERT_NE(rx, nullptr);
  EXPECT_EQ(rx->VendorID, 0x3A7E);
  EXPECT_EQ(rx->ProductID, 0x0A16);
  EXPECT_EQ(rx->ProductName, u"R");
  EXPECT_EQ(rx->Caps.UsagePage, 1);
  EXPECT_EQ(rx->Caps.Usage, 6);
  EXPECT_EQ(rx->Caps.FeatureReportByteLength, 20);
  EXPECT_EQ(rx->Access, decltype(hid::VirtualDevice::Access)::QueryOnly);
  EXPECT_TRUE(binding.IsPlugged("rx"));
  EXPECT_FALSE(binding.IsPlugged("later"));
  ASSERT_NE(simulation.Receiver("rx"), nullptr);
  EXPECT_EQ(simulation.Receiver("rx")->FeatureLength(), 20u);
  EXPECT_EQ(simulation.Receiver("later"), nullptr);

  // The device's feature handlers are the receiver's.
  const std::uint8_t request[9] = {1, 11, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(rx->OnSetFeature(request, 9));
  std::uint8_t answer[20] = {};
  std::size_t length = sizeof answer;
  ASSERT_TRUE(rx->OnGetFeature(answer, length));
  EXPECT_EQ(answer[1], 3);
  // A run of days keeps no log of its calls.
  EXPECT_TRUE(binding.Enumerate());
  EXPECT_TRUE(binding.Calls().empty());
}

TEST(Simulation, TimelineRunsInTimeOrderUntilQuit) {
  Simulation simulation(Parse(R"({
      "devices": [{"id": "rx", "vendor": "3A7E", "product": "0A11", "receiver": {}},
                  {"id": "b", "vendor": "1", "product": "2", "plugged": false}],
      "timeline": [
        {"at": 40, "quit": true},
        {"at": 30, "click": "btnBattery"},
        {"at": 10, "unplug": "rx"},
        {"at": 10, "set": "rx", "receiver": {"battery": 7}},
        {"at": 20, "plug": "b"},
        {"at": 20, "tray": "dblclick"},
        {"at": 50, "menu": "never"}
      ]})"));
  RecordingDriver driver;
  int changes = 0;
  simulation.Binding().SetDeviceTreeListener([&] { ++changes; });
  EXPECT_TRUE(RunToEnd(simulation, driver).quit);
  EXPECT_TRUE(simulation.Finished());
  EXPECT_EQ(driver.Log, (std::vector<std::string>{"tray dbl", "click btnBattery"}));
  EXPECT_FALSE(simulation.Binding().IsPlugged("rx"));
  EXPECT_TRUE(simulation.Binding().IsPlugged("b"));
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(simulation.Receiver("rx")->State().Battery, 7);
}

TEST(Simulation, TheClockStandsUntilStartThenRunsADayPerDayMsAndStepsMoveIt) {
  constexpr std::int64_t Start = 1767225600, Day = 86400;
  Simulation simulation(Parse(R"({
      "clock": {"start": "2026-01-01T00:00:00Z", "day_ms": 20},
      "timeline": [{"at": 0, "clock": -864000}, {"at": 100, "clock": 86400},
                   {"at": 100, "quit": true}]})"));
  EXPECT_EQ(simulation.UnixSeconds(), Start);
  QElapsedTimer real;
  real.start();
  RecordingDriver driver;
  EXPECT_TRUE(RunToEnd(simulation, driver).quit);
  const std::int64_t ran = simulation.UnixSeconds() - (Start - 9 * Day);
  // At least five days for the 100 ms, at most what the real time that passed allows.
  EXPECT_GE(ran, 5 * Day);
  EXPECT_LE(ran, (real.elapsed() + 1) * Day / 20);

  // Without a clock of its own: the machine's, moved by the steps.
  Simulation machine(
      Parse(R"({"timeline": [{"at": 0, "clock": -86400}, {"at": 0, "quit": true}]})"));
  const std::int64_t before = std::time(nullptr);
  EXPECT_TRUE(RunToEnd(machine, driver).quit);
  EXPECT_NEAR(static_cast<double>(machine.UnixSeconds()), static_cast<double>(before - Day), 5);
}

TEST(Simulation, WindowStepTheWindowRefusesStopsTheTimelineWithItsPlace) {
  Simulation simulation(Parse(R"({"timeline": [
        {"at": 0, "click": "missing"},
        {"at": 1, "quit": true}]})"),
                        QStringLiteral("s.json"));
  RecordingDriver driver;
  const Ending ending = RunToEnd(simulation, driver);
  EXPECT_FALSE(ending.quit);
  EXPECT_EQ(ending.failure,
            QStringLiteral("s.json: timeline[0].click: no control \"missing\" to click"));
}

} // namespace
} // namespace app
