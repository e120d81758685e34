#include "ReceiverLogicFixture.h"

#include "receiver/Notifications.h"

#include <vector>

namespace receiver::test {
namespace {

class RecordingPort final : public NotificationPort {
public:
  void Notify(const Notification &notification) override { Sent.push_back(notification); }
  std::vector<Notification> Sent;
};

constexpr Notification Low(int percent) {
  return {NotificationKind::BatteryLow, percent};
}

// Levels read one after another, and the readings after which the user is told.
struct LevelCase {
  const char *name;
  std::vector<int> levels;
  std::vector<std::size_t> toldAfter;
};

TEST(NotificationPolicyTest, ABatteryDropIsToldOncePerDrop) {
  const LevelCase cases[] = {
      {"full battery stays quiet", {6, 5, 4, 3}, {}},
      {"level two is not low", {3, 2, 2}, {}},
      {"a drop to one is told", {3, 2, 1}, {2}},
      {"a drop to zero is told", {4, 0}, {1}},
      {"low at the first reading is told", {1}, {0}},
      {"staying low is told once", {1, 1, 0, 1}, {0}},
      {"wavering below three stays quiet", {1, 2, 1, 2, 0}, {0}},
      {"back at three re-arms", {1, 3, 1}, {0, 2}},
      {"back above three re-arms", {0, 6, 2, 1}, {0, 3}},
      {"a re-armed policy stays quiet above one", {1, 3, 2, 3, 2}, {0}},
  };
  for (const LevelCase &c : cases) {
    SCOPED_TRACE(c.name);
    RecordingPort port;
    NotificationPolicy policy(port);
    std::vector<std::size_t> told;
    for (std::size_t i = 0; i < c.levels.size(); ++i) {
      const std::size_t before = port.Sent.size();
      policy.BatteryRead(c.levels[i], c.levels[i] * 100 / 6);
      if (port.Sent.size() != before) told.push_back(i);
    }
    EXPECT_EQ(told, c.toldAfter);
    for (const Notification &n : port.Sent)
      EXPECT_EQ(n.Kind, NotificationKind::BatteryLow);
  }
}

// The policy as the receiver logic drives it, on a virtual receiver.
class Notifications : public ReceiverLogicTest {
protected:
  Notifications() { m_notifications = &m_policy; }

  VirtualReceiver &Connected(std::uint8_t battery) {
    return ReceiverLogicTest::Connected(
        With([&](VirtualReceiverState &s) { s.Battery = battery; }));
  }
  void StatusTickAt(VirtualReceiver &r, std::uint8_t battery) {
    Change(r, [&](VirtualReceiverState &s) { s.Battery = battery; });
    Logic().tmrStatusTimer();
  }

  RecordingPort m_port;
  NotificationPolicy m_policy{m_port};
};

TEST_F(Notifications, TheWindowsBatteryReadingsDriveTheLowBatteryNotice) {
  VirtualReceiver &r = Connected(0x15);
  EXPECT_TRUE(m_port.Sent.empty());
  StatusTickAt(r, 0x11);
  ASSERT_EQ(m_port.Sent, std::vector<Notification>{Low(16)});
  StatusTickAt(r, 0x12);
  StatusTickAt(r, 0x10);
  EXPECT_EQ(m_port.Sent.size(), 1u);
  StatusTickAt(r, 0x13);
  StatusTickAt(r, 0x10);
  EXPECT_EQ(m_port.Sent, (std::vector<Notification>{Low(16), Low(0)}));
}

TEST_F(Notifications, AReadingTheGaugeRefusesIsNoReading) {
  // Level 7 is beyond the gauge's six steps: the window ignores it, and so does the policy.
  VirtualReceiver &r = Connected(0x11);
  ASSERT_EQ(m_port.Sent.size(), 1u);
  StatusTickAt(r, 0x17);
  StatusTickAt(r, 0x11);
  EXPECT_EQ(m_port.Sent.size(), 1u);
}

TEST_F(Notifications, PairingTellsOnlyWhenANewMouseIsBound) {
  VirtualReceiver &r = Connected(0x15);
  for (int i = 0; i < ReceiverLogic::BindTickLimit; ++i)
    Logic().tmrSoftBindTimer();
  EXPECT_TRUE(m_port.Sent.empty()) << "pairing that timed out";

  Logic().btnCombo_Cmd_Soft_Bind_SWClick();
  Logic().tmrSoftBindTimer();
  Change(r, [](VirtualReceiverState &s) { s.Bind = {3, 0}; });
  Logic().tmrSoftBindTimer();
  ASSERT_EQ(m_port.Sent.size(), 1u);
  EXPECT_EQ(m_port.Sent[0].Kind, NotificationKind::MouseBound);
}

} // namespace
} // namespace receiver::test
