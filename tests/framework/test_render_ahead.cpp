// Drawing ahead: a drawn control renders a stale buffer on request, and the message loop's
// pauses run the work they are given.
#include "framework/QtMessageLoop.h"
#include "framework/WindowlessControl.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace framework;

namespace {

class Counted : public WindowlessControl {
public:
  int renders = 0;

protected:
  void Render(Canvas &canvas) override {
    ++renders;
    canvas.SetBrushColor(clRed);
    canvas.FillRect({0, 0, Width(), Height()});
  }
};

} // namespace

TEST(RenderAhead, AStaleShownControlRendersOnceAndOnlyWhenStaleAgain) {
  QWidget window;
  window.resize(40, 40);
  struct Case {
    const char *name;
    QRect bounds;
    bool hidden;
    bool renders;
  } const cases[] = {
      {"shown", {0, 0, 10, 10}, false, true},
      {"hidden on purpose", {0, 0, 10, 10}, true, false},
      {"without size", {0, 0, 0, 10}, false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    auto *control = new Counted;
    control->setParent(&window);
    control->SetBounds(c.bounds.x(), c.bounds.y(), c.bounds.width(), c.bounds.height());
    control->SetVisible(!c.hidden);
    EXPECT_EQ(control->RenderIfStale(), c.renders);
    EXPECT_EQ(control->renders, c.renders ? 1 : 0);
    EXPECT_FALSE(control->RenderIfStale()) << "a fresh buffer is not drawn again";
    if (!c.renders) continue;
    EXPECT_EQ(control->Buffer().pixel(0, 0), 0xFFFF0000u);
    control->Invalidate();
    EXPECT_TRUE(control->RenderIfStale());
    EXPECT_EQ(control->renders, 2);
  }
}

TEST(RenderAhead, PausesRunTheirWorkUntilItIsDoneAndLastTheirTime) {
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
