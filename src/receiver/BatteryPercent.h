#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

namespace receiver {

// The percentage the window shows for `level` read against a gauge maximum `max`: truncated
// toward zero. None below one step of scale or for a level outside 0..max, which the window does
// not show either.
inline std::optional<int> BatteryPercent(int level, double max) {
  const double scale = std::trunc(max);
  if (!(scale >= 1) || level < 0 || level > max) return std::nullopt;
  return static_cast<int>(std::trunc(level * 100.0 / scale));
}

// The readouts' colour of a percentage, 0x00BBGGRR: red below 30, yellow up to 60, lime above.
inline constexpr std::uint32_t BatteryPercentRed = 0x0000FF;
inline constexpr std::uint32_t BatteryPercentYellow = 0x00FFFF;
inline constexpr std::uint32_t BatteryPercentLime = 0x00FF00;
inline std::uint32_t BatteryPercentColor(int percent) {
  return percent < 30    ? BatteryPercentRed
         : percent <= 60 ? BatteryPercentYellow
                         : BatteryPercentLime;
}

} // namespace receiver
