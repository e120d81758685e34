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
