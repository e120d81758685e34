#include "widgets/chart/ChartAxis.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace widgets::chart {
namespace {

using receiver::TLngID;

std::int64_t At(std::int64_t year, int month, int day, int hour = 0) {
  return DaysFromCivil(year, month, day) * 86400 + hour * 3600;
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
  std::int64_t FirstTick;
  std::vector<const char16_t *> FirstLabels;
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
  EXPECT_LE(static_cast<int>(axis.Ticks.size()), c.Width / Spacing);
  for (std::size_t i = 0; i < axis.Ticks.size(); ++i) {
    EXPECT_GE(axis.Ticks[i].UnixSeconds, c.From);
    EXPECT_LE(axis.Ticks[i].UnixSeconds, c.To);
  }
}

const AxisCase AxisCases[] = {
    // Hours; midnight names its day.
    {"Hours",
     At(2026, 12, 7, 21) + 600,
     At(2026, 12, 8, 3),
     0,
     400,
     TLngID::Eng,
     AxisUnit::Hours,
     1,
     At(2026, 12, 7, 22),
     {u"22:00", u"23:00", u"8 Dec", u"01:00"}},
    // The same span seen from UTC+8: the ticks sit on local hours.
    {"LocalHours",
     At(2026, 12, 7, 21) + 600,
     At(2026, 12, 8, 3),
     8 * 3600,
     400,
     TLngID::Cht,
     AxisUnit::Hours,
     1,
     At(2026, 12, 7, 22),
     {u"06:00", u"07:00"}},
    // Five weeks: on Mondays (2026-11-09 is one).
    {"Weeks",
     At(2026, 11, 3),
     At(2026, 12, 8),
     0,
     400,
     TLngID::Chs,
     AxisUnit::Days,
     7,
     At(2026, 11, 9),
     {u"11月9日", u"11月16日"}},
    // A year: months, January by its year.
    {"Months",
     At(2025, 11, 20),
     At(2026, 12, 8),
     0,
     400,
     TLngID::Eng,
     AxisUnit::Months,
     2,
     At(2026, 1, 1),
     {u"2026", u"Mar", u"May"}},
    {"Years",
     At(2006, 6, 1),
     At(2026, 12, 8),
     0,
     300,
     TLngID::Eng,
     AxisUnit::Months,
     60,
     At(2010, 1, 1),
     {u"2010", u"2015", u"2020", u"2025"}},
};

INSTANTIATE_TEST_SUITE_P(Spans, ChooseTimeAxisTable, testing::ValuesIn(AxisCases),
                         [](const auto &param) { return std::string(param.param.Name); });

TEST(ChooseTimeAxis, AnEmptyReversedOrImplausibleSpanHasNoTicksAndAHugeOneNoMoreThanPixels) {
  constexpr auto Min = std::numeric_limits<std::int64_t>::min();
  constexpr auto Max = std::numeric_limits<std::int64_t>::max();
  for (const auto &[from, to] : {std::pair<std::int64_t, std::int64_t>{1000, 1000},
                                 {2000, 1000},
                                 {Min, 0},
                                 {0, Max},
                                 {Min, Max}})
    EXPECT_TRUE(ChooseTimeAxis(from, to, 0, 400, 50, TLngID::Eng).Ticks.empty()) << from;
  const TimeAxis huge =
      ChooseTimeAxis(-(std::int64_t{1} << 39), std::int64_t{1} << 39, 0, 40, 1, TLngID::Eng);
  EXPECT_EQ(huge.Ticks.size(), 40u);
}

} // namespace
} // namespace widgets::chart
