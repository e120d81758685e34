#include "ReceiverLogicFixture.h"

namespace receiver::test {
namespace {

class Readouts : public ReceiverLogicTest {
protected:
  void SetBattery(VirtualReceiver &r, std::uint8_t byte) {
    Change(r, [byte](VirtualReceiverState &s) { s.Battery = byte; });
  }
  void SetCpi(VirtualReceiver &r, std::uint8_t byte) {
    Change(r, [byte](VirtualReceiverState &s) { s.Cpi = byte; });
  }
};

TEST_F(Readouts, BatteryLevelsShowPercentAndColourOnASixStepScale) {
  VirtualReceiver &r = Connected();
  struct Case {
    std::uint8_t byte;
    double value;
    const char *label;
    std::uint32_t color;
  };
  const Case cases[] = {
      {0x15, 5, "83%", ReceiverLogic::ColorLime},   {0x00, 0, "0%", ReceiverLogic::ColorRed},
      {0x01, 1, "16%", ReceiverLogic::ColorRed},    {0x02, 2, "33%", ReceiverLogic::ColorYellow},
      {0x03, 3, "50%", ReceiverLogic::ColorYellow}, {0x04, 4, "66%", ReceiverLogic::ColorLime},
      {0xF6, 6, "100%", ReceiverLogic::ColorLime},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(static_cast<int>(c.byte));
    SetBattery(r, c.byte);
    Logic().btnBatteryClick();
    EXPECT_EQ(m_view.Value, c.value);
    EXPECT_EQ(m_view.Label, c.label);
    EXPECT_EQ(m_view.ColorMin, c.color);
    EXPECT_EQ(m_view.ColorMax, c.color);
  }
}

TEST_F(Readouts, ALevelAboveTheScaleChangesNothing) {
  VirtualReceiver &r = Connected(With([](VirtualReceiverState &s) { s.Battery = 0x12; }));
  ASSERT_EQ(m_view.Label, "33%");
  SetBattery(r, 0x07);
  Logic().btnBatteryClick();
  EXPECT_EQ(m_view.Value, 2);
  EXPECT_EQ(m_view.Label, "33%");
  EXPECT_EQ(m_view.ColorMin, ReceiverLogic::ColorYellow);
}

TEST_F(Readouts, WithoutTheConnectScaleLevelFiveIsFivePercentRed) {
  VirtualReceiver &r = Connected();
  m_view.Max = 100; // as if the connect battery exchange had failed
  SetBattery(r, 0x05);
  Logic().btnBatteryClick();
  EXPECT_EQ(m_view.Value, 5);
  EXPECT_EQ(m_view.Label, "5%");
  EXPECT_EQ(m_view.ColorMin, ReceiverLogic::ColorRed);
}

TEST_F(Readouts, AScaleBelowOneStepShowsNoPercentage) {
  VirtualReceiver &r = Connected();
  m_view.Max = 0.5;
  SetBattery(r, 0x00);
  Logic().btnBatteryClick();
  EXPECT_EQ(m_view.Value, 0);
  EXPECT_EQ(m_view.Label, "83%");
}

TEST_F(Readouts, CpiThresholdIsTen) {
  VirtualReceiver &r = Connected();
  SetCpi(r, 9);
  Logic().btnCPIClick();
  EXPECT_EQ(m_view.Cpi, "LOW");
  SetCpi(r, 10);
  Logic().btnCPIClick();
  EXPECT_EQ(m_view.Cpi, "HIGH");
  SetCpi(r, 9);
  Logic().btnCPIClick();
  SetCpi(r, 200);
  Logic().btnCPIClick();
  EXPECT_EQ(m_view.Cpi, "HIGH");
}

TEST_F(Readouts, AQueryWithoutAnswerChangesNothing) {
  VirtualReceiver &r = Connected(With([](VirtualReceiverState &s) {
    s.Battery = 0x12;
    s.Cpi = 3;
  }));
  ASSERT_EQ(m_view.Cpi, "LOW");
  Change(r, [](VirtualReceiverState &s) { s.FailWrites = true; });
  Logic().btnBatteryClick();
  Logic().btnCPIClick();
  // Every write failed: the request (code 11 for CPI, 10 for battery) must not pass as answer.
  EXPECT_EQ(m_view.Cpi, "LOW");
  EXPECT_EQ(m_view.Label, "33%");
  EXPECT_EQ(Sent("rx", CmdCPI), 5 + 1);
}

TEST_F(Readouts, QueriesWithoutAReceiverDoNothing) {
  Start();
  m_view.Label = "x";
  m_view.Cpi = "y";
  Logic().btnSystemStatusClick();
  Logic().btnBatteryClick();
  Logic().btnCPIClick();
  EXPECT_EQ(m_view.Label, "x");
  EXPECT_EQ(m_view.Cpi, "y");
  EXPECT_EQ(m_loop.Sleeps.size(), 0u);
}

TEST_F(Readouts, AnUnacknowledgedAnswerIsStillUsed) {
  VirtualReceiver &r = Connected();
  Change(r, [](VirtualReceiverState &s) {
    s.Ack = false;
    s.Battery = 0x14;
  });
  const int before = Sent("rx", CmdBattery);
  Logic().btnBatteryClick();
  EXPECT_EQ(Sent("rx", CmdBattery) - before, MaxTries);
  EXPECT_EQ(m_view.Label, "66%");
}

TEST_F(Readouts, StatusTickRunsTheThreeQueriesAndRestartsItsTimer) {
  VirtualReceiver &r = Connected();
  SetBattery(r, 0x13);
  SetCpi(r, 1);
  const int starts = m_status.Starts;
  const int statusBefore = Sent("rx", CmdStatus);
  const int pumps = m_loop.Pumps;
  Logic().tmrStatusTimer();
  EXPECT_EQ(Sent("rx", CmdStatus) - statusBefore, 1);
  EXPECT_EQ(m_view.Label, "50%");
  EXPECT_EQ(m_view.Cpi, "LOW");
  EXPECT_TRUE(m_status.Running());
  EXPECT_EQ(m_status.Starts, starts + 1);
  EXPECT_EQ(m_loop.Pumps - pumps, 3 + 1); // one per query, then its own
}

TEST_F(Readouts, StatusTickStopsItsTimerWhileItsQueriesPump) {
  Connected();
  bool runningInPump = true;
  m_loop.OnPump = [this, &runningInPump](int) {
    runningInPump = runningInPump && m_status.Running();
  };
  Logic().tmrStatusTimer();
  EXPECT_FALSE(runningInPump);
}

TEST_F(Readouts, LanguageShowsAtTheNextCpiQuery) {
  TermText cpiText{"HIGH", 1252};
  AddReceiver("rx");
  Start([&cpiText](TermId id) { return id == TermId::tmHigh ? cpiText : EnglishTerm(id); });
  ASSERT_EQ(m_view.Cpi, "HIGH");
  cpiText.Bytes = "  \xB0\xAA";
  EXPECT_EQ(m_view.Cpi, "HIGH");
  Logic().btnCPIClick();
  EXPECT_EQ(m_view.Cpi, "  \xB0\xAA");
}

} // namespace
} // namespace receiver::test
