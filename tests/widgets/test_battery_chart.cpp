#include "receiver/BatteryPercent.h"
#include "skin/style/ThemeEntries.h"
#include "widgets/chart/BatteryChart.h"

#include <gtest/gtest.h>

#include <limits>

namespace widgets::chart {
namespace {

using framework::TColor;
using framework::TRect;
using receiver::BatteryEvent;
using receiver::BatteryRecord;

constexpr std::int64_t Day = 86400;
constexpr std::int64_t Now = 1'796'688'000; // 2026-12-08 00:00 UTC
constexpr QSize Size(380, 200);

bool IsLevelColour(TColor c) {
  return c == receiver::BatteryPercentRed || c == receiver::BatteryPercentYellow ||
         c == receiver::BatteryPercentLime;
}

class BatteryChartFixture : public testing::Test {
protected:
  void Draw(bool withTitle = false) {
    Picture = QImage(Size, QImage::Format_RGB32);
    framework::Canvas canvas(Picture);
    DrawBatteryChart(canvas, Data, Colors, withTitle);
    const TRect plot = PlotRect(Size, withTitle);
    Inner = {plot.Left + 1, plot.Top + 1, plot.Right - 1, plot.Bottom - 1};
  }
  TColor At(int x, int y) const { return framework::ImagePixel(Picture, x, y); }
  // The rows of column x in the well's inside that have colour c.
  std::vector<int> RowsOf(int x, TColor c) const {
    std::vector<int> rows;
    for (int y = Inner.Top; y < Inner.Bottom; ++y)
      if (At(x, y) == c) rows.push_back(y);
    return rows;
  }
  // The x of time t, as far as the test needs it: proportionally across the inside.
  int XOf(std::int64_t t, std::int64_t from) const {
    return Inner.Left + static_cast<int>((t - from) * (Inner.Width() - 1) / (Now - from));
  }
  int LevelColourPixelsOutsideTheWell() const {
    int count = 0;
    for (int y = 0; y < Picture.height(); ++y)
      for (int x = 0; x < Picture.width(); ++x)
        if (!(x >= Inner.Left && x < Inner.Right && y >= Inner.Top && y < Inner.Bottom))
          count += IsLevelColour(At(x, y));
    return count;
  }

  BatteryChartData Data{{}, {}, Now, 0, receiver::TLngID::Eng};
  ChartColors Colors = StyleChartColors(nullptr, skin::TsuiUIStyle::Protein);
  QImage Picture;
  TRect Inner;
};

TEST_F(BatteryChartFixture, TheLevelLineStepsThroughTheWellInTheReadoutsColoursWithAGap) {
  const std::int64_t from = Now - 20 * Day;
  Data.Records = {{from, BatteryEvent::Level, 6, 6},
                  {Now - 15 * Day, BatteryEvent::Disconnected, -1, 6},
                  {Now - 10 * Day, BatteryEvent::Level, 3, 6},
                  {Now - 5 * Day, BatteryEvent::Level, 1, 6}};
  Draw();
  const int wellHeight = Inner.Height();
  // Full: lime at the top; half: yellow in the middle; 16 %: red near the bottom.
  const std::vector<int> full = RowsOf(XOf(Now - 18 * Day, from), receiver::BatteryPercentLime);
  ASSERT_EQ(full.size(), 2u);
  EXPECT_LT(full.front() - Inner.Top, wellHeight / 20);
  const std::vector<int> half = RowsOf(XOf(Now - 7 * Day, from), receiver::BatteryPercentYellow);
  ASSERT_EQ(half.size(), 2u);
  EXPECT_NEAR(half.front() - Inner.Top, wellHeight / 2, 2);
  const std::vector<int> low = RowsOf(XOf(Now - 2 * Day, from), receiver::BatteryPercentRed);
  ASSERT_EQ(low.size(), 2u);
  EXPECT_NEAR(Inner.Bottom - low.front(), wellHeight * 16 / 100, 3);
  // The disconnected stretch draws no line, and the reading after it no riser either.
  for (const TColor c :
       {receiver::BatteryPercentLime, receiver::BatteryPercentYellow, receiver::BatteryPercentRed})
    EXPECT_TRUE(RowsOf(XOf(Now - 12 * Day, from), c).empty());
  EXPECT_EQ(RowsOf(XOf(Now - 10 * Day, from), receiver::BatteryPercentYellow).size(), 2u);
  // The drop from half to 16 % is joined by a riser in the new colour.
  EXPECT_GT(RowsOf(XOf(Now - 5 * Day, from), receiver::BatteryPercentRed).size(), 10u);
}

TEST_F(BatteryChartFixture, BatteryChangesAreMarkedAboveTheWellInsideTheSpanOnly) {
  const std::int64_t from = Now - 20 * Day;
  Data.Records = {{from, BatteryEvent::Level, 4, 6}};
  Data.BatteryChanges = {Now - 10 * Day, from - Day, Now + Day};
  Draw(true);
  const int x = XOf(Now - 10 * Day, from);
  EXPECT_EQ(At(x, Inner.Top - 2), Colors.Mark);
  int marks = 0;
  for (int xx = 0; xx < Size.width(); ++xx)
    marks += At(xx, Inner.Top - 2) == Colors.Mark;
  EXPECT_EQ(marks, 1);
  EXPECT_FALSE(RowsOf(x, ChangeLineColor).empty());
}

TEST_F(BatteryChartFixture, AnEmptyHistorySaysSoInTheWellAndDrawsNoLine) {
  for (const bool withTitle : {false, true}) {
    Draw(withTitle);
    int text = 0;
    for (int y = Inner.Top; y < Inner.Bottom; ++y)
      for (int x = Inner.Left; x < Inner.Right; ++x) {
        EXPECT_FALSE(IsLevelColour(At(x, y)));
        text += At(x, y) == ChangeLineColor;
      }
    EXPECT_GT(text, 50);
  }
}

// Whatever the records hold, the line stays inside the well.
TEST_F(BatteryChartFixture, NoHistoryDrawsTheLineOutsideTheWell) {
  constexpr auto Min = std::numeric_limits<std::int64_t>::min();
  constexpr auto Max = std::numeric_limits<std::int64_t>::max();
  std::vector<BatteryRecord> many;
  for (int i = 0; i < 5000; ++i)
    many.push_back({Now - (i % 7) * Day + i, BatteryEvent::Level, i % 9 - 1, i % 8});
  const std::vector<std::vector<BatteryRecord>> histories = {
      {{Now - Day, BatteryEvent::Level, 6, 6}, {Now - 2 * Day, BatteryEvent::Level, 0, 6}},
      {{Min, BatteryEvent::Level, 6, 6}, {Max, BatteryEvent::Level, 0, 6}},
      {{0, BatteryEvent::Level, 0, 6}, {Now - 1, BatteryEvent::Level, 6, 6}},
      {{Now - 3 * Day, BatteryEvent::Level, 15, 6}, {Now - Day, BatteryEvent::Level, 3, -6}},
      {{Now - Day, BatteryEvent::Level, 1, 1}, {Now - Day / 2, BatteryEvent::Level, 0, 1}},
      many,
  };
  for (const auto &records : histories)
    for (const std::int64_t now : {Now, Min, Max, std::int64_t{0}}) {
      Data.Records = records;
      Data.Now = now;
      Data.BatteryChanges = {Min, Max, Now - Day};
      Draw(true);
      EXPECT_EQ(LevelColourPixelsOutsideTheWell(), 0) << records.size() << " records, " << now;
    }
}

class ThemeColours : public skin::style::ThemeEntries {
public:
  bool Loaded() const override { return true; }
  bool Image(skin::style::StyleEntry, QImage &) const override { return false; }
  std::int64_t Number(skin::style::StyleEntry entry) const override {
    return entry == skin::style::StyleEntry::FormBackgroundColor ? 0x123456 : -1;
  }
  bool Bool(skin::style::StyleEntry) const override { return false; }
};

TEST(StyleChartColors, TakesTheLooksColoursAndTheBuiltInOnesWhereAThemeHasNone) {
  const ChartColors winXP = StyleChartColors(nullptr, skin::TsuiUIStyle::WinXP);
  EXPECT_EQ(winXP.Background, 0xDEEBEFu);
  EXPECT_EQ(winXP.Text, 0xCF4602u);
  EXPECT_EQ(winXP.Mark, 0xC66931u);
  const ThemeColours theme;
  const ChartColors themed = StyleChartColors(&theme, skin::TsuiUIStyle::FromThemeFile);
  EXPECT_EQ(themed.Background, 0x123456u);
  EXPECT_EQ(themed.Border, StyleChartColors(nullptr, skin::TsuiUIStyle::DeepBlue).Border);
}

} // namespace
} // namespace widgets::chart
