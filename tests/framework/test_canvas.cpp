#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "framework/Fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <array>
#include <functional>
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
  const struct {
    QPoint from, to;
    std::set<std::pair<int, int>> painted;
  } cases[] = {
      {{1, 1}, {5, 1}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
      {{3, 8}, {3, 5}, {{3, 8}, {3, 7}, {3, 6}}}, // upward
      {{0, 0}, {4, 4}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {{2, 2}, {2, 2}, {}}, // a zero-length line draws nothing
  };
  for (const auto &k : cases) {
    img.fill(Qt::white);
    c.MoveTo(k.from.x(), k.from.y());
    c.LineTo(k.to.x(), k.to.y());
    EXPECT_EQ(Painted(c), k.painted) << k.to.x() << "," << k.to.y();
    EXPECT_EQ(c.PenPos(), k.to);
  }
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

namespace {

// Red and lime picture pixels among pixels of `key`, and one a hair off the key, which must draw.
QImage KeyedPicture(TColor key) {
  QImage src(3, 2, QImage::Format_RGB32);
  const TColor pixels[2][3] = {{key, clRed, key}, {clLime, key, key ^ 1}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      src.setPixel(x, y, ToQRgb(pixels[y][x]));
  return src;
}

} // namespace

TEST(Canvas, PicturePixelsOfTheKeyColourLeaveTheDestinationShowing) {
  struct Case {
    const char *what;
    TColor key;
  };
  const Case cases[] = {{"magenta", clFuchsia}, {"a glyph corner", 0x3A5B7C}, {"white", clWhite}};
  for (const Case &k : cases) {
    const QImage src = KeyedPicture(k.key);
    EXPECT_EQ(ImagePixel(src, 0, 0), k.key);
    QImage img = Blank(5, 4, clBlue);
    Canvas c(img);
    EXPECT_TRUE(c.Draw(1, 1, src, k.key));
    const TColor expected[2][3] = {{clBlue, clRed, clBlue}, {clLime, clBlue, k.key ^ 1}};
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(c.Pixel(x + 1, y + 1), expected[y][x]) << k.what << " " << x << "," << y;
    EXPECT_TRUE(c.Draw(1, 1, src));
    EXPECT_EQ(c.Pixel(1, 1), k.key) << k.what << ": without a key every pixel draws";
  }
  EXPECT_EQ(ImagePixel(QImage(), 0, 0), clBlack);
}

TEST(Canvas, TiledAndStretchedDrawingRepeatOrScaleAndLeaveOutTheKey) {
  QImage src(2, 2, QImage::Format_RGB32);
  const TColor tile[2][2] = {{clRed, clFuchsia}, {clLime, clBlue}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x)
      src.setPixel(x, y, ToQRgb(tile[y][x]));
  const auto expectTile = [&](const Canvas &c, const TRect &r, int scale) {
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) {
        const bool in = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
        TColor want = clWhite;
        if (in) want = tile[(y - r.Top) / scale % 2][(x - r.Left) / scale % 2];
        if (want == clFuchsia) want = clWhite;
        ASSERT_EQ(c.Pixel(x, y), want) << "scale " << scale << " at " << x << "," << y;
      }
  };
  QImage img = Blank(8, 7);
  Canvas c(img);
  // Five columns and three rows: the last copies are cut at the edges.
  EXPECT_TRUE(c.TileDraw({1, 1, 6, 4}, src, clFuchsia));
  expectTile(c, {1, 1, 6, 4}, 1);
  img.fill(Qt::white);
  EXPECT_TRUE(c.TileDraw({-3, -3, 5, 5}, src, clFuchsia)) << "starts left of and above the image";
  expectTile(c, {-3, -3, 5, 5}, 1);
  img.fill(Qt::white);
  EXPECT_TRUE(c.StretchDraw({2, 1, 6, 5}, src, clFuchsia));
  expectTile(c, {2, 1, 6, 5}, 2);
  EXPECT_FALSE(c.TileDraw({0, 0, 4, 4}, QImage()));
}

TEST(Canvas, TextInARectangleIsPlacedClippedAndCutWithDots) {
  const QFont font = MakeFont("MS Sans Serif", -13);
  const QFontMetrics metrics(font);
  const int w = metrics.horizontalAdvance("Hi");
  const int h = metrics.height();
  const TRect r{10, 5, 110, 45};
  struct Case {
    TextFormat format;
    TRect box;
  };
  const Case cases[] = {
      {{TextAlign::Left, TextLayout::Top}, {10, 5, 10 + w, 5 + h}},
      {{TextAlign::Center, TextLayout::Center},
       {10 + (100 - w) / 2, 5 + (40 - h) / 2, 10 + (100 - w) / 2 + w, 5 + (40 - h) / 2 + h}},
      {{TextAlign::Right, TextLayout::Bottom}, {110 - w, 45 - h, 110, 45}},
  };
  for (const Case &k : cases) {
    QImage img = Blank(120, 50);
    Canvas c(img);
    c.SetFont(font);
    EXPECT_EQ(c.TextRect(r, "Hi", k.format), k.box);
    const auto painted = Painted(c);
    ASSERT_FALSE(painted.empty());
    for (const auto &[x, y] : painted)
      ASSERT_TRUE(x >= k.box.Left && x < k.box.Right && y >= k.box.Top && y < k.box.Bottom);
  }

  // Too long for 40 columns: cut with dots, or clipped at the rectangle without them.
  QImage img = Blank(120, 30);
  Canvas c(img);
  c.SetFont(font);
  const TRect narrow{0, 0, 40, 30};
  const TRect cut = c.TextRect(narrow, "Connecting the receiver", {.EndEllipsis = true});
  EXPECT_LE(cut.Width(), 40);
  EXPECT_GT(cut.Width(), metrics.horizontalAdvance("..."));
  img.fill(Qt::white);
  EXPECT_GT(c.TextRect(narrow, "Connecting the receiver").Width(), 40);
  for (const auto &[x, y] : Painted(c))
    ASSERT_LT(x, 40) << "clipped at the rectangle";
}

TEST(Canvas, AnAmpersandUnderlinesTheNextCharacterOrIsHiddenOrKept) {
  const QFont font = MakeFont("MS Sans Serif", -13);
  const QFontMetrics metrics(font);
  const int underline = metrics.ascent() + std::max(1, metrics.underlinePos());
  const auto rowPainted = [](const Canvas &c, int y) {
    int n = 0;
    for (int x = 0; x < c.Width(); ++x)
      n += c.Pixel(x, y) != clWhite;
    return n;
  };
  struct Case {
    const char *text;
    Mnemonic prefix;
    QString shown;
    int underlined; // columns of the underline row
  };
  const Case cases[] = {
      {"&Exit", Mnemonic::Underline, "Exit", metrics.horizontalAdvance('E')},
      {"E&xit", Mnemonic::Hide, "Exit", 0},
      {"&Exit", Mnemonic::Literal, "&Exit", 0},
      {"A&&B", Mnemonic::Underline, "A&B", 0},
      {"Exit&", Mnemonic::Underline, "Exit", 0},
  };
  for (const Case &k : cases) {
    QImage img = Blank(80, 30);
    Canvas c(img);
    c.SetFont(font);
    const TRect box = c.TextRect({0, 0, 80, 30}, k.text, {.Prefix = k.prefix});
    EXPECT_EQ(box.Width(), metrics.horizontalAdvance(k.shown)) << k.text;
    EXPECT_EQ(rowPainted(c, underline), k.underlined) << k.text;
  }
}

TEST(Canvas, AGreySurfaceStaysEightBitAndStoresColoursAsGrey) {
  QImage grey(40, 20, QImage::Format_Grayscale8);
  grey.fill(0);
  Canvas c(grey);
  ASSERT_TRUE(c.IsGrey());
  c.SetBrushColor(clWhite);
  c.FillRect({1, 1, 3, 3});
  c.SetPixel(5, 5, RGBColor(128, 128, 128));
  EXPECT_EQ(grey.format(), QImage::Format_Grayscale8);
  EXPECT_EQ(grey.constScanLine(2)[2], 255);
  EXPECT_EQ(grey.constScanLine(3)[3], 0);
  EXPECT_EQ(grey.constScanLine(5)[5], 128);
  EXPECT_EQ(c.Pixel(5, 5), RGBColor(128, 128, 128));
  EXPECT_TRUE(c.FloodFill(10, 10, clBlack, RGBColor(64, 64, 64)));
  EXPECT_EQ(grey.constScanLine(19)[39], 64);
  EXPECT_EQ(grey.constScanLine(1)[1], 255) << "the white square is not of the surface colour";

  // Text white on black, for the text engine's masks: no grey levels without anti-aliasing.
  grey.fill(0);
  c.SetFont(MakeFont("MS Sans Serif", -13, true));
  c.SetFontColor(clWhite);
  c.TextOut(2, 2, "W");
  int lit = 0;
  for (int y = 0; y < grey.height(); ++y)
    for (int x = 0; x < grey.width(); ++x) {
      const int v = grey.constScanLine(y)[x];
      ASSERT_TRUE(v == 0 || v == 255) << x << "," << y;
      lit += v == 255;
    }
  EXPECT_GT(lit, 10);
}

namespace {

// An image of `w` x `h` drawing pixels at `ratio`, white.
QImage AtRatio(int w, int h, int ratio) {
  QImage img = Blank(w * ratio, h * ratio);
  img.setDevicePixelRatio(ratio);
  return img;
}

// Four colours, one per pixel, and a fuchsia one to be left out as the key.
QImage Quad() {
  QImage src(2, 2, QImage::Format_RGB32);
  src.setPixel(0, 0, ToQRgb(clRed));
  src.setPixel(1, 0, ToQRgb(clFuchsia));
  src.setPixel(0, 1, ToQRgb(clBlue));
  src.setPixel(1, 1, ToQRgb(clYellow));
  return src;
}

} // namespace

TEST(Canvas, AtALargerRatioEveryShapeAndPictureIsTheSameDrawingInWholeBlocks) {
  const struct {
    const char *name;
    std::function<void(Canvas &)> draw;
  } cases[] = {
      {"filled and framed rectangles",
       [](Canvas &c) {
         c.SetBrushColor(clRed);
         c.FillRect({1, 2, 7, 5});
         c.SetPenColor(clBlue);
         c.FrameRect({3, 1, 9, 8});
       }},
      {"straight and slanted lines",
       [](Canvas &c) {
         c.SetPenColor(clGreen);
         const QPoint points[] = {{1, 1}, {8, 1}, {8, 7}, {2, 4}, {1, 9}};
         c.Polyline(points);
       }},
      {"single pixels", [](Canvas &c) { c.SetPixel(3, 4, clMaroon), c.SetPixel(9, 9, clNavy); }},
      {"stretched, drawn and tiled pictures with a key",
       [](Canvas &c) {
         c.StretchDraw({0, 0, 5, 3}, Quad());
         c.Draw(6, 6, Quad(), clFuchsia);
         c.TileDraw({1, 4, 6, 9}, Quad(), clFuchsia);
       }},
      {"a flood fill inside a frame",
       [](Canvas &c) {
         c.SetPenColor(clBlack);
         c.FrameRect({2, 2, 8, 8});
         c.FloodFill(4, 4, clWhite, clTeal);
       }},
  };
  for (const auto &test : cases) {
    QImage one = Blank(10, 10);
    Canvas small(one);
    test.draw(small);
    QImage two = AtRatio(10, 10, 2);
    Canvas large(two);
    ASSERT_EQ(large.Ratio(), 2);
    ASSERT_EQ(QSize(large.Width(), large.Height()), QSize(10, 10));
    test.draw(large);
    EXPECT_EQ(two.convertToFormat(QImage::Format_RGB32),
              one.convertToFormat(QImage::Format_RGB32).scaled(20, 20))
        << test.name;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x)
        ASSERT_EQ(large.Pixel(x, y), small.Pixel(x, y)) << test.name << " at " << x << "," << y;
  }
}

TEST(Canvas, APictureOfTheCanvassRatioIsDrawnPixelForPixelAtItsOwnSize) {
  QImage fine(4, 4, QImage::Format_RGB32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      fine.setPixel(x, y, ToQRgb(RGBColor(x * 60, y * 60, 0)));
  fine.setDevicePixelRatio(2);
  QImage img = AtRatio(5, 5, 2);
  Canvas c(img);
  EXPECT_TRUE(c.Draw(1, 1, fine));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(img.pixel(2 + x, 2 + y), fine.pixel(x, y)) << x << "," << y;
  EXPECT_EQ(img.pixel(6, 6), qRgb(255, 255, 255));
  // A ratio that is no multiple of the picture's still maps inside the picture.
  QImage odd = AtRatio(3, 3, 5);
  Canvas five(odd);
  EXPECT_TRUE(five.StretchDraw({0, 0, 1, 1}, fine));
  EXPECT_EQ(odd.pixel(4, 0), fine.pixel(3, 0));
  EXPECT_TRUE(five.TileDraw({0, 0, 3, 3}, fine));
  std::set<QRgb> colours;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      colours.insert(fine.pixel(x, y));
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 15; ++x)
      ASSERT_TRUE(colours.contains(odd.pixel(x, y))) << x << "," << y;
}

TEST(Canvas, AtALargerRatioTextIsDrawnAtTheLargerSizeNotEnlarged) {
  QImage one = Blank(60, 30);
  QImage two = AtRatio(60, 30, 2);
  std::array<QRect, 2> ink;
  for (QImage *image : {&one, &two}) {
    Canvas c(*image);
    c.SetFont(MakeFont("MS Sans Serif", -13, true));
    c.SetFontColor(clBlack);
    // Laid out in the drawing's own pixels at every ratio.
    EXPECT_EQ(c.TextRect({4, 3, 60, 30}, "Connect").Width(),
              QFontMetrics(c.Font()).horizontalAdvance("Connect"));
    for (int y = 0; y < image->height(); ++y)
      for (int x = 0; x < image->width(); ++x)
        if (image->pixel(x, y) != qRgb(255, 255, 255)) ink[image == &two] |= QRect(x, y, 1, 1);
  }
  int mixedBlocks = 0;
  for (int y = 0; y < 60; y += 2)
    for (int x = 0; x < 120; x += 2)
      mixedBlocks +=
          two.pixel(x, y) != two.pixel(x + 1, y + 1) || two.pixel(x + 1, y) != two.pixel(x, y + 1);
  EXPECT_GT(mixedBlocks, 20) << "text enlarged in 2 x 2 blocks";
  // Twice the size at twice the place, give or take the font's own rounding at each size.
  EXPECT_NEAR(ink[1].left(), 2 * ink[0].left(), 2);
  EXPECT_NEAR(ink[1].top(), 2 * ink[0].top(), 2);
  EXPECT_NEAR(ink[1].width(), 2 * ink[0].width(), 4);
  EXPECT_NEAR(ink[1].height(), 2 * ink[0].height(), 4);
}
