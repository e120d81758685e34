// The battery history end to end: the window records through the simulated clock, the commands
// read it back.
#include "common/ProgramRun.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

const QString Data = QUELVANE_TEST_DATA;
constexpr long long Day = 86400;

QJsonObject JsonOf(const testcommon::ProgramOutcome &run) {
  return QJsonDocument::fromJson(run.Out.toUtf8()).object();
}

class E2eHistory : public ::testing::Test {
protected:
  QString Store() const { return home.FilePath("state/quelvane/simulated-battery-history"); }
  // The window records two batteries over fifty-one simulated days.
  void Record() {
    const auto run = home.Run({"--simulate=" + Data + "/history_batteries.json"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
  }
  testcommon::ProgramHome home;
};

TEST_F(E2eHistory, TheWindowRecordsAndTheCommandsTellEachBatteryAndTheTimeLeft) {
  Record();
  const auto history =
      home.Run({"--history", "--json", "--simulate=" + Data + "/history_later.json"});
  ASSERT_EQ(history.Code, 0) << history.Err.toStdString();
  EXPECT_EQ(history.Err, "");
  const QJsonObject outlook = JsonOf(history);
  const QJsonArray periods = outlook.value("periods").toArray();
  ASSERT_EQ(periods.size(), 2);
  const QJsonObject first = periods[0].toObject();
  const QJsonObject second = periods[1].toObject();
  EXPECT_EQ(first.value("began").toString(), "first_record");
  // The real seconds the run took go on the simulated clock too.
  EXPECT_NEAR(first.value("seconds").toDouble(), 31 * Day, 30);
  EXPECT_EQ(first.value("last_level").toInt(), 1);
  EXPECT_EQ(second.value("began").toString(), "new_battery");
  EXPECT_TRUE(second.value("current").toBool());
  EXPECT_TRUE(outlook.value("battery_since").toString().startsWith("2026-02-01T00:00:"));
  // Ten days a level from day 41: level 4 on day 51 has forty days left; the later clock says
  // day 62.
  EXPECT_NEAR(outlook.value("estimated_seconds_left").toDouble(), 29 * Day, 30);

  const auto status =
      home.Run({"--status", "--json", "--simulate=" + Data + "/history_later.json"});
  ASSERT_EQ(status.Code, 0) << status.Err.toStdString();
  const QJsonObject reading = JsonOf(status);
  EXPECT_EQ(reading.value("level").toInt(), 4) << "the existing keys stay";
  EXPECT_EQ(reading.value("battery_since"), outlook.value("battery_since"));
  EXPECT_EQ(reading.value("estimated_seconds_left"), outlook.value("estimated_seconds_left"));

  const auto table = home.Run({"--history", "--simulate=" + Data + "/history_batteries.json"});
  EXPECT_TRUE(table.Out.contains("2026-02-01 00:00  new battery")) << table.Out.toStdString();
  EXPECT_TRUE(table.Out.contains("about 40 days")) << "the clock at the scenario's start is "
                                                      "before the readings: no time passes";
  EXPECT_FALSE(QFile::exists(home.FilePath("state/quelvane/battery-history")))
      << "a simulation never writes the real history";

  // The chart for scripts shows the recorded line: the first battery ran down into the red.
  const QString chart = home.FilePath("chart.png");
  const auto plot = home.Run({"--history", "--plot=" + chart, "--style=MacOS",
                              "--simulate=" + Data + "/history_later.json"});
  ASSERT_EQ(plot.Code, 0) << plot.Err.toStdString();
  const QImage picture(chart);
  ASSERT_EQ(picture.size(), QSize(400, 222));
  bool red = false, lime = false;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      red = red || picture.pixel(x, y) == qRgb(255, 0, 0);
      lime = lime || picture.pixel(x, y) == qRgb(0, 255, 0);
    }
  EXPECT_TRUE(red && lime);
  const auto nowhere = home.Run({"--history", "--plot=" + home.FilePath("no/such/folder/c.png"),
                                 "--simulate=" + Data + "/history_later.json"});
  EXPECT_EQ(nowhere.Code, 1);
  EXPECT_TRUE(nowhere.Err.contains("cannot write ")) << nowhere.Err.toStdString();
}

TEST_F(E2eHistory, ADamagedStoreIsMovedAsideOnceAndUnknownsAreNull) {
  QDir().mkpath(home.FilePath("state/quelvane"));
  home.Write("state/quelvane/simulated-battery-history", "quelvane battery history 1\nbogus\nx\n");
  const auto status = home.Run({"--status", "--json", "--simulate"});
  ASSERT_EQ(status.Code, 0);
  EXPECT_EQ(status.Err.count('\n'), 1) << status.Err.toStdString();
  EXPECT_TRUE(status.Err.contains("is damaged; it was moved to")) << status.Err.toStdString();
  const QJsonObject reading = JsonOf(status);
  EXPECT_TRUE(reading.value("battery_since").isNull());
  EXPECT_TRUE(reading.value("estimated_seconds_left").isNull());
  const auto again = home.Run({"--history", "--simulate"});
  EXPECT_EQ(again.Err, "");
  EXPECT_EQ(again.Out, "No battery readings recorded yet.\n");

  // Nowhere to keep it: the tool goes on, and says so once.
  home.Write("blocked", "");
  home.Environment.insert("XDG_STATE_HOME", home.FilePath("blocked"));
  home.Environment.insert("LOCALAPPDATA", home.FilePath("blocked"));
  const auto run = home.Run({"--simulate=" + Data + "/history_batteries.json"});
  EXPECT_EQ(run.Code, 0);
  EXPECT_EQ(run.Err.count("battery history"), 1) << run.Err.toStdString();
}

} // namespace
