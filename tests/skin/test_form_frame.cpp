#include "FormTestHelpers.h"
#include "skin/FormFrame.h"
#include "skin/TsuiForm.h"
#include "skin/style/StyleReads.h"

#include <gtest/gtest.h>

using namespace skin;
using skin::style::StyleEntry;
using skin::test::FakeTheme;
using skin::test::FramedWindow;
using skin::test::Rgb;
using skin::test::Shown;

namespace {

constexpr framework::TColor Panel = 0xFBFBFB;

QImage StyleImage(TsuiUIStyle style, StyleEntry entry) {
  QImage image;
  style::GetStyleImage(style, entry, image);
  return image.convertToFormat(QImage::Format_RGB32);
}

// A window taken over in Protein with the panel colour the main window's description stores.
struct ProteinWindow : FramedWindow {
  explicit ProteinWindow(QSize size = {220, 270}) : FramedWindow(size) {
    form.SetUIStyle(TsuiUIStyle::Protein);
    form.SetColor(Panel);
  }
};

QImage FrameOf(TsuiForm &form, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::green); // never a frame colour
  framework::Canvas canvas(image);
  form.PaintFrame(canvas);
  return image;
}

} // namespace

TEST(FormFrame, ClientInsetsLeaveTheStandardFrameAndTheBorderBelow) {
  const struct {
    int border, leftPicture, bottomPicture;
    FrameInsets want;
  } cases[] = {
      {1, 0, 0, {3, 3, 3, 2}}, {0, 0, 0, {3, 3, 3, 1}}, {2, 0, 0, {3, 3, 3, 3}},
      {3, 0, 0, {3, 3, 3, 3}}, {4, 0, 0, {3, 3, 3, 5}}, {1, 6, 0, {7, 3, 7, 2}},
      {1, 6, 8, {7, 3, 7, 9}}, {4, 0, 8, {3, 3, 3, 9}},
  };
  for (const auto &c : cases)
    EXPECT_EQ(ClientInsets(c.border, c.leftPicture, c.bottomPicture), c.want)
        << c.border << " " << c.leftPicture << " " << c.bottomPicture;
}

TEST(FormFrame, ProteinKeepsThreePixelsLeftTopAndRight) {
  ProteinWindow w;
  EXPECT_EQ(w.form.geometry(), QRect(3, 3, 214, 265));
  EXPECT_EQ(w.form.TitleBar().height(), 20);
  const QImage s = Shown(w.window);
  const QImage left = StyleImage(TsuiUIStyle::Protein, StyleEntry::TitleBarLeftImage);
  const QImage right = StyleImage(TsuiUIStyle::Protein, StyleEntry::TitleBarRightImage);
  const int W = 220, H = 270;
  for (int y = 0; y < H; ++y) {
    ASSERT_EQ(s.pixelColor(0, y), QColor(Qt::black)) << y;
    ASSERT_EQ(s.pixelColor(W - 1, y), QColor(Qt::black)) << y;
  }
  // Beside the title bar: the first two columns of the left picture, the right picture stretched.
  for (int y = 3; y < 23; ++y) {
    EXPECT_EQ(s.pixel(1, y), left.pixel(0, y)) << y;
    EXPECT_EQ(s.pixel(2, y), left.pixel(1, y)) << y;
    EXPECT_EQ(s.pixel(W - 3, y), right.pixel(0, y)) << y;
    EXPECT_EQ(s.pixel(W - 2, y), right.pixel(0, y)) << y;
  }
  // Above it the pictures run on, so the frame and the bar show one picture.
  for (int y = 0; y < 3; ++y)
    for (int x = 2; x < W - 3; ++x)
      ASSERT_EQ(s.pixel(x, y), left.pixel(x, y)) << x << "," << y;
  for (int y = 3; y < 23; ++y)
    EXPECT_EQ(s.pixel(100, y), left.pixel(100, y)) << y;
  // Below the title bar the band is the panel colour, beside the striped panel.
  for (int y = 23; y < H - 1; ++y)
    for (int x : {1, 2, W - 3, W - 2})
      ASSERT_EQ(s.pixelColor(x, y), Rgb(Panel)) << x << "," << y;
  // Bottom: the band row under the panel, then the border.
  for (int x = 1; x < W - 1; ++x) {
    ASSERT_EQ(s.pixelColor(x, H - 2), Rgb(Panel)) << x;
    ASSERT_EQ(s.pixelColor(x, H - 1), QColor(Qt::black)) << x;
  }
  EXPECT_EQ(w.form.RoundCorner(), 0);
  EXPECT_TRUE(w.window.mask().isEmpty() || w.window.mask() == QRegion(0, 0, W, H));
}

TEST(FormFrame, WiderBordersCoverTheBandAndTheTitleEdge) {
  const struct {
    int border;
    int bottomRows; // non-client rows at the bottom
  } cases[] = {{3, 3}, {4, 5}};
  for (const auto &c : cases) {
    ProteinWindow w(QSize(200, 150));
    w.form.SetBorderColor(framework::clRed);
    w.form.SetBorderWidth(c.border);
    EXPECT_EQ(w.form.geometry(), QRect(3, 3, 194, 150 - 3 - c.bottomRows)) << c.border;
    const QImage f = FrameOf(w.form, QSize(200, 150));
    const QImage left = StyleImage(TsuiUIStyle::Protein, StyleEntry::TitleBarLeftImage);
    for (int y = 0; y < 150; ++y)
      for (int i = 0; i < c.border; ++i) {
        // The title strip starts at x = 2, over a 3-pixel border too.
        if (c.border == 3 && i == 2 && y < 3) {
          ASSERT_EQ(f.pixel(i, y), left.pixel(i, y)) << y;
        } else {
          ASSERT_EQ(f.pixelColor(i, y), QColor(Qt::red)) << c.border << ": " << i << "," << y;
        }
        ASSERT_EQ(f.pixelColor(199 - i, y), QColor(Qt::red)) << c.border << ": " << i << "," << y;
      }
    for (int x = 0; x < 200; ++x)
      for (int i = 0; i < c.border; ++i)
        ASSERT_EQ(f.pixelColor(x, 149 - i), QColor(Qt::red)) << c.border << ": " << x;
    // A border of 4 leaves one row between it and the panel: the panel colour, never garbage.
    for (int y = 150 - c.bottomRows; y < 150 - c.border; ++y)
      EXPECT_EQ(f.pixelColor(100, y), Rgb(Panel)) << c.border << ": " << y;
    if (c.border == 3)
      EXPECT_EQ(f.pixel(100, 1), left.pixel(100, 1));
    else // no title edge over a border wider than the frame
      EXPECT_EQ(f.pixelColor(100, 1), Rgb(Panel));
  }
}

TEST(FormFrame, HiddenTitleBarLeavesAOnePixelTopBorderAndSquareCorners) {
  ProteinWindow w(QSize(200, 150));
  w.form.SetRoundCorner(11);
  w.form.SetTitleBarVisible(false);
  EXPECT_EQ(w.form.RoundCorner(), 0);
  EXPECT_FALSE(w.form.TitleBar().isVisibleTo(&w.form));
  EXPECT_EQ(w.window.mask(), QRegion(0, 0, 200, 150));
  const QImage f = FrameOf(w.form, QSize(200, 150));
  for (int x = 0; x < 200; ++x) {
    ASSERT_EQ(f.pixelColor(x, 0), QColor(Qt::black)) << x;
    if (x > 0 && x < 199) {
      ASSERT_EQ(f.pixelColor(x, 1), Rgb(Panel)) << x;
      ASSERT_EQ(f.pixelColor(x, 2), Rgb(Panel)) << x;
    }
  }
  // The band beside the panel starts right under the top border.
  EXPECT_EQ(f.pixelColor(1, 5), Rgb(Panel));
  w.form.SetTitleBarVisible(true);
  EXPECT_EQ(w.form.RoundCorner(), 11);
}

TEST(FormFrame, ThemeBorderPicturesReplaceTheBorder) {
  FakeTheme theme;
  QImage leftBorder(6, 1, QImage::Format_RGB32);
  for (int x = 0; x < 6; ++x)
    leftBorder.setPixelColor(x, 0, QColor(10 * x, 0, 200));
  QImage bottom(9, 8, QImage::Format_RGB32);
  for (int x = 0; x < 9; ++x)
    for (int y = 0; y < 8; ++y)
      bottom.setPixelColor(x, y, x < 3 ? Qt::red : x < 6 ? Qt::yellow : Qt::blue);
  theme.images[StyleEntry::FormLeftBorderImage] = leftBorder;
  theme.images[StyleEntry::FormBottomBorderImage] = bottom;
  theme.numbers[StyleEntry::FormBackgroundColor] = 0x336699;
  theme.numbers[StyleEntry::FormBorderWidthInt] = 1;
  FramedWindow w(QSize(200, 150));
  w.form.SetUIStyle(TsuiUIStyle::FromThemeFile);
  w.form.SetFileTheme(&theme);
  w.form.TitleBarSections().Clear(); // this theme has no title pictures
  EXPECT_EQ(w.form.LeftBorderWidthQuery(), 6);
  EXPECT_EQ(w.form.geometry(), QRect(7, 3, 200 - 14, 150 - 3 - 9));

  const QImage f = FrameOf(w.form, QSize(200, 150));
  const int t = w.form.TitleBar().height();
  for (int y : {t, 80, 150 - 9}) {
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(f.pixelColor(x, y), leftBorder.pixelColor(x, 0)) << x << "," << y;
      // The right border is the left one turned round.
      EXPECT_EQ(f.pixelColor(199 - x, y), leftBorder.pixelColor(x, 0)) << x << "," << y;
    }
    EXPECT_EQ(f.pixelColor(6, y), Rgb(0x336699)) << y;
    EXPECT_EQ(f.pixelColor(193, y), Rgb(0x336699)) << y;
  }
  // The bottom picture in three parts: its ends unscaled, its middle stretched.
  for (int y = 142; y < 150; ++y) {
    EXPECT_EQ(f.pixelColor(0, y), QColor(Qt::red));
    EXPECT_EQ(f.pixelColor(2, y), QColor(Qt::red));
    EXPECT_EQ(f.pixelColor(3, y), QColor(Qt::yellow));
    EXPECT_EQ(f.pixelColor(196, y), QColor(Qt::yellow));
    EXPECT_EQ(f.pixelColor(197, y), QColor(Qt::blue));
  }
  // No title pictures in this theme: the top rows between the borders take the panel colour.
  EXPECT_EQ(f.pixelColor(100, 0), Rgb(0x336699));
}

TEST(FormFrame, RoundedTopCornersOfRadiusElevenAreOutlined) {
  FramedWindow w(QSize(300, 150));
  w.form.SetUIStyle(TsuiUIStyle::BlueGlass); // border 1, radius 11
  EXPECT_EQ(w.form.RoundCorner(), 11);
  const int width = w.window.width();
  const QImage f = FrameOf(w.form, w.window.size());
  const QRegion shape = w.form.WindowRegion();
  int outlined = 0;
  // Every pixel of the shape's edge within the corners is in the border colour.
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < width; ++x) {
      if (x >= 11 && x < width - 11) continue;
      const bool in = shape.contains(QPoint(x, y));
      const bool edge =
          in && (!shape.contains(QPoint(x - 1, y)) || !shape.contains(QPoint(x + 1, y)) || y == 0 ||
                 !shape.contains(QPoint(x, y - 1)));
      if (!edge) continue;
      ++outlined;
      EXPECT_EQ(f.pixelColor(x, y), QColor(Qt::black)) << x << "," << y;
    }
  EXPECT_GT(outlined, 2 * 11);
}

TEST(FormFrame, WindowRegionIsTwoRoundedHalves) {
  const QSize size(220, 270);
  const struct { int top, bottom; } cases[] = {{0, 0}, {11, 0}, {13, 0}, {0, 11}, {11, 13}};
  for (const auto &c : cases)
    EXPECT_EQ(WindowRegion(size, c.top, c.bottom),
              skin::test::RegionByPixels(size, c.top, c.bottom))
        << c.top << " " << c.bottom;
  EXPECT_EQ(WindowRegion(size, 0, 0), QRegion(0, 0, 220, 270));
}

TEST(FormFrame, TheWindowTakesItsRegionAfterResizesAndCornerChanges) {
  FramedWindow w(QSize(220, 270));
  w.window.show();
  w.form.SetRoundCorner(13);
  EXPECT_EQ(w.window.mask(), skin::test::RegionByPixels(QSize(220, 270), 13, 0));
  w.window.resize(300, 200);
  QApplication::processEvents();
  EXPECT_EQ(w.window.mask(), skin::test::RegionByPixels(QSize(300, 200), 13, 0));
  w.form.SetRoundCornerBottom(11);
  EXPECT_EQ(w.window.mask(), skin::test::RegionByPixels(QSize(300, 200), 13, 11));
  w.form.SetRoundCorner(0);
  w.form.SetRoundCornerBottom(0);
  EXPECT_EQ(w.window.mask(), QRegion(0, 0, 300, 200));
}
