// The real program on the offscreen platform, driven by scenario files; the trace it writes is
// what these tests read.
#include "common/ProgramRun.h"

#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

struct Trace {
  std::vector<QJsonObject> Events;

  std::vector<QJsonObject> States() const { return Of("state"); }
  std::vector<QJsonObject> Of(const QString &kind) const {
    return testcommon::EventsOf(Events, kind);
  }
  // Feature-report writes whose command code (byte 1) is `code`.
  std::vector<QJsonObject> Writes(int code) const {
    std::vector<QJsonObject> out;
    for (const QJsonObject &e : Of("feature")) {
      const QStringList bytes = e.value("bytes").toString().split(' ');
      if (e.value("op").toString() == "set" && bytes.size() > 1 &&
          bytes[1].toInt(nullptr, 16) == code)
        out.push_back(e);
    }
    return out;
  }
  template <typename Predicate> bool AnyState(Predicate holds) const {
    const auto states = States();
    return std::any_of(states.begin(), states.end(), holds);
  }
  QJsonObject LastState() const {
    const auto states = States();
    return states.empty() ? QJsonObject() : states.back();
  }
};

long long T(const QJsonObject &event) {
  return event.value("t").toInteger();
}

bool Pairing(const QJsonObject &state) {
  return state.value("timers").toObject().value("pairing").toBool();
}
QString LedColor(const QJsonObject &state) {
  return state.value("led").toObject().value("color").toString();
}
bool LedBlink(const QJsonObject &state) {
  return state.value("led").toObject().value("blink").toBool();
}
bool LedOn(const QJsonObject &state) {
  return state.value("led").toObject().value("value").toBool();
}

constexpr const char *Red = "0x000000FF";
constexpr const char *Lime = "0x0000FF00";

// Runs the program on one scenario of the data folder and reads its trace.
std::optional<Trace> RunScenario(const QString &scenario, int timeoutMs = 30000) {
  const testcommon::ProgramHome home;
  auto events = home.RunTraced({"--simulate=" QUELVANE_TEST_DATA "/" + scenario}, timeoutMs);
  if (events.empty()) return std::nullopt;
  return Trace{std::move(events)};
}

TEST(E2eReceiver, ReadoutsShowBatteryAndFollowTheCpi) {
  const auto trace = RunScenario("receiver_readouts.json");
  ASSERT_TRUE(trace);
  const QJsonObject last = trace->LastState();
  ASSERT_FALSE(last.isEmpty());
  EXPECT_TRUE(LedOn(last));
  EXPECT_EQ(last.value("vid").toString(), "3A7E");
  EXPECT_EQ(last.value("pid").toString(), "0A11");
  const QJsonObject gauge = last.value("gauge").toObject();
  EXPECT_EQ(gauge.value("max").toDouble(), 6);
  EXPECT_EQ(gauge.value("value").toDouble(), 5);
  EXPECT_EQ(gauge.value("color").toString(), Lime);
  EXPECT_EQ(last.value("label").toString(), "83%");
  EXPECT_EQ(last.value("cpi").toString(), "HIGH");
  EXPECT_TRUE(trace->AnyState([](const QJsonObject &s) { return s.value("cpi") == "LOW"; }));
}

TEST(E2eReceiver, AReceiverThatNeverAcknowledgesGetsFiveExchangesAQuery) {
  const auto trace = RunScenario("receiver_no_ack.json");
  ASSERT_TRUE(trace);
  // The CPI command is only ever sent by the acknowledged query.
  const auto cpi = trace->Writes(11);
  ASSERT_FALSE(cpi.empty());
  EXPECT_EQ(cpi.size() % 5, 0u);
  // The answers are still used.
  EXPECT_EQ(trace->LastState().value("cpi").toString(), "HIGH");
  EXPECT_EQ(trace->LastState().value("label").toString(), "50%");
}

TEST(E2eReceiver, UnpluggingTheReceiverLeavesTheNotConnectedState) {
  const auto trace = RunScenario("receiver_unplug.json");
  ASSERT_TRUE(trace);
  const QJsonObject last = trace->LastState();
  EXPECT_FALSE(LedOn(last));
  EXPECT_EQ(last.value("vid").toString(), "");
  EXPECT_EQ(last.value("pid").toString(), "");
  EXPECT_EQ(last.value("cpi").toString(), "");
  EXPECT_EQ(last.value("label").toString(), " ");
  EXPECT_EQ(last.value("gauge").toObject().value("value").toDouble(), 0);
  const QJsonObject button = last.value("button").toObject();
  EXPECT_EQ(button.value("caption").toString(), "&Connect");
  EXPECT_FALSE(button.value("enabled").toBool());
  EXPECT_FALSE(Pairing(last));
  // The status timer stops with the device change, but runs on when the change was handled
  // inside a tick's queries; either way nothing is sent once the receiver is gone.
  bool seenConnected = false;
  bool disconnected = false;
  int sentAfter = 0;
  for (const QJsonObject &event : trace->Events) {
    if (event.value("ev").toString() == "state") {
      seenConnected = seenConnected || LedOn(event);
      disconnected = disconnected || (seenConnected && !LedOn(event));
    } else if (disconnected && event.value("ev").toString() == "feature") {
      ++sentAfter;
    }
  }
  EXPECT_TRUE(disconnected);
  EXPECT_EQ(sentAfter, 0);
}

TEST(E2eReceiver, PluggingAnUnrelatedDeviceStartsANewPairingAttempt) {
  const auto trace = RunScenario("receiver_unrelated_plug.json");
  ASSERT_TRUE(trace);
  const auto pairs = trace->Writes(8);
  ASSERT_EQ(pairs.size(), 2u);
  // Between the two attempts the first one had ended.
  EXPECT_TRUE(trace->AnyState([&](const QJsonObject &s) {
    return T(s) > T(pairs[0]) && T(s) < T(pairs[1]) && !Pairing(s) && LedOn(s);
  }));
  const QJsonObject last = trace->LastState();
  EXPECT_TRUE(Pairing(last));
  EXPECT_TRUE(LedOn(last));
  EXPECT_TRUE(LedBlink(last));
  EXPECT_EQ(LedColor(last), Red);
  EXPECT_EQ(last.value("button").toObject().value("caption").toString(), "&Connecting");
}

// Time from the pair request to the first state that shows the attempt over.
std::optional<long long> AttemptLength(const Trace &trace) {
  const auto pairs = trace.Writes(8);
  if (pairs.size() != 1) return std::nullopt;
  for (const QJsonObject &state : trace.States())
    if (T(state) >= T(pairs[0]) && !Pairing(state) && LedColor(state) == Lime && !LedBlink(state))
      return T(state) - T(pairs[0]);
  return std::nullopt;
}

TEST(E2eReceiver, APairingChangeOnTheSecondTickEndsTheAttemptAfterAboutTwoSeconds) {
  const auto trace = RunScenario("receiver_pair_change.json");
  ASSERT_TRUE(trace);
  EXPECT_TRUE(trace->AnyState(
      [](const QJsonObject &s) { return Pairing(s) && LedBlink(s) && LedColor(s) == Red; }));
  const auto length = AttemptLength(*trace);
  ASSERT_TRUE(length);
  EXPECT_GE(*length, 1800);
  EXPECT_LE(*length, 2900);
  // One pairing-state query per tick: tick 1 took the baseline, tick 2 saw the change.
  const auto queries = trace->Writes(3);
  long long before = 0;
  for (const QJsonObject &q : queries)
    before += T(q) <= T(trace->Writes(8)[0]) + *length ? 1 : 0;
  EXPECT_EQ(before, 2);
}

TEST(E2eReceiver, AFailedFirstPairingTickIsNoBinding) {
  const auto trace = RunScenario("receiver_pair_first_tick_fails.json");
  ASSERT_TRUE(trace);
  ASSERT_EQ(trace->Writes(8).size(), 1u);
  // The scenario's window did catch a tick: a pairing query whose read failed.
  bool queryFailed = false;
  const auto features = trace->Of("feature");
  for (std::size_t i = 1; i < features.size(); ++i)
    queryFailed = queryFailed || (features[i].value("op").toString() == "get" &&
                                  !features[i].value("ok").toBool() &&
                                  features[i - 1].value("bytes").toString().startsWith("01 03 0E"));
  EXPECT_TRUE(queryFailed);
  EXPECT_FALSE(AttemptLength(*trace));
  EXPECT_TRUE(Pairing(trace->LastState()));
}

TEST(E2eReceiver, WithoutAChangeTheLedTurnsSteadyLimeAfterSixteenSeconds) {
  const auto trace = RunScenario("receiver_pair_timeout.json", 60000);
  ASSERT_TRUE(trace);
  const auto length = AttemptLength(*trace);
  ASSERT_TRUE(length);
  // The framework's timers are coarse (up to 5 % early or late per tick); the query count below
  // pins the number of ticks.
  EXPECT_GE(*length, 15200);
  EXPECT_LE(*length, 17500);
  EXPECT_EQ(trace->Writes(3).size(), 16u);
  const QJsonObject last = trace->LastState();
  EXPECT_EQ(LedColor(last), Lime);
  EXPECT_FALSE(LedBlink(last));
  EXPECT_EQ(last.value("button").toObject().value("caption").toString(), "&Connect");
}

} // namespace
