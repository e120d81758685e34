#include "app/SignalQuit.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace app {
namespace {

using namespace std::chrono_literals;

TEST(SignalQuit, ASignalQuitsTheEventLoop) {
  for (const int signal : {SIGTERM, SIGINT}) {
    std::string error;
    const auto quit = SignalQuit::Install(10s, error);
    ASSERT_TRUE(quit) << error;
    QTimer::singleShot(0, [signal] { ::kill(::getpid(), signal); });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    QObject::connect(&failsafe, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    failsafe.start(5000);
    EXPECT_EQ(QCoreApplication::exec(), 0) << signal;
  }
}

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
