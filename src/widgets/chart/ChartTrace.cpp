#include "widgets/chart/ChartTrace.h"

#include "receiver/BatteryPercent.h"

#include <algorithm>
#include <optional>

namespace widgets::chart {
namespace {

// Far beyond any clock, and far enough inside the integer range that spans cannot overflow.
constexpr std::int64_t PlausibleSeconds = std::int64_t{1} << 40;

} // namespace

ChartTrace TraceOf(std::span<const receiver::BatteryRecord> records, std::int64_t now) {
  ChartTrace trace;
  if (now < -PlausibleSeconds || now > PlausibleSeconds) return trace;
  trace.To = now;

  std::vector<LevelStep> steps;
  std::optional<std::int64_t> first;
  std::optional<std::int64_t> last;
  std::optional<LevelStep> open;
  const auto close = [&](std::int64_t at) {
    if (open && at > open->From) steps.push_back({open->From, at, open->Percent});
    open.reset();
  };
  for (const receiver::BatteryRecord &record : records) {
    const std::int64_t t = record.UnixSeconds;
    if (t > now || t < -PlausibleSeconds || (last && t < *last)) continue;
    if (!first) first = t;
    last = t;
    const std::optional<int> percent = record.Event == receiver::BatteryEvent::Level
                                           ? receiver::BatteryPercent(record.Level, record.Max)
                                           : std::nullopt;
    // The same level read again continues its step.
    if (open && percent == open->Percent) continue;
    close(t);
    if (percent) open = LevelStep{t, t, *percent};
  }
  close(now);

  trace.From = std::max(first.value_or(now), now - MaxSpanSeconds);
  trace.From = std::min(trace.From, now - MinSpanSeconds);
  for (LevelStep &step : steps) {
    if (step.To <= trace.From) continue;
    step.From = std::max(step.From, trace.From);
    trace.Steps.push_back(step);
  }
  return trace;
}

} // namespace widgets::chart
