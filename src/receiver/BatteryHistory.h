#pragma once

#include "receiver/BatteryRecord.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace receiver {

// How a battery period began.
enum class BatteryStart : std::uint8_t {
  FirstRecord, // the history begins here: when the battery went in is not known
  NewBattery,  // the level climbed as only a fresh or charged battery makes it
  NewMouse,    // pairing bound another mouse
};

// One battery's time in the mouse. Times are as recorded; Seconds counts only the time the clock
// went forward, so a clock set back never makes it negative.
struct BatteryPeriod {
  BatteryStart Began = BatteryStart::FirstRecord;
  std::int64_t StartSeconds = 0; // Unix time
  std::int64_t Seconds = 0;      // until the next period began, or until now for the current one
  bool Current = false;
  int FirstLevel = -1; // the first and the last reading of the period; -1 without one
  int LastLevel = -1;
  int Max = 6;

  bool operator==(const BatteryPeriod &) const = default;
};

struct BatteryOutlook {
  std::vector<BatteryPeriod> Periods; // oldest first; the last is the current one
  // When the current battery went in; none when the history began with it.
  std::optional<std::int64_t> Since;
  // Time left for the current battery; none until it has lost enough levels to tell.
  std::optional<std::int64_t> SecondsLeft;
};

// A rise of at least this many levels (of six) is a new battery, unless the next reading falls
// back below that: a reading that jumps up for a moment is an error, not a battery.
inline constexpr int NewBatteryRise = 2;
// The current battery's rate is known once it has dropped this many levels from its top.
inline constexpr int LevelsToEstimate = 2;

// Battery periods and the outlook from the records in the order they were made, at `now`.
BatteryOutlook ReadBatteryHistory(std::span<const BatteryRecord> records, std::int64_t now);

} // namespace receiver
