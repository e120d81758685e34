// Draws one of the battery chart's reference pictures: chart_shot NAME FILE.png. The history is
// made up here, the same every time: six weeks ending 2026-12-08 12:00 UTC with two battery
// changes and a disconnected stretch.
#include "app/BatteryChartFile.h"
#include "app/BatteryHistoryWindow.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QImage>

#include <cstdio>
#include <string>

namespace {

using receiver::BatteryEvent;
using receiver::BatteryRecord;
using receiver::TLngID;

constexpr std::int64_t Now = 1'796'731'200;
constexpr std::int64_t Day = 86400;
constexpr std::int64_t Hour = 3600;

BatteryRecord level(std::int64_t daysAgo, int level, std::int64_t extra = 0) {
  return {Now - daysAgo * Day + extra, BatteryEvent::Level, level, 6};
}
BatteryRecord event(std::int64_t daysAgo, BatteryEvent e, std::int64_t extra = 0) {
  return {Now - daysAgo * Day + extra, e, -1, 6};
}

widgets::chart::BatteryChartData weeks(TLngID language) {
  widgets::chart::BatteryChartData data;
  data.Records = {
      event(42, BatteryEvent::Connected),
      level(42, 6, 5),
      level(36, 5, 7 * Hour),
      level(31, 4, 3 * Hour),
      level(27, 3),
      level(24, 2, 11 * Hour),
      level(22, 1),
      level(21, 0),
      event(20, BatteryEvent::Disconnected),
      event(20, BatteryEvent::Connected, 2 * Hour),
      level(20, 6, 2 * Hour),
      level(15, 5, 9 * Hour),
      event(13, BatteryEvent::Disconnected),
      event(10, BatteryEvent::Connected),
      level(10, 5, 60),
      level(7, 4, 14 * Hour),
      level(5, 3),
      level(4, 2, 20 * Hour),
      level(3, 6, 6 * Hour),
      level(1, 5, 2 * Hour),
  };
  data.BatteryChanges = {Now - 20 * Day + 2 * Hour, Now - 3 * Day + 6 * Hour};
  data.Now = Now;
  data.UtcOffsetSeconds = 0;
  data.Language = language;
  return data;
}

widgets::chart::BatteryChartData empty() {
  widgets::chart::BatteryChartData data;
  data.Now = Now;
  return data;
}

} // namespace

int main(int argc, char **argv) {
  QApplication application(argc, argv);
  // Where the system lacks the chart's font families (Windows), the tests bring them.
  const QDir fonts(qEnvironmentVariable("QUELVANE_TEST_FONTS"));
  if (qEnvironmentVariableIsSet("QUELVANE_TEST_FONTS"))
    for (const QString &font : fonts.entryList(QDir::Files))
      QFontDatabase::addApplicationFont(fonts.filePath(font));
  if (argc != 3) {
    std::fprintf(stderr, "usage: chart_shot NAME FILE.png\n");
    return 2;
  }
  const std::string name = argv[1];
  QImage picture;
  if (name == "chart_english") {
    picture = app::BatteryChartPicture(weeks(TLngID::Eng), skin::TsuiUIStyle::Protein);
  } else if (name == "chart_simplified") {
    picture = app::BatteryChartPicture(weeks(TLngID::Chs), skin::TsuiUIStyle::Protein);
  } else if (name == "chart_empty") {
    picture = app::BatteryChartPicture(empty(), skin::TsuiUIStyle::Protein);
  } else if (name == "history_window_macos") {
    app::BatteryHistoryWindow window(skin::TsuiUIStyle::MacOS, nullptr);
    window.SetData(weeks(TLngID::Cht));
    window.show();
    QApplication::processEvents();
    picture = window.grab().toImage();
  } else {
    std::fprintf(stderr, "chart_shot: no picture named %s\n", name.c_str());
    return 2;
  }
  if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "chart_shot: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
