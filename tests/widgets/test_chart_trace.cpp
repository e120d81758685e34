#include "widgets/chart/ChartTrace.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace widgets::chart {

void PrintTo(const LevelStep &step, std::ostream *out) {
  *out << "{" << step.From << ", " << step.To << ", " << step.Percent << "%}";
}

namespace {

using receiver::BatteryEvent;
using receiver::BatteryRecord;

constexpr std::int64_t Now = 1'000'000;

BatteryRecord Level(std::int64_t t, int level, int max = 6) {
  return {t, BatteryEvent::Level, level, max};
}
BatteryRecord Event(std::int64_t t, BatteryEvent event) {
  return {t, event, -1, 6};
}

struct TraceCase {
  const char *Name;
  std::vector<BatteryRecord> Records;
  std::int64_t From;
  std::vector<LevelStep> Steps;
};

void PrintTo(const TraceCase &c, std::ostream *out) {
  *out << c.Name;
}

class TraceOfTable : public testing::TestWithParam<TraceCase> {};

TEST_P(TraceOfTable, GivesTheSpanAndTheStepsOfTheLine) {
  const TraceCase &c = GetParam();
  const ChartTrace trace = TraceOf(c.Records, Now);
  EXPECT_EQ(trace.From, c.From);
  EXPECT_EQ(trace.To, Now);
  EXPECT_EQ(trace.Steps, c.Steps);
}

const TraceCase TraceCases[] = {
    {"NoRecordsEndsNowWithTheShortestSpan", {}, Now - MinSpanSeconds, {}},
    {"LevelsHeldUntilTheNextAndTheLastUntilNow",
     {Level(100'000, 6), Level(400'000, 5), Level(700'000, 2)},
     100'000,
     {{100'000, 400'000, 100}, {400'000, 700'000, 83}, {700'000, Now, 33}}},
    {"ADisconnectedStretchIsAGapUntilTheNextReading",
     {Level(100'000, 4), Event(200'000, BatteryEvent::Disconnected),
      Event(300'000, BatteryEvent::Connected), Level(350'000, 3)},
     100'000,
     {{100'000, 200'000, 66}, {350'000, Now, 50}}},
    {"ANewMouseEndsTheStepUntilItsBatteryIsRead",
     {Level(100'000, 1), Event(500'000, BatteryEvent::NewMouse), Level(500'010, 6)},
     100'000,
     {{100'000, 500'000, 16}, {500'010, Now, 100}}},
    {"TheSameLevelReadAgainContinuesItsStep",
     {Level(100'000, 3), Level(200'000, 3), Level(300'000, 3, 6)},
     100'000,
     {{100'000, Now, 50}}},
    {"ALevelOutsideItsScaleIsNoReadingAndEndsTheStep",
     {Level(100'000, 5), Level(200'000, 7), Level(300'000, 2), Level(400'000, -1),
      Level(500'000, 2, 0)},
     100'000,
     {{100'000, 200'000, 83}, {300'000, 400'000, 33}}},
    {"RecordsAfterAJumpBackAreLeftOutUntilTheClockCatchesUp",
     {Level(500'000, 6), Level(10, 1), Event(20, BatteryEvent::Disconnected), Level(600'000, 4)},
     500'000,
     {{500'000, 600'000, 100}, {600'000, Now, 66}}},
    {"RecordsAfterNowAreLeftOutAndTheRestStays",
     {Level(100'000, 6), Level(Now + 5, 1), Level(900'000, 5)},
     100'000,
     {{100'000, 900'000, 100}, {900'000, Now, 83}}},
    {"AFirstReadingMomentsAgoGetsTheShortestSpan",
     {Level(Now - 60, 3)},
     Now - MinSpanSeconds,
     {{Now - 60, Now, 50}}},
    {"AHistoryOlderThanTheLongestSpanIsCut",
     {Level(Now - MaxSpanSeconds - 500, 6), Level(Now - MaxSpanSeconds + 100, 2),
      Event(Now - 10, BatteryEvent::Disconnected)},
     Now - MaxSpanSeconds,
     {{Now - MaxSpanSeconds, Now - MaxSpanSeconds + 100, 100},
      {Now - MaxSpanSeconds + 100, Now - 10, 33}}},
    {"ImplausibleTimesAreLeftOut",
     {Level(std::numeric_limits<std::int64_t>::min(), 6), Level(100'000, 2),
      Level(std::numeric_limits<std::int64_t>::max(), 6)},
     100'000,
     {{100'000, Now, 33}}},
};

INSTANTIATE_TEST_SUITE_P(Histories, TraceOfTable, testing::ValuesIn(TraceCases),
                         [](const auto &param) { return std::string(param.param.Name); });

} // namespace
} // namespace widgets::chart
