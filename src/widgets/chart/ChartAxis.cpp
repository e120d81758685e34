#include "widgets/chart/ChartAxis.h"

#include "widgets/chart/ChartTexts.h"

#include <algorithm>
#include <array>

namespace widgets::chart {
namespace {

constexpr std::int64_t SecondsPerHour = 3600;
constexpr std::int64_t SecondsPerDay = 86400;
// The mean Gregorian month, only for judging how many ticks a step gives.
constexpr std::int64_t SecondsPerMonth = 2629746;
// About 30 000 years either side of 1970: the calendar arithmetic stays far from overflow.
constexpr std::int64_t PlausibleSeconds = std::int64_t{1} << 40;
// 1970-01-05, day 4, was a Monday.
constexpr std::int64_t MondayPhase = 4;

struct Candidate {
  AxisUnit Unit;
  int Step;
};
constexpr std::array<Candidate, 17> Candidates = {{
    {AxisUnit::Hours, 1},
    {AxisUnit::Hours, 2},
    {AxisUnit::Hours, 3},
    {AxisUnit::Hours, 6},
    {AxisUnit::Hours, 12},
    {AxisUnit::Days, 1},
    {AxisUnit::Days, 2},
    {AxisUnit::Days, 7},
    {AxisUnit::Days, 14},
    {AxisUnit::Months, 1},
    {AxisUnit::Months, 2},
    {AxisUnit::Months, 3},
    {AxisUnit::Months, 6},
    {AxisUnit::Months, 12},
    {AxisUnit::Months, 24},
    {AxisUnit::Months, 60},
    {AxisUnit::Months, 120},
}};

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t floorMod(std::int64_t a, std::int64_t b) {
  return a - floorDiv(a, b) * b;
}

std::int64_t approxSeconds(const Candidate &c) {
  switch (c.Unit) {
  case AxisUnit::Hours:
    return c.Step * SecondsPerHour;
  case AxisUnit::Days:
    return c.Step * SecondsPerDay;
  case AxisUnit::Months:
    return c.Step * SecondsPerMonth;
  }
  return SecondsPerHour;
}

QString label(std::int64_t local, const Candidate &c, receiver::TLngID language) {
  const std::int64_t days = floorDiv(local, SecondsPerDay);
  const CivilDate date = CivilFromDays(days);
  switch (c.Unit) {
  case AxisUnit::Hours: {
    const int hour = static_cast<int>(floorMod(local, SecondsPerDay) / SecondsPerHour);
    // Midnight names its day, so a span of hours says which day it shows.
    return hour == 0 ? DayLabel(date.Month, date.Day, language) : HourLabel(hour);
  }
  case AxisUnit::Days:
    return DayLabel(date.Month, date.Day, language);
  case AxisUnit::Months:
    return c.Step < 12 && date.Month != 1 ? MonthLabel(date.Month, language)
                                          : YearLabel(date.Year, language);
  }
  return {};
}

} // namespace

// Howard Hinnant's algorithms for the proleptic Gregorian calendar.
CivilDate CivilFromDays(std::int64_t days) {
  const std::int64_t z = days + 719468;
  const std::int64_t era = floorDiv(z, 146097);
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = floorDiv(year, 400);
  const std::int64_t yoe = year - era * 400;
  const std::int64_t mp = month > 2 ? month - 3 : month + 9;
  const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

namespace {

// The ticks of `c` inside [from, to], no more than `limit`.
std::vector<AxisTick> ticksOf(const Candidate &c, std::int64_t from, std::int64_t to,
                              int utcOffsetSeconds, std::size_t limit, receiver::TLngID language) {
  std::vector<AxisTick> ticks;
  const std::int64_t localFrom = from + utcOffsetSeconds;
  if (c.Unit == AxisUnit::Months) {
    const CivilDate first = CivilFromDays(floorDiv(localFrom, SecondsPerDay));
    for (std::int64_t month = first.Year * 12 + (first.Month - 1); ticks.size() < limit; ++month) {
      if (floorMod(month, c.Step) != 0) continue;
      const std::int64_t local =
          DaysFromCivil(floorDiv(month, 12), static_cast<int>(floorMod(month, 12)) + 1, 1) *
          SecondsPerDay;
      const std::int64_t t = local - utcOffsetSeconds;
      if (t < from) continue;
      if (t > to) break;
      ticks.push_back({t, label(local, c, language)});
    }
    return ticks;
  }
  const std::int64_t unit = c.Unit == AxisUnit::Hours ? SecondsPerHour : SecondsPerDay;
  const std::int64_t phase = c.Unit == AxisUnit::Days && c.Step >= 7 ? MondayPhase : 0;
  std::int64_t index = floorDiv(localFrom + unit - 1, unit);
  index += floorMod(phase - index, c.Step);
  for (; ticks.size() < limit; index += c.Step) {
    const std::int64_t local = index * unit;
    const std::int64_t t = local - utcOffsetSeconds;
    if (t > to) break;
    ticks.push_back({t, label(local, c, language)});
  }
  return ticks;
}

} // namespace

TimeAxis ChooseTimeAxis(std::int64_t from, std::int64_t to, int utcOffsetSeconds, int widthPixels,
                        int spacingPixels, receiver::TLngID language) {
  TimeAxis axis;
  if (to <= from || from < -PlausibleSeconds || to > PlausibleSeconds || widthPixels <= 0)
    return axis;
  const std::int64_t fitting = std::max(1, widthPixels / std::max(1, spacingPixels));
  for (const Candidate &c : Candidates) {
    // Steps far too fine are not tried out.
    const bool last = &c == &Candidates.back();
    if (!last && (to - from) / approxSeconds(c) > 2 * fitting) continue;
    // More ticks than pixels could never be told apart; the count also bounds the loops.
    const std::size_t limit = static_cast<std::size_t>(last ? widthPixels : fitting + 1);
    std::vector<AxisTick> ticks = ticksOf(c, from, to, utcOffsetSeconds, limit, language);
    if (!last && ticks.size() > static_cast<std::size_t>(fitting)) continue;
    axis.Unit = c.Unit;
    axis.Step = c.Step;
    axis.Ticks = std::move(ticks);
    return axis;
  }
  return axis;
}

} // namespace widgets::chart
