#include "framework/Rendered.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace framework;

namespace {

// Every pixel of the parent's own painting names its place.
QRgb At(int x, int y) {
  return qRgb(x * 3 & 0xFF, y * 5 & 0xFF, 0x80);
}

class PatternedParent : public QWidget {
protected:
  void paintEvent(QPaintEvent *) override {
    QImage pattern(size(), QImage::Format_RGB32);
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x)
        pattern.setPixel(x, y, At(x, y));
    QPainter(this).drawImage(0, 0, pattern);
  }
};

// A transparent control: what lies behind it, and one mark of its own in its top-left pixel.
class SeeThrough : public RenderedControl {
public:
  using RenderedControl::RenderedControl;

protected:
  void Render(Canvas &canvas) override {
    PaintParentBackground(canvas);
    canvas.SetPixel(0, 0, clRed);
  }
};

} // namespace

TEST(ParentBackground, ATransparentControlShowsExactlyTheParentsOwnPaintingBehindIt) {
  const QRect places[] = {
      {13, 9, 40, 27},  // inside
      {-5, 40, 30, 30}, // reaching past the left and bottom edges
      {100, -3, 30, 8}, // past the top and right edges
  };
  for (const QRect &place : places) {
    PatternedParent parent;
    parent.resize(120, 60);
    auto *sibling = new QWidget(&parent); // another child beneath is not the parent's painting
    sibling->setGeometry(0, 0, 120, 60);
    sibling->setAutoFillBackground(true);
    sibling->setPalette(QPalette(Qt::green));
    auto *control = new SeeThrough(&parent);
    control->setGeometry(place);
    control->Repaint();
    const QImage &shown = control->Buffer();
    ASSERT_EQ(shown.size(), place.size());
    for (int y = 0; y < place.height(); ++y)
      for (int x = 0; x < place.width(); ++x) {
        const QPoint inParent = place.topLeft() + QPoint(x, y);
        const QRgb want = x == 0 && y == 0                   ? qRgb(0xFF, 0, 0)
                          : parent.rect().contains(inParent) ? At(inParent.x(), inParent.y())
                                                             : qRgba(0, 0, 0, 0);
        ASSERT_EQ(shown.pixel(x, y), want)
            << "at " << x << "," << y << " of a control at " << place.x() << "," << place.y();
      }
  }
}

TEST(ParentBackground, OnABufferOfRatioTwoThePaintingBehindLiesUnderTheControlInWholeBlocks) {
  PatternedParent parent;
  parent.resize(120, 60);
  auto *control = new SeeThrough(&parent);
  control->setGeometry(13, 9, 40, 27);
  RenderBuffer buffer;
  buffer.Render(
      control->size(), [control](Canvas &canvas) { PaintParentBackground(canvas, *control); }, 2);
  ASSERT_EQ(buffer.Image().size(), QSize(80, 54));
  EXPECT_EQ(buffer.Size(), control->size());
  EXPECT_TRUE(buffer.FreshAt(control->size(), 2));
  EXPECT_FALSE(buffer.FreshAt(control->size(), 1));
  for (int y = 0; y < 54; ++y)
    for (int x = 0; x < 80; ++x)
      ASSERT_EQ(buffer.Image().pixel(x, y), At(13 + x / 2, 9 + y / 2)) << x << "," << y;
}
