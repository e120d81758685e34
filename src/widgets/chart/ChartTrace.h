#pragma once

#include "receiver/BatteryRecord.h"

#include <cstdint>
#include <span>
#include <vector>

namespace widgets::chart {

// The level held from From to To (Unix seconds) as the window's percentage.
struct LevelStep {
  std::int64_t From = 0;
  std::int64_t To = 0;
  int Percent = 0;

  bool operator==(const LevelStep &) const = default;
};

// What the chart draws of a history: its time span, which ends now, and the level line. Steps are
// in time order and never overlap; a step starting where the one before ends continues the line,
// anything else is a gap (disconnected, or the level not read yet).
struct ChartTrace {
  std::int64_t From = 0;
  std::int64_t To = 0;
  std::vector<LevelStep> Steps;
};

// The longest span shown, ending now, and the shortest, so that a first reading has room.
inline constexpr std::int64_t MaxSpanSeconds = std::int64_t{20} * 366 * 86400;
inline constexpr std::int64_t MinSpanSeconds = 3600;

// Records are taken in stored order. A record stamped later than `now` is left out (the clock was
// ahead then), and so is one stamped earlier than the record before it (the clock had gone back):
// the line only moves forward, and the records after a jump back show again once the clock has
// caught up. The span starts at the first record kept, no more than MaxSpanSeconds before now.
// Levels outside 0..Max are not readings and end the step before them.
ChartTrace TraceOf(std::span<const receiver::BatteryRecord> records, std::int64_t now);

} // namespace widgets::chart
