#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "framework/Fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <set>

using namespace framework;

namespace {

QImage Blank(int w, int h, TColor c = clWhite) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(QColor::fromRgb(ToQRgb(c)));
  return img;
}

// Every pixel that is not `background`, as (x, y) pairs.
std::set<std::pair<int, int>> Painted(const Canvas &c, TColor background = clWhite) {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.Pixel(x, y) != background) out.insert({x, y});
  return out;
}

} // namespace

TEST(Colors, SystemColoursResolveThroughTheFixedTable) {
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xC8D0D4u);
  EXPECT_EQ(ColorToRGB(clBtnShadow), 0x808080u);
  EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFFFFFFu);
  EXPECT_EQ(ColorToRGB(clBackground), 0xA56E3Au);
  EXPECT_EQ(ColorToRGB(SystemColorFlag | 31), clBlack) << "unknown index";
  EXPECT_EQ(ColorToRGB(SystemColorFlag | 0xFF), clBlack);
  EXPECT_EQ(ColorToRGB(0x12345678), 0x345678u) << "a non-system high byte is dropped";
  EXPECT_EQ(ColorToRGB(clMoneyGreen), 0xC0DCC0u);
}

TEST(Colors, QtConversionSwapsRedAndBlue) {
  EXPECT_EQ(ToQRgb(clRed), 0xFFFF0000u);
  EXPECT_EQ(ToQRgb(clBlue), 0xFF0000FFu);
  EXPECT_EQ(ToQRgb(clBtnFace), 0xFFD4D0C8u);
  EXPECT_EQ(FromQRgb(0x80112233u), 0x332211u);
  EXPECT_EQ(ToQColor(clLime), QColor(0, 255, 0));
  EXPECT_EQ(FromQColor(QColor(1, 2, 3)), 0x030201u);
}

TEST(Canvas, FillRectLeavesOutRightColumnAndBottomRow) {
  QImage img = Blank(10, 10);
  Canvas c(img);
  c.SetBrushColor(clRed);
  c.FillRect({2, 3, 5, 7});
  const auto painted = Painted(c);
  EXPECT_EQ(painted.size(), 3u * 4u);
  EXPECT_EQ(c.Pixel(2, 3), clRed);
  EXPECT_EQ(c.Pixel(4, 6), clRed);
  EXPECT_EQ(c.Pixel(5, 6), clWhite);
  EXPECT_EQ(c.Pixel(4, 7), clWhite);
  // Resolves system colours and clips without touching memory outside.
  c.SetBrushColor(clBtnFace);
  c.FillRect({-5, -5, 2, 2});
  EXPECT_EQ(c.Pixel(0, 0), 0xC8D0D4u);
  EXPECT_EQ(c.Pixel(2, 2), clWhite);
  c.FillRect({8, 8, 100, 100});
  EXPECT_EQ(c.Pixel(9, 9), 0xC8D0D4u);
  c.FillRect({5, 5, 3, 3}); // inverted: nothing
}

TEST(Canvas, FrameRectCoversTheBorderOfTheFilledArea) {
  QImage img = Blank(8, 8);
  Canvas c(img);
  c.SetPenColor(clBlack);
  c.FrameRect({1, 1, 6, 5});
  const auto painted = Painted(c);
  for (int x = 1; x <= 5; ++x) {
    EXPECT_TRUE(painted.count({x, 1}));
    EXPECT_TRUE(painted.count({x, 4}));
  }
  for (int y = 1; y <= 4; ++y) {
    EXPECT_TRUE(painted.count({1, y}));
    EXPECT_TRUE(painted.count({5, y}));
  }
  EXPECT_EQ(painted.size(), 5u * 2 + 2u * 2);
}

TEST(Canvas, LinesLeaveOutTheirEndPoint) {
  QImage img = Blank(12, 12);
  Canvas c(img);
  c.SetPenColor(clBlack);
  c.MoveTo(1, 1);
  c.LineTo(5, 1);
  EXPECT_EQ(Painted(c), (std::set<std::pair<int, int>>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
  EXPECT_EQ(c.PenPos(), QPoint(5, 1));

  img.fill(Qt::white);
  c.MoveTo(3, 8);
  c.LineTo(3, 5); // upward
  EXPECT_EQ(Painted(c), (std::set<std::pair<int, int>>{{3, 8}, {3, 7}, {3, 6}}));

  img.fill(Qt::white);
  c.MoveTo(0, 0);
  c.LineTo(4, 4);
  EXPECT_EQ(Painted(c), (std::set<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));

  img.fill(Qt::white);
  c.MoveTo(2, 2);
  c.LineTo(2, 2);
  EXPECT_TRUE(Painted(c).empty()) << "a zero-length line draws nothing";

  img.fill(Qt::white);
  c.MoveTo(-1000000, 4);
  c.LineTo(1000000, 4);
  EXPECT_EQ(Painted(c).size(), 12u) << "clipped, not wrapped";
}

TEST(Canvas, PolylineDrawsEachJointOnceAndLeavesOutTheLastPoint) {
  QImage img = Blank(6, 6);
  Canvas c(img);
  c.SetPenColor(clBlack);
  const QPoint pts[] = {{1, 4}, {1, 1}, {4, 1}};
  c.Polyline(pts);
  EXPECT_EQ(Painted(c),
            (std::set<std::pair<int, int>>{{1, 4}, {1, 3}, {1, 2}, {1, 1}, {2, 1}, {3, 1}}));
}

TEST(Canvas, FloodFillStaysInsideItsFourConnectedArea) {
  QImage img = Blank(7, 7);
  Canvas c(img);
  c.SetPenColor(clBlack);
  c.FrameRect({1, 1, 6, 6}); // a closed box, interior 3 x 3
  c.SetPixel(0, 0, clWhite);
  // A diagonal gap must not let the fill through.
  c.SetPixel(6, 6, clWhite);
  EXPECT_TRUE(c.FloodFill(3, 3, clWhite, clRed));
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 7; ++x) {
      const bool interior = x >= 2 && x <= 4 && y >= 2 && y <= 4;
      if (interior)
        EXPECT_EQ(c.Pixel(x, y), clRed) << x << "," << y;
      else
        EXPECT_NE(c.Pixel(x, y), clRed) << x << "," << y;
    }
  EXPECT_FALSE(c.FloodFill(-1, 3, clWhite, clRed));
  EXPECT_FALSE(c.FloodFill(7, 0, clWhite, clRed));
  EXPECT_FALSE(c.FloodFill(1, 1, clWhite, clRed)) << "start pixel is not the surface colour";
  EXPECT_TRUE(c.FloodFill(0, 0, clWhite, clWhite)) << "same colour must not loop";
  EXPECT_EQ(c.Pixel(0, 0), clWhite);
}

TEST(Canvas, FloodFillHandlesLargeAreasWithoutRecursion) {
  QImage img = Blank(1500, 1500);
  Canvas c(img);
  // A comb forces many spans.
  c.SetPenColor(clBlack);
  for (int x = 1; x < 1500; x += 2) {
    c.MoveTo(x, (x / 2) % 2 ? 0 : 1);
    c.LineTo(x, (x / 2) % 2 ? 1499 : 1500);
  }
  EXPECT_TRUE(c.FloodFill(0, 0, clWhite, clLime));
  EXPECT_EQ(c.Pixel(1498, 1499), clLime);
  EXPECT_EQ(c.Pixel(1499, 700), clBlack);
}

TEST(Canvas, StretchDrawUsesNearestNeighbour) {
  QImage src(2, 2, QImage::Format_RGB32);
  src.setPixel(0, 0, ToQRgb(clRed));
  src.setPixel(1, 0, ToQRgb(clLime));
  src.setPixel(0, 1, ToQRgb(clBlue));
  src.setPixel(1, 1, ToQRgb(clYellow));
  QImage img = Blank(6, 6);
  Canvas c(img);
  EXPECT_TRUE(c.StretchDraw({1, 1, 5, 5}, src));
  const TColor expected[2][2] = {{clRed, clLime}, {clBlue, clYellow}};
  for (int y = 1; y < 5; ++y)
    for (int x = 1; x < 5; ++x)
      EXPECT_EQ(c.Pixel(x, y), expected[(y - 1) / 2][(x - 1) / 2]) << x << "," << y;
  EXPECT_EQ(c.Pixel(5, 5), clWhite);
  EXPECT_EQ(c.Pixel(0, 0), clWhite);
  EXPECT_FALSE(c.StretchDraw({0, 0, 6, 6}, QImage()));
  // Shrinking picks source pixels, it does not blend them.
  EXPECT_TRUE(c.StretchDraw({0, 0, 1, 1}, src));
  EXPECT_EQ(c.Pixel(0, 0), clRed);
}

TEST(Canvas, StretchDrawMapsFarAwayDestinationsWithoutOverflow) {
  // A destination starting 2^24 pixels to the left of a wide source: the column arithmetic
  // outgrows 32 bits, yet the visible part must still come from the source's middle.
  QImage src(256, 256, QImage::Format_RGB32);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x)
      src.setPixel(x, y, ToQRgb(RGBColor(x, y, 0)));
  QImage img = Blank(4, 4);
  Canvas c(img);
  constexpr int Far = 1 << 24;
  EXPECT_TRUE(c.StretchDraw({-Far, -Far, Far, Far}, src));
  EXPECT_EQ(c.Pixel(0, 0), RGBColor(128, 128, 0));
  EXPECT_EQ(c.Pixel(3, 3), RGBColor(128, 128, 0));
}

TEST(Canvas, TextIsNotAntiAliasedAndTurnsCounterClockwise) {
  QImage img = Blank(80, 80);
  Canvas c(img);
  c.SetFont(MakeFont("MS Sans Serif", -13, true));
  c.SetFontColor(clBlack);
  c.TextOut(20, 40, "50%");
  const auto horizontal = Painted(c);
  ASSERT_FALSE(horizontal.empty());
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 80; ++x) {
      const TColor px = c.Pixel(x, y);
      ASSERT_TRUE(px == clBlack || px == clWhite) << "blended pixel at " << x << "," << y;
    }
  for (const auto &[x, y] : horizontal) {
    EXPECT_GE(x, 20);
    EXPECT_GE(y, 40);
  }

  img.fill(Qt::white);
  c.SetFontAngle(900);
  c.TextOut(20, 60, "50%");
  const auto rotated = Painted(c);
  ASSERT_FALSE(rotated.empty());
  // Turned a quarter counter-clockwise about its top-left corner: the text runs upward and
  // what lay below the top edge now lies to the right of it.
  int minY = 80, maxY = 0, minX = 80;
  for (const auto &[x, y] : rotated) {
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
    minX = std::min(minX, x);
  }
  EXPECT_LT(maxY, 61);
  EXPECT_LT(minY, 45) << "text runs upward";
  EXPECT_GE(minX, 20);
  EXPECT_EQ(c.TextExtent("50%").height(), QFontMetrics(c.Font()).height());
}

TEST(Fonts, OldFamiliesMapToTheInstalledSansWithNegativeHeightsInPixels) {
  EXPECT_EQ(MapFontFamily("MS Sans Serif"), "DejaVu Sans");
  EXPECT_EQ(MapFontFamily("Tahoma"), "DejaVu Sans");
  EXPECT_EQ(MapFontFamily("Courier New"), "Courier New");
  const QFont f = MakeFont("MS Sans Serif", -16, true);
  EXPECT_EQ(f.pixelSize(), 16);
  EXPECT_TRUE(f.bold());
  EXPECT_EQ(f.styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
  EXPECT_EQ(QFontInfo(f).family(), "DejaVu Sans");
  EXPECT_TRUE(f.families().contains("WenQuanYi Micro Hei"));
  // A positive height is the whole cell, so the character comes out smaller.
  EXPECT_LE(MakeFont("Tahoma", 16).pixelSize(), 16);
  EXPECT_NEAR(QFontMetrics(MakeFont("Tahoma", 16)).height(), 16, 1);
}
