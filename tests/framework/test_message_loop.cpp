// The message loop's pauses run the work they are given.
#include "framework/QtMessageLoop.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace framework;

TEST(QtMessageLoop, PausesRunTheirWorkUntilItIsDoneAndLastTheirTime) {
  using Clock = std::chrono::steady_clock;
  QtMessageLoop loop;
  int steps = 0;
  loop.SetPauseWork([&steps] { return ++steps < 3; });
  const auto start = Clock::now();
  loop.sleep(std::chrono::milliseconds(20));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(20)) << "work does not shorten it";
  EXPECT_EQ(steps, 3) << "the step that said it was the last is the last";
  loop.sleep(std::chrono::milliseconds(1));
  EXPECT_EQ(steps, 3) << "finished work is not called again";

  // A step may hand over to other work.
  int handedOver = 0;
  loop.SetPauseWork([&] {
    loop.SetPauseWork([&handedOver] { return ++handedOver < 2; });
    return true;
  });
  loop.sleep(std::chrono::milliseconds(1));
  EXPECT_EQ(handedOver, 2);

  // Work that never ends is cut off at the end of each pause, and cleared it is gone.
  int endless = 0;
  loop.SetPauseWork([&endless] { return ++endless > 0; });
  loop.sleep(std::chrono::milliseconds(2));
  EXPECT_GT(endless, 0);
  const int afterFirst = endless;
  loop.SetPauseWork({});
  loop.sleep(std::chrono::milliseconds(2));
  EXPECT_EQ(endless, afterFirst);
}
