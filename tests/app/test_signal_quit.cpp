#include "app/SignalQuit.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <tuple>

namespace app {
namespace {

using namespace std::chrono_literals;

// A signal that arrives while start-up handles events outside the loop quits the loop once it
// runs.
class SignalQuitLoop : public testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(SignalQuitLoop, ASignalQuitsTheEventLoop) {
  const auto [signal, beforeTheLoop] = GetParam();
  std::string error;
  const auto quit = SignalQuit::Install(10s, error);
  ASSERT_TRUE(quit) << error;
  if (beforeTheLoop) {
    ::kill(::getpid(), signal);
    const auto end = std::chrono::steady_clock::now() + 300ms;
    while (std::chrono::steady_clock::now() < end)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  } else {
    QTimer::singleShot(0, [signal] { ::kill(::getpid(), signal); });
  }
  QTimer failsafe;
  failsafe.setSingleShot(true);
  QObject::connect(&failsafe, &QTimer::timeout, [] { QCoreApplication::exit(7); });
  failsafe.start(5000);
  EXPECT_EQ(QCoreApplication::exec(), 0);
}

INSTANTIATE_TEST_SUITE_P(TermAndInt, SignalQuitLoop,
                         testing::Combine(testing::Values(SIGTERM, SIGINT), testing::Bool()));

// The death test runs in a fresh copy of the test program, which has other threads.
class SignalQuitDeathTest : public testing::TestWithParam<int> {
protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_P(SignalQuitDeathTest, ASignalEndsAProgramBusyOutsideItsLoop) {
  const int signal = GetParam();
  EXPECT_EXIT(
      {
        std::string error;
        const auto quit = SignalQuit::Install(100ms, error);
        ::kill(::getpid(), signal);
        const auto end = std::chrono::steady_clock::now() + 20s;
        while (std::chrono::steady_clock::now() < end) {
        } // never returns to an event loop
        std::exit(0);
      },
      testing::KilledBySignal(signal), "");
}

INSTANTIATE_TEST_SUITE_P(TermAndInt, SignalQuitDeathTest, testing::Values(SIGTERM, SIGINT));

} // namespace
} // namespace app
