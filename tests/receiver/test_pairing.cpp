#include "ReceiverLogicFixture.h"

namespace receiver::test {
namespace {

class Pairing : public ReceiverLogicTest {
protected:
  void Ticks(int count) {
    for (int i = 0; i < count; ++i)
      Logic().tmrSoftBindTimer();
  }
  void ExpectPairing() {
    EXPECT_TRUE(m_softBind.Running());
    EXPECT_EQ(m_view.Button, "&Connecting");
    EXPECT_EQ(m_view.LedColor, ReceiverLogic::ColorRed);
    EXPECT_TRUE(m_view.LedBlink);
  }
  void ExpectEnded() {
    EXPECT_FALSE(m_softBind.Running());
    EXPECT_EQ(m_view.Button, "&Connect");
    EXPECT_EQ(m_view.LedColor, ReceiverLogic::ColorLime);
    EXPECT_FALSE(m_view.LedBlink);
  }
};

TEST_F(Pairing, StartSendsThePairRequestOnceAndNeverReadsItBack) {
  Connected();
  std::vector<std::vector<std::uint8_t>> pairs;
  bool readAfterPair = false;
  const auto &calls = m_binding.Calls();
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].Op == "set_feature" && calls[i].Bytes.size() > 1 && calls[i].Bytes[1] == CmdPair) {
      pairs.push_back(calls[i].Bytes);
      readAfterPair = i + 1 < calls.size() && calls[i + 1].Op == "get_feature";
    }
  }
  ASSERT_EQ(pairs.size(), 1u);
  EXPECT_EQ(pairs[0], (std::vector<std::uint8_t>{1, 8, 0, 1, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(readAfterPair);
  EXPECT_EQ(Logic().BindTicks(), 0);
  ExpectPairing();
}

TEST_F(Pairing, WithoutChangeItEndsOnTheSixteenthTickAndRefreshesTheReadouts) {
  VirtualReceiver &r = Connected(With([](VirtualReceiverState &s) { s.Bind = {4, 7}; }));
  EXPECT_EQ(Logic().BindState1(), 4);
  EXPECT_EQ(Logic().BindState2(), 7);
  Ticks(15);
  ExpectPairing();
  EXPECT_EQ(m_view.Focused, 0);
  Change(r, [](VirtualReceiverState &s) {
    s.Battery = 0x12;
    s.Cpi = 2;
  });
  Ticks(1);
  ExpectEnded();
  EXPECT_EQ(m_view.Focused, 1);
  EXPECT_EQ(m_view.Label, "33%");
  EXPECT_EQ(m_view.Cpi, "LOW");
  EXPECT_TRUE(m_view.LedValue);
}

TEST_F(Pairing, AChangeOnTheSecondTickEndsAtOnceRunningTheEndStepsTwice) {
  VirtualReceiver &r = Connected(With([](VirtualReceiverState &s) { s.Query14 = {0, 0}; }));
  Ticks(1);
  EXPECT_EQ(Logic().BindState2(), 0);
  ExpectPairing();
  Change(r, [](VirtualReceiverState &s) { s.Query14 = {0, 5}; });
  const int batteryBefore = Sent("rx", CmdBattery);
  Ticks(1);
  ExpectEnded();
  EXPECT_EQ(m_view.Focused, 2);
  EXPECT_EQ(Sent("rx", CmdBattery) - batteryBefore, 2);
  EXPECT_EQ(Logic().BindTicks(), 16);
  EXPECT_EQ(Logic().BindState2(), 5);
}

TEST_F(Pairing, AFirstValueChangeIsAChangeToo) {
  VirtualReceiver &r = Connected();
  Ticks(3);
  Change(r, [](VirtualReceiverState &s) { s.Bind = {9, 0}; });
  Ticks(1);
  ExpectEnded();
  EXPECT_EQ(Logic().BindState1(), 9);
}

TEST_F(Pairing, PressingAgainRestartsTheCountAndSendsThePairRequestAgain) {
  VirtualReceiver &r = Connected();
  Ticks(10);
  Logic().btnCombo_Cmd_Soft_Bind_SWClick();
  EXPECT_EQ(Logic().BindTicks(), 0);
  EXPECT_EQ(r.PairRequests(), 2);
  Ticks(15);
  ExpectPairing();
  Ticks(1);
  ExpectEnded();
}

TEST_F(Pairing, TheStandardReceiverIgnoresTheSecondStatusByte) {
  VirtualReceiver &r = Connected(With([](VirtualReceiverState &s) { s.Bind = {1, 1}; }));
  Ticks(1);
  Change(r, [](VirtualReceiverState &s) { s.Bind = {1, 2}; });
  Ticks(5);
  ExpectPairing();
  EXPECT_GT(Sent("rx", CmdQuery), 0);
}

TEST_F(Pairing, TheAlternativeReceiverComparesBothStatusBytes) {
  VirtualReceiver &r = Connected(With([](VirtualReceiverState &s) {
                                   s.Bind = {1, 1};
                                 }),
                                 AltProduct);
  ASSERT_TRUE(m_connection.AltReceiver());
  Ticks(1);
  Change(r, [](VirtualReceiverState &s) { s.Query14 = {7, 7}; });
  Ticks(1);
  ExpectPairing();
  Change(r, [](VirtualReceiverState &s) { s.Bind = {1, 2}; });
  Ticks(1);
  ExpectEnded();
  EXPECT_EQ(Sent("rx", CmdQuery), 0);
}

TEST_F(Pairing, AFailedTickExchangeIsNoChangeAndKeepsTheBaseline) {
  VirtualReceiver &r = Connected(With([](VirtualReceiverState &s) {
                                   s.Bind = {3, 4};
                                 }),
                                 AltProduct);
  Change(r, [](VirtualReceiverState &s) { s.FailReads = true; });
  Ticks(1); // no values: the baseline from the start stays
  EXPECT_EQ(Logic().BindState1(), 3);
  EXPECT_EQ(Logic().BindState2(), 4);
  Ticks(3);
  ExpectPairing();
  Change(r, [](VirtualReceiverState &s) { s.FailReads = false; });
  Ticks(1);
  ExpectPairing();
  Ticks(11);
  ExpectEnded();
}

// A standard receiver's status answer (byte 2) and its pairing query (256 x report ID + byte 1)
// are on different scales: a value first read after a failed tick is its baseline, no change.
class PairingAfterAFailedFirstTick : public Pairing, public testing::WithParamInterface<bool> {};

TEST_P(PairingAfterAFailedFirstTick, TakesTheBaselineFromTheFirstValueRead) {
  const bool statusFails = GetParam();
  VirtualReceiver &r = Connected();
  bool failing = true;
  m_binding.Find("rx")->OnGetFeature = [&](std::uint8_t *data, std::size_t &length) {
    if (failing && (statusFails || data[1] == CmdQuery)) return false;
    return r.OnGetFeature(data, length);
  };
  Ticks(1);
  failing = false;
  Ticks(3);
  ExpectPairing();
  Change(r, [](VirtualReceiverState &s) { s.Query14 = {1, 3}; });
  Ticks(1);
  ExpectEnded();
  EXPECT_EQ(Logic().BindTicks(), ReceiverLogic::BindTickLimit);
}

INSTANTIATE_TEST_SUITE_P(EveryReadOrOnlyTheQuery, PairingAfterAFailedFirstTick, testing::Bool());

TEST_F(Pairing, AStartWithoutAReceiverOnlyResetsTheCount) {
  Start();
  Logic().btnCombo_Cmd_Soft_Bind_SWClick();
  EXPECT_FALSE(m_softBind.Running());
  EXPECT_EQ(m_view.Button, "&Connect");
  EXPECT_EQ(Logic().BindTicks(), 0);
}

TEST_F(Pairing, UnpluggingDuringPairingStopsItAndResetsTheButton) {
  Connected();
  Ticks(3);
  m_binding.Unplug("rx");
  m_loop.processPendingMessages();
  EXPECT_FALSE(m_softBind.Running());
  EXPECT_EQ(m_view.Button, "&Connect");
  EXPECT_FALSE(m_view.ButtonEnabled);
  EXPECT_FALSE(m_view.LedValue);
  // The reset leaves Blink as the attempt set it; an LED that is off does not blink, and the
  // next connection starts a new attempt that sets it again.
  EXPECT_TRUE(m_view.LedBlink);
}

// The end steps' queries pump; a new attempt started there (a click) must survive them.
TEST_F(Pairing, ANewAttemptStartedInsideTheEndQueriesIsNotCancelled) {
  VirtualReceiver &r = Connected();
  Ticks(1);
  Change(r, [](VirtualReceiverState &s) { s.Query14 = {0, 9}; });
  m_loop.OnPump = [this](int) {
    m_loop.OnPump = nullptr;
    Logic().btnCombo_Cmd_Soft_Bind_SWClick();
  };
  Ticks(1);
  ExpectPairing();
  EXPECT_EQ(Logic().BindTicks(), 0);
  EXPECT_EQ(m_view.Focused, 1);
  EXPECT_EQ(r.PairRequests(), 2);
}

} // namespace
} // namespace receiver::test
