#include "framework/WindowlessControl.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace framework;

namespace {

// Paints its left half only; counts renders.
class HalfControl : public WindowlessControl {
public:
  using WindowlessControl::SetOpaque;
  int renders = 0;

protected:
  void Render(Canvas &canvas) override {
    ++renders;
    canvas.SetBrushColor(clRed);
    canvas.FillRect({0, 0, Width() / 2, Height()});
  }
};

void BluePanel(QWidget &parent) {
  parent.resize(30, 20);
  QPalette pal = parent.palette();
  pal.setColor(QPalette::Window, Qt::blue);
  parent.setPalette(pal);
  parent.setAutoFillBackground(true);
}

// Renders what lies behind it, then its left half.
class SeeThroughControl : public HalfControl {
protected:
  void Render(Canvas &canvas) override {
    PaintParentBackground(canvas);
    HalfControl::Render(canvas);
  }
};

struct Recorder {
  std::vector<QObject *> senders;
  void Note(QObject *sender) { senders.push_back(sender); }
};

} // namespace

TEST(WindowlessControl, RepaintRendersAtOnceAndLeavesUnpaintedPixelsTransparent) {
  HalfControl control;
  control.SetBounds(3, 4, 10, 6);
  EXPECT_EQ(control.geometry(), QRect(3, 4, 10, 6));
  control.Repaint();
  ASSERT_EQ(control.Buffer().size(), QSize(10, 6));
  EXPECT_EQ(control.Buffer().pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(qAlpha(control.Buffer().pixel(7, 3)), 0) << "the parent shows through";

  control.SetVisible(false);
  const int before = control.renders;
  control.Repaint();
  EXPECT_EQ(control.renders, before) << "an invisible control draws nothing";
}

TEST(WindowlessControl, PaintingCopiesTheRenderedImageIntoTheParent) {
  QWidget parent;
  BluePanel(parent);
  auto *control = new HalfControl; // owned by parent
  control->setParent(&parent);
  control->SetBounds(5, 5, 10, 10);
  const QImage shot = parent.grab().toImage();
  EXPECT_EQ(shot.pixel(6, 6), 0xFFFF0000u);
  EXPECT_EQ(shot.pixel(12, 6), 0xFF0000FFu) << "transparent part shows the parent";
  EXPECT_EQ(shot.pixel(20, 6), 0xFF0000FFu);
}

TEST(WindowlessControl, PositionAndVisibilityAreTheWidgetsOwn) {
  QWidget parent;
  HalfControl control;
  control.setParent(&parent);
  control.SetBounds(3, 4, 10, 6);
  control.move(20, 30);
  EXPECT_EQ(control.Left(), 20);
  control.SetWidth(12);
  EXPECT_EQ(control.geometry(), QRect(20, 30, 12, 6)) << "a later size change keeps the place";

  control.setVisible(false);
  EXPECT_FALSE(control.Visible());
  const int before = control.renders;
  control.Repaint();
  EXPECT_EQ(control.renders, before);
  control.SetVisible(true);
  EXPECT_TRUE(control.Visible());
  EXPECT_FALSE(control.isHidden());
}

TEST(WindowlessControl, ParentBackgroundIsWhatTheParentPaintsAtTheControlsPlace) {
  QWidget parent;
  BluePanel(parent);
  auto *sibling = new QWidget(&parent); // the parent's other children do not count
  sibling->setGeometry(0, 0, 30, 20);
  sibling->setAutoFillBackground(true);
  sibling->setPalette(QPalette(Qt::green));
  auto *control = new SeeThroughControl; // owned by parent
  control->setParent(&parent);
  control->SetBounds(24, 2, 10, 10); // reaches past the parent's right edge
  control->Repaint();
  EXPECT_EQ(control->Buffer().pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(control->Buffer().pixel(5, 9), 0xFF0000FFu);
  EXPECT_EQ(qAlpha(control->Buffer().pixel(7, 3)), 0) << "beyond the parent nothing lies behind";
}

TEST(WindowlessControl, MouseEventsReachTheirHandlersWithTheControlAsSender) {
  HalfControl control;
  control.SetBounds(0, 0, 10, 10);
  Recorder enter, leave, click;
  control.SetOnMouseEnter(NotifyEvent::bind<&Recorder::Note>(&enter));
  control.SetOnMouseLeave(NotifyEvent::bind<&Recorder::Note>(&leave));
  control.SetOnClick(NotifyEvent::bind<&Recorder::Note>(&click));

  QEnterEvent enterEvent(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QCoreApplication::sendEvent(&control, &enterEvent);
  QEvent leaveEvent(QEvent::Leave);
  QCoreApplication::sendEvent(&control, &leaveEvent);
  EXPECT_EQ(enter.senders, std::vector<QObject *>{&control});
  EXPECT_EQ(leave.senders, std::vector<QObject *>{&control});

  QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent releaseOutside(QEvent::MouseButtonRelease, QPointF(20, 2), QPointF(20, 2),
                             Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&control, &press);
  QCoreApplication::sendEvent(&control, &releaseOutside);
  EXPECT_TRUE(click.senders.empty()) << "released outside: no click";
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&control, &press);
  QCoreApplication::sendEvent(&control, &release);
  EXPECT_EQ(click.senders.size(), 1u);
}

TEST(WindowlessControl, RepaintWhileLoadingWaitsForThePaintAfterLoaded) {
  QWidget parent;
  parent.resize(30, 20);
  HalfControl control;
  control.setParent(&parent);
  control.SetBounds(0, 0, 10, 6);
  EXPECT_FALSE(control.Loading());
  control.BeginLoading();
  EXPECT_TRUE(control.Loading());
  control.Repaint();
  control.Repaint();
  EXPECT_EQ(control.renders, 0);
  EXPECT_TRUE(control.Buffer().isNull());
  control.Loaded();
  EXPECT_FALSE(control.Loading());
  parent.grab();
  EXPECT_EQ(control.renders, 1) << "drawn once, at the first paint";
  control.Repaint();
  EXPECT_EQ(control.renders, 2) << "at once again after loading";
}

TEST(WindowlessControl, DrawnAheadAShownControlRendersWhenStaleAndKeepsItThroughTheFirstShow) {
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
  HalfControl *shown = nullptr;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    auto *control = new HalfControl;
    control->setParent(&window);
    control->SetBounds(c.bounds.x(), c.bounds.y(), c.bounds.width(), c.bounds.height());
    control->SetVisible(!c.hidden);
    EXPECT_EQ(control->RenderIfStale(), c.renders);
    EXPECT_EQ(control->renders, c.renders ? 1 : 0);
    EXPECT_FALSE(control->RenderIfStale()) << "a fresh buffer is not drawn again";
    if (!c.renders) continue;
    shown = control;
    EXPECT_EQ(control->Buffer().pixel(0, 0), 0xFFFF0000u);
    control->Invalidate();
    EXPECT_TRUE(control->RenderIfStale());
    EXPECT_EQ(control->renders, 2);
  }

  // Made while their window was hidden, the controls hear of their sizes only when it shows: a
  // buffer drawn ahead at that size stays, a new size is drawn anew.
  ASSERT_NE(shown, nullptr);
  window.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(shown->renders, 2);
  EXPECT_FALSE(shown->RenderIfStale());
  shown->SetBounds(0, 0, 12, 10);
  EXPECT_TRUE(shown->RenderIfStale());
}
