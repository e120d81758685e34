// The real program with its own settings folder: the tray menu turns the battery in the tray icon
// on, the icon follows the readouts, and the choice outlives the program beside the language.
#include "common/ProgramRun.h"

#include <QDir>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The tray icon as each state line of the trace describes it, without repeats.
std::vector<std::string> TrayIcons(const std::vector<QJsonObject> &states) {
  std::vector<std::string> icons;
  for (const QJsonObject &state : states) {
    const QJsonObject icon = state.value("tray_icon").toObject();
    std::string text = "program";
    if (icon.value("battery").toBool())
      text = icon.value("connected").toBool()
                 ? std::to_string(icon.value("value").toInt()) + "/" +
                       std::to_string(icon.value("max").toInt()) + " " +
                       icon.value("color").toString().toStdString()
                 : "no receiver";
    if (icons.empty() || icons.back() != text) icons.push_back(text);
  }
  return icons;
}

TEST(BatteryInTrayIcon, TheMenuTurnsItOnItFollowsTheReadoutsAndTheSettingsKeepIt) {
  testcommon::ProgramHome home;
  ASSERT_TRUE(home.IsValid());
  ASSERT_TRUE(QDir().mkpath(home.FilePath("config/KESTRAVO")));
  home.Write("config/KESTRAVO/TELVARIN.conf", "[General]\nLngSection=Cht\nOther=kept\n");
  const auto run = [&home](const char *scenario) {
    return TrayIcons(testcommon::EventsOf(
        home.RunTraced({QStringLiteral("--simulate=" QUELVANE_TEST_DATA "/") + scenario}),
        "state"));
  };

  EXPECT_EQ(run("battery_icon.json"), (std::vector<std::string>{"program", "5/6 0x0000FF00",
                                                                "2/6 0x0000FFFF", "no receiver"}));
  const QByteArray settings = testcommon::FileContent(home.SettingsFile());
  EXPECT_TRUE(settings.contains("LngSection=Cht\n") && settings.contains("Other=kept\n") &&
              settings.contains("BatteryInIcon=1\n"))
      << settings.toStdString();

  // Started again: on from the first look, the receiver found before it; the menu turns it off.
  EXPECT_EQ(run("battery_icon.json"), (std::vector<std::string>{"5/6 0x0000FF00", "program"}));
  EXPECT_TRUE(testcommon::FileContent(home.SettingsFile()).contains("BatteryInIcon=0\n"));

  // A value that is not "1" is off.
  home.Write("config/KESTRAVO/TELVARIN.conf", "[General]\nLngSection=Eng\nBatteryInIcon=yes\n");
  EXPECT_EQ(run("languages_quit.json"), std::vector<std::string>{"program"});
}

} // namespace
