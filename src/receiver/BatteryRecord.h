#pragma once

#include <cstdint>

namespace receiver {

// What a battery history entry tells.
enum class BatteryEvent : std::uint8_t { Level, Connected, Disconnected, NewMouse };

// One entry of the battery history. Times are seconds since 1970 (UTC) as the clock said when the
// entry was made; the clock may have jumped since, so a reader must not assume they rise.
struct BatteryRecord {
  std::int64_t UnixSeconds = 0;
  BatteryEvent Event = BatteryEvent::Level;
  int Level = -1; // 0..Max for a level reading; -1 for the other events
  int Max = 6;    // the gauge maximum the level was read against
};

} // namespace receiver
