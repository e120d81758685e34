#include "receiver/BatteryLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace receiver::test {
namespace {

using Records = std::vector<BatteryRecord>;

const Records Sample = {{1700000000, BatteryEvent::Connected, -1, 6},
                        {1700000001, BatteryEvent::Level, 6, 6},
                        {1700086400, BatteryEvent::Level, 5, 6},
                        {-5, BatteryEvent::NewMouse, -1, 6},
                        {1700090000, BatteryEvent::Disconnected, -1, 6}};

bool Same(const Records &a, const Records &b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].UnixSeconds != b[i].UnixSeconds || a[i].Event != b[i].Event ||
        a[i].Level != b[i].Level || a[i].Max != b[i].Max)
      return false;
  return true;
}

TEST(BatteryLog, EveryRecordReadsBackAsWritten) {
  const std::string text = FormatBatteryLog(Sample);
  const BatteryLog log = ParseBatteryLog(text);
  EXPECT_FALSE(log.Damaged);
  EXPECT_TRUE(Same(log.Records, Sample));
  EXPECT_EQ(log.WholeBytes, text.size());
}

// What may stand in the file: the number of records read, where a cut would end it, and
// whether it is to be moved aside.
TEST(BatteryLog, OnlyABadLastLineIsForgiven) {
  const std::string whole = FormatBatteryLog(Sample);
  const std::string lastLine = FormatBatteryLine(Sample.back());
  const std::size_t beforeLast = whole.size() - lastLine.size();
  std::string flipped = whole;
  flipped[std::string(BatteryLogHeader).size() + 3] ^= 1; // a digit of the first record
  std::string noHeader = whole.substr(BatteryLogHeader.size());
  struct Case {
    const char *name;
    std::string bytes;
    std::size_t records;
    std::size_t wholeBytes;
    bool damaged;
  } const cases[] = {
      {"empty file", "", 0, 0, false},
      {"header torn while made", std::string(BatteryLogHeader.substr(0, 9)), 0, 0, false},
      {"foreign short text", "hello", 0, 0, true},
      {"foreign first line", "hello\n", 0, 0, true},
      {"no header", noHeader, 0, 0, true},
      {"last line torn", whole.substr(0, whole.size() - 4), 4, beforeLast, false},
      {"power cut left zeros", whole + std::string(40, '\0'), 5, whole.size(), false},
      {"garbage last line with its end", whole + "x y\n", 5, whole.size(), false},
      {"bit flip in an earlier line", flipped, 0, 0, true},
      {"torn line inside", whole.substr(0, beforeLast - 3) + "\n" + lastLine, 0, 0, true},
      {"a field with a plus sign", std::string(BatteryLogHeader) + "+1 L 3 6 00000000\n" + lastLine,
       0, 0, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const BatteryLog log = ParseBatteryLog(c.bytes);
    EXPECT_EQ(log.Records.size(), c.records);
    EXPECT_EQ(log.WholeBytes, c.wholeBytes);
    EXPECT_EQ(log.Damaged, c.damaged);
  }
}

TEST(BatteryLog, ASignedLineMustStillBeOursInEveryField) {
  const std::string next = FormatBatteryLine(Sample[0]);
  ASSERT_FALSE(
      ParseBatteryLog(std::string(BatteryLogHeader) + SignedBatteryLine("0 L 6 6") + next).Damaged);
  for (const char *body :
       {"0 L 7 6", "0 X 1 6", "0 C 3 6", "0 N 1 6", "007 L 1 6", "-0 L 1 6", "0 L 1 0", "0 L -1 6",
        "0  L 1 6", "0 L 1 6 ", "0 L 1", "0 L 1 256", "99999999999999999999 L 1 6"}) {
    SCOPED_TRACE(body);
    EXPECT_TRUE(
        ParseBatteryLog(std::string(BatteryLogHeader) + SignedBatteryLine(body) + next).Damaged);
  }
}

TEST(BatteryLog, CompactionDropsRepeatsThenOldConnectionsThenTheOldest) {
  Records records;
  for (int i = 0; i < 100; ++i) {
    records.push_back({i * 10, BatteryEvent::Connected, -1, 6});
    records.push_back({i * 10 + 1, BatteryEvent::Level, 6 - i / 20, 6});
  }
  const Records compact = CompactBatteryHistory(records, 40);
  ASSERT_LE(compact.size(), 40u);
  int levels = 0;
  for (std::size_t i = 0; i < compact.size(); ++i) {
    if (compact[i].Event == BatteryEvent::Level) ++levels;
    if (i > 0) {
      EXPECT_LT(compact[i - 1].UnixSeconds, compact[i].UnixSeconds) << "order kept";
    }
  }
  EXPECT_EQ(levels, 5) << "one reading for each of the five levels";
  // The last reading repeats its level; the connection before it is the newest record kept.
  EXPECT_EQ(compact.back().UnixSeconds, 990);

  // A wavering level goes, one step away and back at a time; the battery's periods stay.
  Records wavering;
  for (int i = 0; i < 1000; ++i)
    wavering.push_back({i, BatteryEvent::Level, 3 + i % 2 - (i >= 500 ? 2 : 0), 6});
  wavering.push_back({1000, BatteryEvent::Level, 6, 6});
  const Records calm = CompactBatteryHistory(wavering, 100);
  // 3, 4, 3, 4 … 3, 4 then 1, 2, 1, 2 … 1, 2, then 6: the last waver of each stays.
  std::vector<int> calmLevels;
  for (const BatteryRecord &r : calm)
    calmLevels.push_back(r.Level);
  EXPECT_EQ(calmLevels, (std::vector{3, 4, 1, 2, 6}));

  // Batteries drained and changed every seven readings: only the oldest can go.
  Records sawtooth;
  for (int i = 0; i < 1000; ++i)
    sawtooth.push_back({i, BatteryEvent::Level, 6 - i % 7, 6});
  const Records bounded = CompactBatteryHistory(sawtooth, 100);
  ASSERT_EQ(bounded.size(), 100u);
  EXPECT_EQ(bounded.front().UnixSeconds, 900);
}

} // namespace
} // namespace receiver::test
