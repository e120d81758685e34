#include "receiver/BatteryHistory.h"
#include "receiver/BatteryHistoryText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace receiver::test {
namespace {

constexpr std::int64_t Day = 86400;
constexpr std::int64_t T0 = 1767225600; // 2026-01-01T00:00:00Z

BatteryRecord At(std::int64_t day, int level, int max = 6) {
  return {T0 + day * Day, BatteryEvent::Level, level, max};
}
BatteryRecord Event(std::int64_t day, BatteryEvent event) {
  return {T0 + day * Day, event, -1, 6};
}

struct PeriodCase {
  const char *name;
  std::vector<BatteryRecord> records;
  std::vector<BatteryStart> began; // every period, oldest first
  std::vector<std::int64_t> days;  // how long each lasted, the current one until day 100
};

TEST(BatteryHistory, ARiseNoReadingErrorExplainsStartsANewBattery) {
  using enum BatteryStart;
  const PeriodCase cases[] = {
      {"nothing read", {Event(0, BatteryEvent::Connected)}, {}, {}},
      {"one battery draining", {At(0, 6), At(10, 5), At(20, 4)}, {FirstRecord}, {100}},
      {"a one-level wobble is noise",
       {At(0, 4), At(1, 3), At(2, 4), At(3, 3)},
       {FirstRecord},
       {100}},
      {"a battery swapped",
       {At(0, 6), At(40, 1), At(41, 6), At(50, 5)},
       {FirstRecord, NewBattery},
       {41, 59}},
      {"charging one step at a time",
       {At(0, 3), At(5, 1), At(6, 2), At(7, 3), At(8, 4)},
       {FirstRecord, NewBattery},
       {6, 94}},
      {"a spike that falls back is an error", {At(0, 3), At(1, 6), At(2, 3)}, {FirstRecord}, {100}},
      {"a rise held by the next reading",
       {At(0, 2), At(1, 5), At(2, 4)},
       {FirstRecord, NewBattery},
       {1, 99}},
      {"the newest reading rising is taken",
       {At(0, 1), At(3, 6)},
       {FirstRecord, NewBattery},
       {3, 97}},
      {"other gauges count in sixths", {At(0, 6, 12), At(1, 8, 12)}, {FirstRecord}, {100}},
      {"a new mouse",
       {At(0, 5), Event(30, BatteryEvent::NewMouse), At(30, 5)},
       {FirstRecord, NewMouse},
       {30, 70}},
      {"a new mouse first",
       {Event(0, BatteryEvent::NewMouse), At(0, 6), At(9, 5)},
       {NewMouse},
       {100}},
      {"connections between readings change nothing",
       {At(0, 1), Event(1, BatteryEvent::Disconnected), Event(2, BatteryEvent::Connected), At(2, 1),
        At(3, 6)},
       {FirstRecord, NewBattery},
       {3, 97}},
  };
  for (const PeriodCase &c : cases) {
    SCOPED_TRACE(c.name);
    const BatteryOutlook outlook = ReadBatteryHistory(c.records, T0 + 100 * Day);
    std::vector<BatteryStart> began;
    std::vector<std::int64_t> days;
    for (const BatteryPeriod &p : outlook.Periods) {
      began.push_back(p.Began);
      days.push_back(p.Seconds / Day);
      EXPECT_EQ(p.Current, &p == &outlook.Periods.back());
    }
    EXPECT_EQ(began, c.began);
    EXPECT_EQ(days, c.days);
    const bool sinceKnown = !began.empty() && began.back() != FirstRecord;
    EXPECT_EQ(outlook.Since.has_value(), sinceKnown);
  }
}

struct LeftCase {
  const char *name;
  std::vector<BatteryRecord> records;
  std::int64_t now; // days after T0
  std::optional<std::int64_t> daysLeft;
};

TEST(BatteryHistory, TheTimeLeftIsKnownOnceTwoLevelsAreLost) {
  const LeftCase cases[] = {
      {"no drop", {At(0, 6)}, 5, std::nullopt},
      {"one level lost", {At(0, 6), At(10, 5)}, 10, std::nullopt},
      {"two lost at once", {At(0, 6), At(10, 4)}, 10, std::nullopt},
      // A level every ten days from day 10: level 4 at day 20 has four levels, forty days, left.
      {"two lost in steps", {At(0, 6), At(10, 5), At(20, 4)}, 20, 40},
      {"time passes without a change", {At(0, 6), At(10, 5), At(20, 4)}, 30, 30},
      {"never below nothing", {At(0, 6), At(10, 5), At(20, 4)}, 90, 0},
      {"a wobble back up keeps the lowest", {At(0, 6), At(10, 5), At(20, 4), At(21, 5)}, 21, 39},
      {"empty", {At(0, 6), At(10, 5), At(20, 0)}, 20, 0},
      {"a new battery starts afresh",
       {At(0, 6), At(10, 5), At(20, 4), At(21, 6)},
       21,
       std::nullopt},
  };
  for (const LeftCase &c : cases) {
    SCOPED_TRACE(c.name);
    const BatteryOutlook outlook = ReadBatteryHistory(c.records, T0 + c.now * Day);
    std::optional<std::int64_t> days;
    if (outlook.SecondsLeft) days = *outlook.SecondsLeft / Day;
    EXPECT_EQ(days, c.daysLeft);
  }
}

TEST(BatteryHistory, AClockSetBackGivesNoNegativeTime) {
  // The clock ran a year ahead, was set right on day 10, and the present is before it all.
  const std::vector<BatteryRecord> records = {At(365, 6), At(375, 5), At(10, 1),
                                              At(11, 6),  At(21, 5),  At(31, 4)};
  const BatteryOutlook outlook = ReadBatteryHistory(records, T0);
  ASSERT_EQ(outlook.Periods.size(), 2u);
  EXPECT_EQ(outlook.Periods[0].Seconds, 11 * Day) << "ten days ahead, then one after the fix";
  EXPECT_EQ(outlook.Periods[1].Seconds, 20 * Day);
  ASSERT_TRUE(outlook.SecondsLeft);
  EXPECT_EQ(*outlook.SecondsLeft, 40 * Day);
  for (const std::int64_t extreme : {INT64_MIN, INT64_MAX}) {
    const std::vector<BatteryRecord> wild = {
        {extreme, BatteryEvent::Level, 6, 6}, At(0, 5), {-extreme / 2, BatteryEvent::Level, 1, 6}};
    for (const BatteryPeriod &p : ReadBatteryHistory(wild, extreme).Periods)
      EXPECT_GE(p.Seconds, 0);
  }
}

TEST(BatteryHistory, TheTableAndTheObjectSayTheSame) {
  const BatteryOutlook outlook = ReadBatteryHistory(
      std::vector{At(0, 6), At(40, 1), At(41, 6), At(51, 5), At(61, 4)}, T0 + 61 * Day);
  EXPECT_EQ(FormatHistoryJson(outlook),
            "{\"periods\":[{\"start\":\"2026-01-01T00:00:00Z\",\"began\":\"first_record\","
            "\"seconds\":3542400,\"first_level\":6,\"last_level\":1,\"max\":6,\"current\":false},"
            "{\"start\":\"2026-02-11T00:00:00Z\",\"began\":\"new_battery\",\"seconds\":1728000,"
            "\"first_level\":6,\"last_level\":4,\"max\":6,\"current\":true}],"
            "\"battery_since\":\"2026-02-11T00:00:00Z\",\"estimated_seconds_left\":3456000}");
  EXPECT_EQ(FormatHistoryText(outlook),
            "started (UTC)     began with     lasted           levels\n"
            "2026-01-01 00:00  history start  41 days          6 -> 1 of 6\n"
            "2026-02-11 00:00  new battery    20 days so far   6 -> 4 of 6\n"
            "Time left for the current battery: about 40 days\n");
  EXPECT_EQ(OutlookJsonMembers({}), ",\"battery_since\":null,\"estimated_seconds_left\":null");
  for (const auto &[seconds, iso] : {std::pair{std::int64_t{0}, "1970-01-01T00:00:00Z"},
                                     {951782400, "2000-02-29T00:00:00Z"},
                                     {-1, "1969-12-31T23:59:59Z"},
                                     {4107542399, "2100-02-28T23:59:59Z"}})
    EXPECT_EQ(IsoTime(seconds), iso);
}

} // namespace
} // namespace receiver::test
