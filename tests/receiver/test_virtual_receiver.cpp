#include "receiver/VirtualReceiver.h"

#include <gtest/gtest.h>

#include <vector>

namespace receiver {
namespace {

std::vector<std::uint8_t> Ask(VirtualReceiver &r, std::uint8_t code, std::uint8_t subCode = 0,
                              std::size_t length = CommandReportLength) {
  CommandReport request = MakeRequest(code, subCode, 0, length);
  EXPECT_TRUE(r.OnSetFeature(request.data(), length));
  std::vector<std::uint8_t> answer(length, 0x77);
  EXPECT_TRUE(r.OnGetFeature(answer.data(), length));
  return answer;
}

TEST(VirtualReceiver, AnswersEachQueryWithItsValuesAndAck) {
  VirtualReceiverState state;
  state.Battery = 0x15;
  state.Cpi = 200;
  state.Bind = {3, 4};
  state.Query14 = {0x12, 0x34};
  VirtualReceiver r(state);

  EXPECT_EQ(Ask(r, CmdStatus), (std::vector<std::uint8_t>{1, 3, 4, 0, 0, 0, 0, AckByte, 0}));
  EXPECT_EQ(Ask(r, CmdBattery), (std::vector<std::uint8_t>{1, 0x15, 0, 0, 0, 0, 0, AckByte, 0}));
  EXPECT_EQ(Ask(r, CmdCPI), (std::vector<std::uint8_t>{1, 200, 0, 0, 0, 0, 0, AckByte, 0}));
  EXPECT_EQ(Ask(r, CmdQuery, QuerySubCodePairing),
            (std::vector<std::uint8_t>{0x12, 0x34, 0, 0, 0, 0, 0, AckByte, 0}));
  // Another sub-code is no query it knows.
  EXPECT_EQ(Ask(r, CmdQuery, 15), (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(VirtualReceiver, RefusesWhatItIsToldToRefuseAndMalformedWrites) {
  VirtualReceiverState state;
  state.FailWrites = true;
  VirtualReceiver r(state);
  CommandReport request = MakeRequest(CmdStatus);
  EXPECT_FALSE(r.OnSetFeature(request.data(), request.size()));

  VirtualReceiverChange change;
  change.FailWrites = false;
  change.FailReads = true;
  r.Apply(change);
  EXPECT_TRUE(r.OnSetFeature(request.data(), request.size()));
  std::vector<std::uint8_t> answer(9);
  EXPECT_FALSE(r.OnGetFeature(answer.data(), answer.size()));

  request[0] = 2; // another report ID
  EXPECT_FALSE(r.OnSetFeature(request.data(), request.size()));
  EXPECT_FALSE(r.OnSetFeature(request.data(), 1));
  EXPECT_EQ(r.Sets(), 4);
  EXPECT_EQ(r.Gets(), 1);
}

TEST(VirtualReceiver, AcknowledgesOnlyAfterTheGivenNumberOfTries) {
  VirtualReceiverState state;
  state.AckAfter = 2;
  VirtualReceiver r(state);
  EXPECT_NE(Ask(r, CmdCPI)[AckIndex], AckByte);
  EXPECT_NE(Ask(r, CmdCPI)[AckIndex], AckByte);
  EXPECT_EQ(Ask(r, CmdCPI)[AckIndex], AckByte);
  // The count starts again after an acknowledgement and with every other command.
  EXPECT_NE(Ask(r, CmdCPI)[AckIndex], AckByte);
  EXPECT_NE(Ask(r, CmdBattery)[AckIndex], AckByte);
  EXPECT_NE(Ask(r, CmdBattery)[AckIndex], AckByte);
  EXPECT_EQ(Ask(r, CmdBattery)[AckIndex], AckByte);

  VirtualReceiverChange never;
  never.Ack = false;
  r.Apply(never);
  for (int i = 0; i < 10; ++i)
    EXPECT_NE(Ask(r, CmdStatus)[AckIndex], AckByte);
}

TEST(VirtualReceiver, AnswerNeverGoesPastTheRequestedOrItsOwnLength) {
  VirtualReceiver r({}, 64);
  // A reader that asks for less than the report gets no more than it asked for.
  std::vector<std::uint8_t> shortBuffer(20, 0x77);
  ASSERT_TRUE(r.OnGetFeature(shortBuffer.data(), 9));
  EXPECT_EQ(shortBuffer[9], 0x77);
  // And a 9-byte device never writes past its 9 bytes.
  VirtualReceiver nine;
  std::vector<std::uint8_t> wide(32, 0x77);
  CommandReport request = MakeRequest(CmdStatus);
  ASSERT_TRUE(nine.OnSetFeature(request.data(), request.size()));
  ASSERT_TRUE(nine.OnGetFeature(wide.data(), wide.size()));
  EXPECT_EQ(wide[9], 0x77);
}

} // namespace
} // namespace receiver
