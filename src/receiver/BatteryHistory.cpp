#include "receiver/BatteryHistory.h"

#include <algorithm>
#include <cmath>

namespace receiver {
namespace {

// Levels are compared in sixths of a full gauge, whatever gauge they were read against.
constexpr double GaugeSixths = 6;
constexpr double Slack = 1e-9;
// Beyond any clock a record was made by; keeps the sums below from overflowing on a hostile file.
constexpr std::int64_t LatestSeconds = std::int64_t{1} << 45;

std::int64_t Sane(std::int64_t seconds) {
  return std::clamp<std::int64_t>(seconds, -LatestSeconds, LatestSeconds);
}

struct Reading {
  std::size_t Record;
  double Sixths;
};

struct PeriodStart {
  std::size_t Record;
  BatteryStart Began;
};

// The readings of one mouse from `begin`, up to its next NewMouse: equal neighbours once.
std::vector<Reading> Readings(std::span<const BatteryRecord> records, std::size_t begin,
                              std::size_t end) {
  std::vector<Reading> readings;
  for (std::size_t i = begin; i < end; ++i) {
    const BatteryRecord &r = records[i];
    if (r.Event != BatteryEvent::Level || r.Max < 1 || r.Level < 0) continue;
    const double sixths = r.Level * GaugeSixths / r.Max;
    if (!readings.empty() && std::abs(readings.back().Sixths - sixths) < Slack) continue;
    readings.push_back({i, sixths});
  }
  return readings;
}

// New batteries among one mouse's readings: a climb of NewBatteryRise levels or more, begun at
// its first reading above the low it climbed from and held by the reading after its top.
void FindNewBatteries(const std::vector<Reading> &r, std::vector<PeriodStart> &starts) {
  std::size_t i = 1;
  while (i < r.size()) {
    if (r[i].Sixths <= r[i - 1].Sixths) {
      ++i;
      continue;
    }
    const double low = r[i - 1].Sixths;
    std::size_t top = i;
    while (top + 1 < r.size() && r[top + 1].Sixths > r[top].Sixths)
      ++top;
    const bool climbed = r[top].Sixths - low >= NewBatteryRise - Slack;
    const bool held = top + 1 == r.size() || r[top + 1].Sixths >= low + NewBatteryRise - Slack;
    if (climbed && held) starts.push_back({r[i].Record, BatteryStart::NewBattery});
    i = top + 1;
  }
}

// Seconds left from the drain since the current battery's top: the rate between its first
// reading below the top and its first reading at the lowest level since, which are both moments
// the level just crossed a step.
std::optional<std::int64_t> TimeLeft(const std::vector<Reading> &r,
                                     const std::vector<std::int64_t> &elapsed,
                                     std::int64_t elapsedNow) {
  if (r.empty()) return std::nullopt;
  std::size_t top = 0;
  for (std::size_t i = 0; i < r.size(); ++i)
    if (r[i].Sixths >= r[top].Sixths - Slack) top = i;
  if (top + 1 >= r.size()) return std::nullopt;
  const std::size_t first = top + 1;
  std::size_t lowest = first;
  for (std::size_t i = first; i < r.size(); ++i)
    if (r[i].Sixths < r[lowest].Sixths - Slack) lowest = i;
  if (r[top].Sixths - r[lowest].Sixths < LevelsToEstimate - Slack || lowest == first)
    return std::nullopt;
  const double lost = r[first].Sixths - r[lowest].Sixths;
  const std::int64_t took = elapsed[r[lowest].Record] - elapsed[r[first].Record];
  if (took <= 0) return std::nullopt;
  const double left = r[lowest].Sixths * static_cast<double>(took) / lost -
                      static_cast<double>(elapsedNow - elapsed[r[lowest].Record]);
  return std::max<std::int64_t>(0, std::llround(left));
}

} // namespace

BatteryOutlook ReadBatteryHistory(std::span<const BatteryRecord> records, std::int64_t now) {
  BatteryOutlook outlook;
  if (records.empty()) return outlook;
  // Time as the clock went forward: a step back counts as none.
  std::vector<std::int64_t> elapsed(records.size(), 0);
  for (std::size_t i = 1; i < records.size(); ++i)
    elapsed[i] = elapsed[i - 1] + std::max<std::int64_t>(0, Sane(records[i].UnixSeconds) -
                                                                Sane(records[i - 1].UnixSeconds));
  const std::int64_t elapsedNow =
      elapsed.back() + std::max<std::int64_t>(0, Sane(now) - Sane(records.back().UnixSeconds));

  std::vector<PeriodStart> starts;
  std::size_t mouseBegin = 0;
  for (std::size_t i = 0; i <= records.size(); ++i) {
    if (i < records.size() && (records[i].Event != BatteryEvent::NewMouse || i == mouseBegin))
      continue;
    const std::vector<Reading> readings = Readings(records, mouseBegin, i);
    if (mouseBegin < records.size() && records[mouseBegin].Event == BatteryEvent::NewMouse)
      starts.push_back({mouseBegin, BatteryStart::NewMouse});
    else if (!readings.empty())
      starts.push_back({readings.front().Record, BatteryStart::FirstRecord});
    FindNewBatteries(readings, starts);
    mouseBegin = i;
  }

  for (std::size_t k = 0; k < starts.size(); ++k) {
    const std::size_t begin = starts[k].Record;
    const bool current = k + 1 == starts.size();
    const std::size_t end = current ? records.size() : starts[k + 1].Record;
    BatteryPeriod period;
    period.Began = starts[k].Began;
    period.StartSeconds = records[begin].UnixSeconds;
    period.Seconds = (current ? elapsedNow : elapsed[end]) - elapsed[begin];
    period.Current = current;
    const std::vector<Reading> readings = Readings(records, begin, end);
    if (!readings.empty()) {
      period.FirstLevel = records[readings.front().Record].Level;
      period.LastLevel = records[readings.back().Record].Level;
      period.Max = records[readings.back().Record].Max;
    }
    if (current) {
      if (period.Began != BatteryStart::FirstRecord) outlook.Since = period.StartSeconds;
      outlook.SecondsLeft = TimeLeft(readings, elapsed, elapsedNow);
    }
    outlook.Periods.push_back(period);
  }
  return outlook;
}

} // namespace receiver
