#include "ReceiverLogicFixture.h"

#include "receiver/BatteryRecorder.h"

#include <vector>

namespace receiver::test {
namespace {

class MemoryStore final : public BatteryHistoryStore {
public:
  void Append(const BatteryRecord &record) override { Appended.push_back(record); }
  std::vector<BatteryRecord> Appended;
};

std::vector<BatteryEvent> Events(const std::vector<BatteryRecord> &records) {
  std::vector<BatteryEvent> events;
  for (const BatteryRecord &r : records)
    events.push_back(r.Event);
  return events;
}

// The recorder as the receiver logic drives it, with the clock in the test's hands.
class BatteryRecording : public ReceiverLogicTest {
protected:
  BatteryRecording() { m_recorder = &m_history; }

  VirtualReceiver &Connected(std::uint8_t battery) {
    return ReceiverLogicTest::Connected(
        With([&](VirtualReceiverState &s) { s.Battery = battery; }));
  }
  void TickAt(VirtualReceiver &r, std::uint8_t battery) {
    ++m_now;
    Change(r, [&](VirtualReceiverState &s) { s.Battery = battery; });
    Logic().tmrStatusTimer();
  }

  MemoryStore m_store;
  std::int64_t m_now = 1000;
  BatteryRecorder m_history{m_store, {{5, BatteryEvent::Level, 4, 6}}, [this] { return m_now; }};
};

TEST_F(BatteryRecording, OnlyChangesAreRecordedAndTheStoreGetsEachOnce) {
  VirtualReceiver &r = Connected(0x14);
  using enum BatteryEvent;
  TickAt(r, 0x14);
  TickAt(r, 0x13);
  TickAt(r, 0x13);
  TickAt(r, 0x17); // beyond the gauge: no reading
  TickAt(r, 0x16);
  EXPECT_EQ(Events(m_store.Appended), (std::vector{Connected, Level, Level}))
      << "the first level repeats the stored one";
  EXPECT_EQ(m_store.Appended[1].Level, 3);
  EXPECT_EQ(m_store.Appended[2].UnixSeconds, 1005);
  EXPECT_EQ(m_history.Records().size(), 4u);

  m_binding.Unplug("rx");
  m_loop.processPendingMessages();
  m_binding.Plug("rx");
  m_loop.processPendingMessages();
  EXPECT_EQ(Events(m_store.Appended),
            (std::vector{Connected, Level, Level, Disconnected, Connected}));
}

TEST_F(BatteryRecording, ABoundMouseIsRecordedAndItsFirstLevelTooEvenWhenTheSame) {
  VirtualReceiver &r = BatteryRecording::Connected(0x14);
  Logic().btnCombo_Cmd_Soft_Bind_SWClick();
  Logic().tmrSoftBindTimer();
  Change(r, [](VirtualReceiverState &s) { s.Bind = {3, 0}; });
  Logic().tmrSoftBindTimer();
  using enum BatteryEvent;
  EXPECT_EQ(Events(m_store.Appended), (std::vector{Connected, NewMouse, Level}));
  const BatteryOutlook &outlook = m_history.Outlook();
  ASSERT_FALSE(outlook.Periods.empty());
  EXPECT_EQ(outlook.Periods.back().Began, BatteryStart::NewMouse);
}

} // namespace
} // namespace receiver::test
