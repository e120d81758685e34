#include "ReceiverLogicFixture.h"

#include <algorithm>
#include <optional>

namespace receiver {
namespace {

using namespace std::chrono_literals;

// The connection alone, without the logic: the test scans, holds every device and picks one.
class Exchange : public test::ReceiverLogicTest {
protected:
  // Scans and checks out every device; the connection addresses the one named.
  void Connect(const std::string &id, std::uint32_t featureLength = 9) {
    m_controller = std::make_unique<hid::TJvHidDeviceController>(m_binding, m_loop);
    m_loop.processPendingMessages(); // the first scan, posted at creation
    std::unique_ptr<hid::TJvHidDevice> device;
    while (m_controller->CheckOutNext(device))
      m_devices[device->PnPInfo().DevicePath()] = std::move(device);
    ASSERT_EQ(m_devices.count(m_binding.PathOf(id)), 1u);
    m_connection.SetFeatureLengths(featureLength);
    m_connection.SetCurrentReceiver(Device(id));
    m_loop.Pumps = 0;
    m_loop.Sleeps.clear();
  }

  hid::TJvHidDevice *Device(const std::string &id) {
    return m_devices.at(m_binding.PathOf(id)).get();
  }

  std::map<std::string, std::unique_ptr<hid::TJvHidDevice>> m_devices;
};

// How many tries a query takes, each a write, a pause, a pump and (after a good write) a read.
struct TriesCase {
  const char *name;
  std::function<void(VirtualReceiverState &)> state;
  std::uint8_t command;
  std::optional<int> answer; // byte 1 of the answer
  int sets, gets;
};

TEST_F(Exchange, EachTryIsOneExchangeOnePauseOnePump) {
  const TriesCase cases[] = {
      {"immediate acknowledgement", [](VirtualReceiverState &) {}, CmdBattery, 0x15, 1, 1},
      {"acknowledgement after two tries", [](VirtualReceiverState &s) { s.AckAfter = 2; },
       CmdStatus, 0, 3, 3},
      // A dead receiver's buffer holds the request; it must not be read as a CPI of 11 (HIGH).
      {"refused writes: no read and no answer",
       [](VirtualReceiverState &s) { s.FailWrites = true; }, CmdCPI, std::nullopt, MaxTries, 0},
      {"refused reads: no answer", [](VirtualReceiverState &s) { s.FailReads = true; }, CmdBattery,
       std::nullopt, MaxTries, MaxTries},
  };
  for (const TriesCase &c : cases) {
    SCOPED_TRACE(c.name);
    m_devices.clear(); // back to the controller that Connect() replaces
    VirtualReceiver &r = AddReceiver(c.name, With(c.state));
    Connect(c.name);
    const auto answer = m_connection.ExchangeWithAck(c.command);
    EXPECT_EQ(answer ? std::optional<int>((*answer)[1]) : std::nullopt, c.answer);
    if (answer) {
      EXPECT_EQ((*answer)[AckIndex], AckByte);
    }
    EXPECT_EQ(r.Sets(), c.sets);
    EXPECT_EQ(r.Gets(), c.gets);
    EXPECT_EQ(m_loop.Pumps, c.sets);
    EXPECT_EQ(m_loop.Sleeps, std::vector<std::chrono::milliseconds>(c.sets, 1ms));
  }
}

TEST_F(Exchange, NeverAcknowledgingReceiverGetsFiveTriesAndTheFifthAnswerIsUsed) {
  VirtualReceiverState state;
  state.Ack = false;
  state.Cpi = 9;
  VirtualReceiver &r = AddReceiver("rx", state);
  Connect("rx");
  m_loop.OnPump = [&](int pump) {
    VirtualReceiverChange change;
    change.Cpi = static_cast<std::uint8_t>(20 + pump); // tells the answers apart
    r.Apply(change);
  };
  const auto answer = m_connection.ExchangeWithAck(CmdCPI);
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ((*answer)[1], 24); // asked after the fourth pump
  EXPECT_EQ(r.Sets(), MaxTries);
  EXPECT_EQ(r.Gets(), MaxTries);
  EXPECT_EQ(m_loop.Pumps, MaxTries);
  EXPECT_EQ(m_loop.Sleeps.size(), static_cast<std::size_t>(MaxTries));
}

TEST_F(Exchange, LastAnswerReadIsKeptWhenLaterTriesFail) {
  VirtualReceiverState state;
  state.Ack = false;
  state.Battery = 0x13;
  VirtualReceiver &r = AddReceiver("rx", state);
  Connect("rx");
  m_loop.OnPump = [&](int pump) {
    if (pump == 2) {
      VirtualReceiverChange change;
      change.FailWrites = true;
      r.Apply(change);
    }
  };
  const auto answer = m_connection.ExchangeWithAck(CmdBattery);
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ((*answer)[1], 0x13);
  EXPECT_EQ(r.Sets(), MaxTries);
  EXPECT_EQ(r.Gets(), 2);
}

TEST_F(Exchange, NoCurrentReceiverMeansNoAnswerAndNoPump) {
  AddReceiver("rx");
  Connect("rx");
  m_connection.SetCurrentReceiver(nullptr);
  EXPECT_FALSE(m_connection.ExchangeWithAck(CmdStatus).has_value());
  EXPECT_EQ(m_loop.Pumps, 0);
}

TEST_F(Exchange, PairIsWrittenOnceAndNeverRead) {
  VirtualReceiver &r = AddReceiver("rx");
  Connect("rx");
  CommandReport pair = m_connection.Request(CmdPair, 0, PairStart);
  EXPECT_EQ(pair[3], 1);
  m_connection.SendOnly(pair);
  EXPECT_EQ(r.PairRequests(), 1);
  EXPECT_EQ(r.Sets(), 1);
  EXPECT_EQ(r.Gets(), 0);

  VirtualReceiverChange change;
  change.FailWrites = true;
  r.Apply(change);
  m_connection.SendOnly(pair);
  EXPECT_EQ(r.Sets(), 2);
  EXPECT_EQ(r.Gets(), 0);
  EXPECT_EQ(m_loop.Pumps, 0);
}

TEST_F(Exchange, ReceiverDroppedInsideThePumpEndsTheQuery) {
  VirtualReceiverState state;
  state.Ack = false;
  VirtualReceiver &r = AddReceiver("rx", state);
  Connect("rx");
  m_loop.OnPump = [&](int) {
    // What the discovery does on a device change: forget the receiver, give the device back.
    m_binding.Unplug("rx");
    m_connection.SetCurrentReceiver(nullptr);
    m_devices.clear();
  };
  EXPECT_FALSE(m_connection.ExchangeWithAck(CmdStatus).has_value());
  EXPECT_EQ(r.Sets(), 1);
  EXPECT_EQ(m_loop.Pumps, 1);
}

// The remaining tries go to the new receiver, and only its answers count.
struct Replacement {
  const char *name;
  bool firstAcknowledges;
  int replacedAtPump;
  bool secondAnswers;
  std::optional<int> cpi;
  int firstSets, secondSets;
  friend void PrintTo(const Replacement &r, std::ostream *os) { *os << r.name; }
};

class ExchangeReplaced : public Exchange, public testing::WithParamInterface<Replacement> {};

TEST_P(ExchangeReplaced, OnlyTheReceiverCurrentAtTheEndAnswers) {
  const Replacement &c = GetParam();
  VirtualReceiverState old;
  old.Ack = c.firstAcknowledges;
  old.Cpi = 1;
  VirtualReceiver &first = AddReceiver("a", old);
  VirtualReceiverState current;
  current.AckAfter = 1;
  current.Cpi = 42;
  current.FailReads = !c.secondAnswers;
  VirtualReceiver &second = AddReceiver("b", current);
  Connect("a");
  m_loop.OnPump = [&](int pump) {
    if (pump != c.replacedAtPump) return;
    m_connection.SetCurrentReceiver(Device("b"));
    m_devices.erase(m_binding.PathOf("a"));
  };
  const auto answer = m_connection.ExchangeWithAck(CmdCPI);
  EXPECT_EQ(answer ? std::optional<int>((*answer)[1]) : std::nullopt, c.cpi);
  EXPECT_EQ(first.Sets(), c.firstSets);
  EXPECT_EQ(second.Sets(), c.secondSets);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExchangeReplaced,
    testing::Values(
        // The new receiver's first answer is unacknowledged, its second one is taken.
        Replacement{"NewOneAnswers", false, 2, true, 42, 2, 2},
        Replacement{"NewOneNeverAnswers", false, 2, false, std::nullopt, 2, 3},
        Replacement{"AcknowledgedJustBeforeTheChange", true, 1, false, std::nullopt, 1, 4}),
    [](const testing::TestParamInfo<Replacement> &p) { return p.param.name; });

// A read that delivers fewer bytes than the report is a failed try, whatever the buffer still
// holds (here the request: a CPI code of 11 would read as HIGH).
TEST_F(Exchange, AShortAnswerIsAFailedTry) {
  VirtualReceiverState state;
  state.Cpi = 3;
  VirtualReceiver &r = AddReceiver("rx", state);
  std::size_t delivered = 0;
  m_binding.Find("rx")->OnGetFeature = [&](std::uint8_t *data, std::size_t &length) {
    const bool ok = r.OnGetFeature(data, length);
    length = std::min(length, delivered);
    return ok;
  };
  Connect("rx");
  for (const std::size_t bytes : {0, 1, 2, 8, 9}) {
    SCOPED_TRACE(testing::Message() << "delivering " << bytes);
    delivered = bytes;
    const bool whole = bytes == CommandReportLength;
    const int setsBefore = r.Sets();
    const auto answer = m_connection.ExchangeWithAck(CmdCPI);
    EXPECT_EQ(answer ? std::optional<int>((*answer)[1]) : std::nullopt,
              whole ? std::optional<int>(3) : std::nullopt);
    EXPECT_EQ(r.Sets() - setsBefore, whole ? 1 : MaxTries);
    CommandReport request = m_connection.Request(CmdStatus);
    EXPECT_EQ(m_connection.Exchange(*Device("rx"), request), whole);
  }
}

TEST_F(Exchange, LongFeatureReportNeverOverrunsTheBuffer) {
  VirtualReceiver &r = AddReceiver("rx", {}, StandardProduct, 64);
  Connect("rx", 64);
  const auto answer = m_connection.ExchangeWithAck(CmdBattery);
  ASSERT_TRUE(answer.has_value());
  ASSERT_GE(answer->size(), 64u);
  EXPECT_EQ((*answer)[1], 0x15);
  EXPECT_EQ((*answer)[63], VirtualReceiver::Filler); // the device did write all 64 bytes
  EXPECT_EQ(r.Gets(), 1);

  // A caller's 9-byte buffer is grown before the device sees it.
  CommandReport small(9, 0);
  small[0] = CommandReportId;
  small[1] = CmdStatus;
  EXPECT_TRUE(m_connection.Exchange(*Device("rx"), small));
  EXPECT_GE(small.size(), 64u);
  m_connection.SendOnly(small);
}

} // namespace
} // namespace receiver
