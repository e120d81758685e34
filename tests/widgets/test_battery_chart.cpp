#include "receiver/BatteryPercent.h"
#include "widgets/chart/BatteryChart.h"

#include <gtest/gtest.h>

#include <limits>

namespace widgets::chart {
namespace {

using receiver::BatteryEvent;
using receiver::BatteryRecord;

constexpr std::int64_t Day = 86400;
constexpr std::int64_t Now = 1'796'688'000;

// The look and the labels are the reference pictures' concern; here: whatever the records and
// the clock hold, the level line stays inside the well.
TEST(BatteryChart, NoHistoryDrawsTheLineOutsideTheWell) {
  constexpr auto Min = std::numeric_limits<std::int64_t>::min();
  constexpr auto Max = std::numeric_limits<std::int64_t>::max();
  std::vector<BatteryRecord> many;
  for (int i = 0; i < 5000; ++i)
    many.push_back(
        {Now - (5000 - i) * 60 - (i % 5 == 0 ? 7200 : 0), BatteryEvent::Level, i % 9 - 1, i % 8});
  const std::vector<std::vector<BatteryRecord>> histories = {
      {{Now - Day, BatteryEvent::Level, 6, 6}, {Now - 2 * Day, BatteryEvent::Level, 0, 6}},
      {{Min, BatteryEvent::Level, 6, 6}, {Max, BatteryEvent::Level, 0, 6}},
      {{0, BatteryEvent::Level, 0, 6}, {Now - 1, BatteryEvent::Level, 6, 6}},
      {{Now - 3 * Day, BatteryEvent::Level, 15, 6}, {Now - Day, BatteryEvent::Level, 3, -6}},
      many,
  };
  const QSize size(400, 200);
  for (const bool withTitle : {false, true}) {
    const framework::TRect plot = PlotRect(size, withTitle);
    for (const auto &records : histories)
      for (const std::int64_t now : {Now, Min, Max, std::int64_t{0}}) {
        QImage picture(size, QImage::Format_RGB32);
        framework::Canvas canvas(picture);
        DrawBatteryChart(canvas, {records, {Min, Max, Now - Day}, now, 0, receiver::TLngID::Eng},
                         StyleChartColors(nullptr, skin::TsuiUIStyle::Protein), withTitle);
        int outside = 0;
        int inside = 0;
        for (int y = 0; y < size.height(); ++y)
          for (int x = 0; x < size.width(); ++x) {
            const framework::TColor c = canvas.Pixel(x, y);
            const bool level = c == receiver::BatteryPercentRed ||
                               c == receiver::BatteryPercentYellow ||
                               c == receiver::BatteryPercentLime;
            const bool inWell =
                x > plot.Left && x < plot.Right - 1 && y > plot.Top && y < plot.Bottom - 1;
            (inWell ? inside : outside) += level;
          }
        EXPECT_EQ(outside, 0) << records.size() << " records, now " << now;
        if (now == Now && records.size() > 2) {
          EXPECT_GT(inside, 0);
        }
      }
  }
}

} // namespace
} // namespace widgets::chart
