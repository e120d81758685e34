#pragma once

#include "receiver/BatteryHistory.h"

#include <cstdint>
#include <string>

namespace receiver {

// "2026-12-08T03:36:49Z": Unix seconds in UTC, as JSON carries times.
std::string IsoTime(std::int64_t unixSeconds);
// "12 days", "5 h", "40 min": a duration as the history table shows it.
std::string ShortDuration(std::int64_t seconds);

// The periods as a table, one line each and a heading, then the estimate; times in UTC.
std::string FormatHistoryText(const BatteryOutlook &outlook);
// One JSON object on one line, without a line end:
// {"periods":[{"start","began","seconds","first_level","last_level","max","current"}…],
//  "battery_since","estimated_seconds_left"}.
std::string FormatHistoryJson(const BatteryOutlook &outlook);
// `,"battery_since":…,"estimated_seconds_left":…`: the outlook's members of --status --json.
std::string OutlookJsonMembers(const BatteryOutlook &outlook);

} // namespace receiver
