#include "skin/style/DrawOps.h"
#include "skin/style/StyleFacts.h"

#include <gtest/gtest.h>

using namespace skin;
using framework::Canvas;
using framework::TColor;

namespace {

QImage White(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

} // namespace

TEST(SkinDrawOps, CapsuleHasRoundEndsAnOutlineAndAGradientThroughItsMiddleColour) {
  QImage image = White(80, 27);
  Canvas c(image);
  style::DrawCapsule(c, {0, 0, 80, 27}, {0x0000FF, 0x00FF00, 0xFF0000}, framework::clBlack);
  EXPECT_EQ(c.Pixel(0, 0), framework::clWhite) << "corners stay untouched";
  EXPECT_EQ(c.Pixel(79, 26), framework::clWhite);
  EXPECT_EQ(c.Pixel(0, 13), framework::clBlack);
  EXPECT_EQ(c.Pixel(40, 0), framework::clBlack);
  EXPECT_EQ(c.Pixel(40, 26), framework::clBlack);
  EXPECT_EQ(c.Pixel(40, 13), 0x00FF00u);
  EXPECT_GE(c.Pixel(40, 1) & 0xFF, 0xE0u) << "near the top it is mostly the top colour";
  for (int y = 0; y < 27; ++y) {
    int first = -1, last = -1;
    for (int x = 0; x < 80; ++x)
      if (c.Pixel(x, y) != framework::clWhite) {
        if (first < 0) first = x;
        last = x;
      }
    EXPECT_EQ(first, 79 - last) << "row " << y << " is symmetric";
    EXPECT_EQ(c.Pixel(first, y), framework::clBlack) << "row " << y << " starts on the outline";
    EXPECT_LE(first, 8);
  }
}

TEST(SkinDrawOps, FocusRectangleDotsEveryOtherBorderPixel) {
  QImage image = White(6, 5);
  Canvas c(image);
  style::DrawFocusRect(c, {0, 0, 6, 5}, framework::clBlack);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool border = x == 0 || y == 0 || x == 5 || y == 4;
      const TColor want = border && (x + y) % 2 == 0 ? framework::clBlack : framework::clWhite;
      EXPECT_EQ(c.Pixel(x, y), want) << x << "," << y;
    }
}

TEST(SkinStyle, OnlyTheCapsuleStylesShowTheFocusInBold) {
  EXPECT_EQ(&style::Facts(TsuiUIStyle::FromThemeFile), &style::Facts(TsuiUIStyle::DeepBlue));
  EXPECT_TRUE(style::Facts(TsuiUIStyle::MacOS).ButtonFocusBold);
  EXPECT_TRUE(style::Facts(TsuiUIStyle::BlueGlass).ButtonFocusBold);
  EXPECT_FALSE(style::Facts(TsuiUIStyle::WinXP).ButtonFocusBold);
  EXPECT_EQ(style::BottomLeftKey(QImage()), std::nullopt);
}

namespace {

constexpr TColor TopKey = 0x112233, BottomKey = 0x445566;
constexpr TColor Left = 0x0000AA, Middle = 0x00AA00, Right = 0xAA0000;

// Three 3-pixel columns, 4 rows. The left one holds both corner keys and a magenta pixel; the
// middle one's top row is the top key; the right one's bottom-right pixel the bottom key.
QImage ThreeColumns() {
  QImage picture(9, 4, QImage::Format_RGB32);
  Canvas c(picture);
  for (int x = 0; x < 9; ++x)
    for (int y = 0; y < 4; ++y)
      c.SetPixel(x, y, x < 3 ? Left : x < 6 ? Middle : Right);
  c.SetPixel(0, 0, TopKey);
  c.SetPixel(0, 3, BottomKey);
  c.SetPixel(1, 1, framework::clFuchsia);
  for (int x = 3; x < 6; ++x)
    c.SetPixel(x, 0, TopKey);
  c.SetPixel(8, 3, BottomKey);
  return picture;
}

} // namespace

TEST(SkinDrawOps, ThreePartsKeepTheirEndsAndStretchTheMiddleLeavingTheKeyColourOut) {
  struct Case {
    bool cornerFromTop, keyFromPixel;
    TColor key;
  };
  const Case cases[] = {{false, false, framework::clFuchsia},
                        {true, false, framework::clFuchsia},
                        {true, true, TopKey},
                        {false, true, BottomKey}};
  const QImage picture = ThreeColumns();
  for (const Case &c : cases) {
    QImage image = White(25, 10);
    Canvas canvas(image);
    style::DrawThreePart(picture, canvas, {2, 1, 22, 9}, c.cornerFromTop, c.keyFromPixel);
    const auto shown = [&](TColor source) { return source == c.key ? framework::clWhite : source; };
    struct Probe {
      int x, y;
      TColor want;
    };
    const Probe probes[] = {
        {2, 1, shown(TopKey)},
        {2, 4, shown(BottomKey)},
        {3, 2, shown(framework::clFuchsia)},
        {4, 3, Left},
        {2, 6, framework::clWhite}, // the ends are not stretched
        {5, 1, shown(TopKey)},
        {18, 2, shown(TopKey)}, // the middle's top row, doubled
        {5, 3, Middle},
        {18, 8, Middle},
        {19, 1, Right},
        {21, 4, shown(BottomKey)},
        {21, 5, framework::clWhite},
        {22, 1, framework::clWhite},
        {1, 1, framework::clWhite},
        {10, 0, framework::clWhite},
    };
    for (const Probe &p : probes)
      EXPECT_EQ(canvas.Pixel(p.x, p.y), p.want)
          << p.x << "," << p.y << " with key " << std::hex << c.key;
  }
}
