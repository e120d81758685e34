#include "widgets/chart/ChartAxis.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace widgets::chart {
namespace {

using receiver::TLngID;

constexpr std::int64_t Hour = 3600;
constexpr std::int64_t Day = 86400;

std::int64_t At(std::int64_t year, int month, int day, int hour = 0) {
  return DaysFromCivil(year, month, day) * Day + hour * Hour;
}

TEST(CivilDate, RoundTripsAcrossLeapYearsCenturiesAndBefore1970) {
  for (const auto &[year, month, day] :
       std::initializer_list<std::tuple<int, int, int>>{{1970, 1, 1},
                                                        {2000, 2, 29},
                                                        {2100, 3, 1},
                                                        {1969, 12, 31},
                                                        {2024, 12, 31},
                                                        {1600, 2, 29}}) {
    const CivilDate date = CivilFromDays(DaysFromCivil(year, month, day));
    EXPECT_EQ(date.Year, year);
    EXPECT_EQ(date.Month, month);
    EXPECT_EQ(date.Day, day);
  }
  EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
  EXPECT_EQ(DaysFromCivil(2026, 12, 8), 20795);
}

struct AxisCase {
  const char *Name;
  std::int64_t From;
  std::int64_t To;
  int Offset;
  int Width;
  TLngID Language;
  AxisUnit Unit;
  int Step;
  std::vector<const char16_t *> FirstLabels;
  std::int64_t FirstTick;
};

void PrintTo(const AxisCase &c, std::ostream *out) {
  *out << c.Name;
}

class ChooseTimeAxisTable : public testing::TestWithParam<AxisCase> {};

TEST_P(ChooseTimeAxisTable, TakesTheFinestStepThatFitsAndLabelsItsTicks) {
  const AxisCase &c = GetParam();
  constexpr int Spacing = 50;
  const TimeAxis axis = ChooseTimeAxis(c.From, c.To, c.Offset, c.Width, Spacing, c.Language);
  EXPECT_EQ(axis.Unit, c.Unit);
  EXPECT_EQ(axis.Step, c.Step);
  ASSERT_GE(axis.Ticks.size(), c.FirstLabels.size());
  EXPECT_EQ(axis.Ticks.front().UnixSeconds, c.FirstTick);
  for (std::size_t i = 0; i < c.FirstLabels.size(); ++i)
    EXPECT_EQ(axis.Ticks[i].Label, QString::fromUtf16(c.FirstLabels[i])) << i;
  // Every tick inside the span, rising, and no more than fit.
  EXPECT_LE(static_cast<int>(axis.Ticks.size()), c.Width / Spacing);
  for (std::size_t i = 0; i < axis.Ticks.size(); ++i) {
    EXPECT_GE(axis.Ticks[i].UnixSeconds, c.From);
    EXPECT_LE(axis.Ticks[i].UnixSeconds, c.To);
    if (i > 0) {
      EXPECT_GT(axis.Ticks[i].UnixSeconds, axis.Ticks[i - 1].UnixSeconds);
    }
  }
}

const AxisCase AxisCases[] = {
    // Six hours on 400 pixels: every hour; midnight names its day.
    {"Hours",
     At(2026, 12, 7, 21) + 600,
     At(2026, 12, 8, 3),
     0,
     400,
     TLngID::Eng,
     AxisUnit::Hours,
     1,
     {u"22:00", u"23:00", u"8 Dec", u"01:00"},
     At(2026, 12, 7, 22)},
    // The same span seen from UTC+8: the ticks sit on local hours.
    {"LocalHours",
     At(2026, 12, 7, 21) + 600,
     At(2026, 12, 8, 3),
     8 * 3600,
     400,
     TLngID::Cht,
     AxisUnit::Hours,
     1,
     {u"06:00", u"07:00"},
     At(2026, 12, 7, 22)},
    // A day on 250 pixels: five ticks fit, so every six hours.
    {"SixHours",
     At(2026, 12, 7, 1),
     At(2026, 12, 8, 1),
     0,
     250,
     TLngID::Eng,
     AxisUnit::Hours,
     6,
     {u"06:00", u"12:00", u"18:00", u"8 Dec"},
     At(2026, 12, 7, 6)},
    // Five weeks on 400 pixels: weekly on Mondays (2026-11-09 is one).
    {"Weeks",
     At(2026, 11, 3),
     At(2026, 12, 8),
     0,
     400,
     TLngID::Eng,
     AxisUnit::Days,
     7,
     {u"9 Nov", u"16 Nov", u"23 Nov", u"30 Nov"},
     At(2026, 11, 9)},
    {"WeeksSimplified",
     At(2026, 11, 3),
     At(2026, 12, 8),
     0,
     400,
     TLngID::Chs,
     AxisUnit::Days,
     7,
     {u"11月9日", u"11月16日"},
     At(2026, 11, 9)},
    // A year: months, January by its year.
    {"Months",
     At(2025, 11, 20),
     At(2026, 12, 8),
     0,
     400,
     TLngID::Eng,
     AxisUnit::Months,
     2,
     {u"2026", u"Mar", u"May"},
     At(2026, 1, 1)},
    {"MonthsTraditional",
     At(2025, 11, 20),
     At(2026, 12, 8),
     0,
     400,
     TLngID::Cht,
     AxisUnit::Months,
     2,
     {u"2026年", u"3月"},
     At(2026, 1, 1)},
    // Twenty years on 300 pixels: every five years.
    {"Years",
     At(2006, 6, 1),
     At(2026, 12, 8),
     0,
     300,
     TLngID::Eng,
     AxisUnit::Months,
     60,
     {u"2010", u"2015", u"2020", u"2025"},
     At(2010, 1, 1)},
};

INSTANTIATE_TEST_SUITE_P(Spans, ChooseTimeAxisTable, testing::ValuesIn(AxisCases),
                         [](const auto &param) { return std::string(param.param.Name); });

TEST(ChooseTimeAxis, AnEmptyReversedOrImplausibleSpanHasNoTicks) {
  constexpr auto Min = std::numeric_limits<std::int64_t>::min();
  constexpr auto Max = std::numeric_limits<std::int64_t>::max();
  const std::pair<std::int64_t, std::int64_t> spans[] = {
      {1000, 1000}, {2000, 1000}, {Min, 0}, {0, Max}, {Min, Max}};
  for (const auto &[from, to] : spans)
    EXPECT_TRUE(ChooseTimeAxis(from, to, 0, 400, 50, TLngID::Eng).Ticks.empty()) << from;
  EXPECT_TRUE(ChooseTimeAxis(0, 100 * Day, 0, 0, 50, TLngID::Eng).Ticks.empty());
}

TEST(ChooseTimeAxis, ASpanTooLongForEveryStepStillGivesNoMoreTicksThanPixels) {
  const TimeAxis axis =
      ChooseTimeAxis(-(std::int64_t{1} << 39), std::int64_t{1} << 39, 0, 40, 1, TLngID::Eng);
  EXPECT_EQ(axis.Step, 120);
  EXPECT_EQ(axis.Ticks.size(), 40u);
}

} // namespace
} // namespace widgets::chart
