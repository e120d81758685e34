#include "receiver/BatteryHistoryText.h"

#include <cstdio>
#include <string_view>

namespace receiver {
namespace {

constexpr std::int64_t SecondsPerDay = 86400;

struct Civil {
  std::int64_t Year;
  unsigned Month;
  unsigned Day;
};

// The proleptic Gregorian date of a day count from 1970-01-01, valid for any int64 day.
Civil CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

std::string Stamp(std::int64_t unixSeconds, bool iso) {
  std::int64_t days = unixSeconds / SecondsPerDay;
  std::int64_t rest = unixSeconds % SecondsPerDay;
  if (rest < 0) {
    rest += SecondsPerDay;
    --days;
  }
  const Civil date = CivilFromDays(days);
  char text[64];
  const int hour = static_cast<int>(rest / 3600);
  const int minute = static_cast<int>(rest / 60 % 60);
  const int second = static_cast<int>(rest % 60);
  if (iso)
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<long long>(date.Year), date.Month, date.Day, hour, minute, second);
  else
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02d:%02d",
                  static_cast<long long>(date.Year), date.Month, date.Day, hour, minute);
  return text;
}

const char *BeganName(BatteryStart began, bool json) {
  switch (began) {
  case BatteryStart::NewBattery:
    return json ? "new_battery" : "new battery";
  case BatteryStart::NewMouse:
    return json ? "new_mouse" : "new mouse";
  case BatteryStart::FirstRecord:
    break;
  }
  return json ? "first_record" : "history start";
}

std::string Levels(const BatteryPeriod &period) {
  if (period.FirstLevel < 0) return "-";
  return std::to_string(period.FirstLevel) + " -> " + std::to_string(period.LastLevel) + " of " +
         std::to_string(period.Max);
}

std::string Padded(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string JsonTimeOrNull(const std::optional<std::int64_t> &seconds) {
  return seconds ? "\"" + IsoTime(*seconds) + "\"" : "null";
}

} // namespace

std::string IsoTime(std::int64_t unixSeconds) {
  return Stamp(unixSeconds, true);
}

std::string ShortDuration(std::int64_t seconds) {
  if (seconds < 3600) return std::to_string(seconds / 60) + " min";
  if (seconds < 2 * SecondsPerDay) return std::to_string(seconds / 3600) + " h";
  return std::to_string(seconds / SecondsPerDay) + " days";
}

std::string FormatHistoryText(const BatteryOutlook &outlook) {
  if (outlook.Periods.empty()) return "No battery readings recorded yet.\n";
  std::string text = "started (UTC)     began with     lasted           levels\n";
  for (const BatteryPeriod &period : outlook.Periods) {
    text += Padded(Stamp(period.StartSeconds, false), 18) +
            Padded(BeganName(period.Began, false), 15) +
            Padded(ShortDuration(period.Seconds) + (period.Current ? " so far" : ""), 17) +
            Levels(period) + '\n';
  }
  text += "Time left for the current battery: ";
  text += outlook.SecondsLeft ? "about " + ShortDuration(*outlook.SecondsLeft) : "not known yet";
  text += '\n';
  return text;
}

std::string OutlookJsonMembers(const BatteryOutlook &outlook) {
  return ",\"battery_since\":" + JsonTimeOrNull(outlook.Since) + ",\"estimated_seconds_left\":" +
         (outlook.SecondsLeft ? std::to_string(*outlook.SecondsLeft) : "null");
}

std::string FormatHistoryJson(const BatteryOutlook &outlook) {
  std::string json = "{\"periods\":[";
  bool first = true;
  for (const BatteryPeriod &period : outlook.Periods) {
    if (!first) json += ',';
    first = false;
    const auto level = [](int value) {
      return value < 0 ? std::string("null") : std::to_string(value);
    };
    json += "{\"start\":\"" + IsoTime(period.StartSeconds) + "\",\"began\":\"" +
            BeganName(period.Began, true) + "\",\"seconds\":" + std::to_string(period.Seconds) +
            ",\"first_level\":" + level(period.FirstLevel) +
            ",\"last_level\":" + level(period.LastLevel) +
            ",\"max\":" + std::to_string(period.Max) +
            ",\"current\":" + (period.Current ? "true" : "false") + "}";
  }
  return json + "]" + OutlookJsonMembers(outlook) + "}";
}

} // namespace receiver
