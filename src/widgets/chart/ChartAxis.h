#pragma once

#include "receiver/Languages.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace widgets::chart {

enum class AxisUnit { Hours, Days, Months };

struct AxisTick {
  std::int64_t UnixSeconds = 0;
  QString Label;

  bool operator==(const AxisTick &) const = default;
};

struct TimeAxis {
  AxisUnit Unit = AxisUnit::Hours;
  int Step = 1; // hours, days or months from one tick to the next
  std::vector<AxisTick> Ticks;
};

// Local calendar arithmetic on Unix seconds, valid far beyond any clock a record can come from.
struct CivilDate {
  std::int64_t Year = 1970;
  int Month = 1; // 1..12
  int Day = 1;   // 1..31
};
CivilDate CivilFromDays(std::int64_t days);
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);

// The time axis of [from, to] drawn `widthPixels` wide: the finest step (whole local hours,
// midnights, Mondays for weeks, firsts of months, Januaries for years) whose ticks stay at least
// `spacingPixels` apart, with the ticks inside the span labelled in `language`. Local time is Unix
// time plus `utcOffsetSeconds`. An empty or reversed span, or one beyond the plausible range of
// clocks, gives no ticks.
TimeAxis ChooseTimeAxis(std::int64_t from, std::int64_t to, int utcOffsetSeconds, int widthPixels,
                        int spacingPixels, receiver::TLngID language);

} // namespace widgets::chart
