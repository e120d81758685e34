#include "app/AfterFirstPaint.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Painting records that it happened; the work records whether the window had been painted then.
class PaintedWindow final : public QWidget {
public:
  bool Painted = false;

protected:
  void paintEvent(QPaintEvent *) override { Painted = true; }
};

struct Runs {
  int Times = 0;
  bool AfterPaint = false;
};

TEST(AfterFirstPaint, RunsOnceAtTheTurnAfterTheFirstPaint) {
  PaintedWindow window;
  window.resize(40, 30);
  // Shown but kept from painting until the test lets it.
  window.setUpdatesEnabled(false);
  window.show();
  Runs run;
  app::AfterFirstPaint(window, [&] {
    ++run.Times;
    run.AfterPaint = window.Painted;
  });
  QCoreApplication::processEvents();
  EXPECT_EQ(run.Times, 0);
  window.setUpdatesEnabled(true);
  window.repaint();
  EXPECT_EQ(run.Times, 0); // not inside the paint
  QCoreApplication::processEvents();
  window.repaint();
  QCoreApplication::processEvents();
  EXPECT_EQ(run.Times, 1);
  EXPECT_TRUE(run.AfterPaint);
}

TEST(AfterFirstPaint, AWindowNotShownHasNoPaintToWaitFor) {
  PaintedWindow window;
  Runs run;
  app::AfterFirstPaint(window, [&] { ++run.Times; });
  QCoreApplication::processEvents();
  EXPECT_EQ(run.Times, 1);
  EXPECT_FALSE(window.Painted);
}

TEST(AfterFirstPaint, NothingRunsWhenTheWindowGoesFirst) {
  auto window = std::make_unique<PaintedWindow>();
  Runs run;
  app::AfterFirstPaint(*window, [&] { ++run.Times; });
  window.reset();
  QCoreApplication::processEvents();
  EXPECT_EQ(run.Times, 0);
}

} // namespace
