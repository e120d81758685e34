#include "app/AfterFirstPaint.h"
#include "app/PaintAhead.h"
#include "framework/WindowlessControl.h"
#include "skin/TsuiButton.h"

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

namespace {

class Drawn final : public framework::WindowlessControl {
public:
  using WindowlessControl::WindowlessControl;
  int Renders = 0;

protected:
  void Render(framework::Canvas &) override { ++Renders; }
};

} // namespace

TEST(PaintAhead, DrawsWhatTheWindowShowsOneControlAStepAndWhatGoesStaleAgain) {
  QWidget window;
  window.resize(100, 50);
  QWidget panel(&window); // drawn controls inside plain ones count by where they lie
  panel.setGeometry(10, 10, 80, 30);
  auto *inside = new Drawn(&window);
  inside->SetBounds(0, 0, 20, 10);
  auto *nested = new Drawn(&panel);
  nested->SetBounds(5, 5, 20, 10);
  auto *outside = new Drawn(&window);
  outside->SetBounds(120, 0, 20, 10); // placed beyond the window's edge on purpose
  auto *hidden = new Drawn(&window);
  hidden->SetBounds(30, 0, 20, 10);
  hidden->SetVisible(false);
  auto *deleted = new Drawn(&window);
  deleted->SetBounds(60, 0, 20, 10);
  auto *button = new skin::TsuiButton(&window);
  button->setGeometry(0, 20, 60, 20);

  const std::function<bool()> step = app::PaintAhead(window);
  delete deleted;
  // One control a step, in the window's order: the nested one comes with its panel.
  EXPECT_TRUE(step());
  EXPECT_EQ(nested->Renders, 1);
  EXPECT_EQ(inside->Renders, 0);
  EXPECT_TRUE(step());
  EXPECT_EQ(inside->Renders, 1);
  EXPECT_TRUE(button->Buffer().isNull());
  EXPECT_TRUE(step());
  EXPECT_FALSE(button->Buffer().isNull());
  EXPECT_FALSE(step());
  EXPECT_EQ(inside->Renders, 1);
  EXPECT_EQ(nested->Renders, 1);
  EXPECT_EQ(outside->Renders, 0);
  EXPECT_EQ(hidden->Renders, 0);

  inside->Invalidate();
  EXPECT_TRUE(step());
  EXPECT_EQ(inside->Renders, 2);
  EXPECT_FALSE(step());
}
