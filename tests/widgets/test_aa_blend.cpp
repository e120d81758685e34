#include "AATestHelpers.h"
#include "widgets/aa/AAForeground.h"
#include "widgets/aa/AARandom.h"
#include "widgets/aa/TCnAABlend.h"

#include <gtest/gtest.h>

#include <set>

using namespace widgets::aa;
using aatest::At;
using aatest::Filled;
using aatest::Mask;
using framework::TColor;

namespace {

struct BlendCase {
  const char *name;
  TColor pixel;
  TColor color;
  int mask;
  int alpha;
  TColor expected;
};

class Blend : public testing::TestWithParam<BlendCase> {};

TEST_P(Blend, MovesEachChannelByTheFlooredStep) {
  const BlendCase &c = GetParam();
  QImage image = Filled(3, 3, c.pixel);
  framework::Canvas canvas(image);
  TCnAABlend blend;
  blend.BlendColor(canvas, Mask({{c.mask}}), QPoint(1, 1), c.color, c.alpha);
  EXPECT_EQ(At(image, 1, 1), c.expected);
  EXPECT_EQ(At(image, 0, 0), c.pixel); // outside the mask
  EXPECT_EQ(At(image, 2, 2), c.pixel);

  // The same step through a foreground of that colour.
  QImage again = Filled(3, 3, c.pixel);
  framework::Canvas second(again);
  blend.Foreground() = Filled(1, 1, c.color);
  blend.BlendForeground(second, Mask({{c.mask}}), QPoint(1, 1), c.alpha);
  EXPECT_EQ(At(again, 1, 1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Channels, Blend,
    testing::Values(BlendCase{"FullInkAlpha100IsTheColour", 0x000000, 0x123456, 255, 100, 0x123456},
                    BlendCase{"Alpha0ChangesNothing", 0x102030, 0xFFFFFF, 255, 0, 0x102030},
                    BlendCase{"Mask0ChangesNothing", 0x102030, 0xFFFFFF, 0, 100, 0x102030},
                    // Alpha 100: t is the mask value. 224 * 200 / 256 = 175 exactly.
                    BlendCase{"Alpha100TakesTheMaskValue", 0x302010, 0xD0E0F0, 200, 100, 0xADB6BF},
                    BlendCase{"DownwardStep", 0xD0E0F0, 0x302010, 200, 100, 0x534A41},
                    // t = 100: +87.5 -> 87 and -87.5 -> -88 (floor, not truncation); 62.5 likewise.
                    BlendCase{"UpwardHalfFloors", 0x302010, 0xD0E0F0, 100, 100, 0x6E6B67},
                    BlendCase{"DownwardHalfFloors", 0xD0E0F0, 0x302010, 100, 100, 0x919598},
                    // A step of -100 / 256 still moves by one.
                    BlendCase{"SmallDownwardStepMoves", 0xC8C8C8, 0x646464, 1, 100, 0xC7C7C7},
                    BlendCase{"SmallUpwardStepStays", 0x646464, 0xC8C8C8, 1, 100, 0x646464},
                    // Alpha 50: A = 128, t = 255 * 128 >> 8 = 127; 255 * 127 / 256 = 126.5.
                    BlendCase{"Alpha50", 0x000000, 0xFFFFFF, 255, 50, 0x7E7E7E},
                    // aqNormal's full ink is 254: 255 * 254 / 256 = 253.0.
                    BlendCase{"NormalQualityFullInk", 0x000000, 0xFFFFFF, 254, 100, 0xFDFDFD},
                    BlendCase{"SystemColourIsResolved", 0x000000, framework::clBtnFace, 255, 100,
                              0xC8D0D4}),
    [](const testing::TestParamInfo<BlendCase> &p) { return std::string(p.param.name); });

TEST(AABlend, AForegroundOfAnotherSizeOrFormatIsRefused) {
  QImage image = Filled(4, 4, 0);
  framework::Canvas canvas(image);
  TCnAABlend blend;
  const auto mask = Mask({{255, 255}, {255, 255}});
  for (const QImage &foreground :
       {Filled(3, 2, 0xFF), Filled(2, 3, 0xFF),
        Filled(2, 2, 0xFF).convertToFormat(QImage::Format_RGB888), QImage()}) {
    blend.Foreground() = foreground;
    try {
      blend.BlendForeground(canvas, mask, QPoint(), 100);
      ADD_FAILURE() << "blended a " << foreground.width() << " x " << foreground.height()
                    << " foreground";
    } catch (const AAError &e) {
      EXPECT_STREQ(e.what(), "Invalid foreground bitmap!");
    }
  }
  EXPECT_EQ(aatest::InkBox(image, 0), QRect());
}

TEST(AABlend, TakesEachPixelFromTheForeground) {
  QImage image = Filled(2, 1, 0);
  framework::Canvas canvas(image);
  TCnAABlend blend;
  blend.Foreground() = Filled(2, 1, 0);
  blend.Foreground().setPixel(0, 0, framework::ToQRgb(0x0000FF));
  blend.Foreground().setPixel(1, 0, framework::ToQRgb(0x00FF00));
  blend.BlendForeground(canvas, Mask({{255, 255}}), QPoint(), 100);
  EXPECT_EQ(At(image, 0, 0), 0x0000FFu);
  EXPECT_EQ(At(image, 1, 0), 0x00FF00u);
}

TEST(AABlend, AMaskOverTheEdgeWritesOnlyInside) {
  QImage image = Filled(2, 2, 0);
  framework::Canvas canvas(image);
  TCnAABlend blend;
  blend.BlendColor(canvas, Mask({{255, 255}, {255, 255}}), QPoint(-1, 1), 0xFFFFFF, 100);
  EXPECT_EQ(At(image, 0, 1), 0xFFFFFFu);
  EXPECT_EQ(At(image, 1, 1), 0u);
  EXPECT_EQ(At(image, 0, 0), 0u);
}

// Red channel of every column (horizontal styles) or row (vertical ones).
std::vector<int> Ramp(const QImage &fg, bool horizontal) {
  std::vector<int> out;
  const int n = horizontal ? fg.width() : fg.height();
  for (int i = 0; i < n; ++i)
    out.push_back(framework::GetRValue(horizontal ? At(fg, i, 0) : At(fg, 0, i)));
  return out;
}

struct GradientCase {
  const char *name;
  TGradualStyle style;
  int length;
  std::vector<int> ramp;
};

class Gradient : public testing::TestWithParam<GradientCase> {};

TEST_P(Gradient, RunsItsRampAlongItsAxis) {
  const GradientCase &c = GetParam();
  const bool horizontal =
      c.style == gsLeftToRight || c.style == gsRightToLeft || c.style == gsCenterToLR;
  const QSize size = horizontal ? QSize(c.length, 3) : QSize(3, c.length);
  QImage fg;
  GradientForeground(fg, size, c.style, 0xFFFFFF, 0x000000);
  ASSERT_EQ(fg.size(), size);
  EXPECT_EQ(fg.format(), QImage::Format_RGB32);
  EXPECT_EQ(Ramp(fg, horizontal), c.ramp);
  // The same across the other axis.
  for (int i = 0; i < c.length; ++i)
    for (int j = 0; j < 3; ++j)
      EXPECT_EQ(horizontal ? At(fg, i, j) : At(fg, j, i), horizontal ? At(fg, i, 0) : At(fg, 0, i));
}

// Entry i = c1 + i * (c2 - c1) div n, div truncating: -255 / 4 is -63.
INSTANTIATE_TEST_SUITE_P(
    Styles, Gradient,
    testing::Values(GradientCase{"LeftToRight", gsLeftToRight, 4, {255, 192, 128, 64}},
                    GradientCase{"RightToLeft", gsRightToLeft, 4, {0, 63, 127, 191}},
                    GradientCase{"TopToBottom", gsTopToBottom, 4, {255, 192, 128, 64}},
                    GradientCase{"BottomToTop", gsBottomToTop, 4, {0, 63, 127, 191}},
                    // Both ends carry the end colour, the middle approaches the start colour.
                    GradientCase{"CenterToLROdd", gsCenterToLR, 5, {0, 85, 170, 85, 0}},
                    GradientCase{"CenterToLREven", gsCenterToLR, 4, {0, 127, 127, 0}},
                    GradientCase{"CenterToTBOdd", gsCenterToTB, 5, {0, 85, 170, 85, 0}},
                    GradientCase{"CenterToTBOne", gsCenterToTB, 1, {0}}),
    [](const testing::TestParamInfo<GradientCase> &p) { return std::string(p.param.name); });

TEST(AAForeground, GradientChannelsRunSeparately) {
  QImage fg;
  GradientForeground(fg, QSize(2, 1), gsLeftToRight, 0x0000FF, 0xFF0000);
  EXPECT_EQ(At(fg, 0, 0), 0x0000FFu);
  EXPECT_EQ(At(fg, 1, 0), framework::RGBColor(128, 0, 127));
}

TEST(AAForeground, NoiseStaysInsideTheChannelRange) {
  AARandom rnd(3);
  for (const TColor font : {TColor{0xFFFFFF}, TColor{0x000000}}) {
    QImage fg;
    NoiseForeground(fg, QSize(16, 16), font, 255, rnd);
    std::set<TColor> seen;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const TColor c = At(fg, x, y);
        seen.insert(c);
        for (const int channel :
             {framework::GetRValue(c), framework::GetGValue(c), framework::GetBValue(c)}) {
          // rnd(255) - 127 lies in -127 .. 127; the clamp keeps the far side.
          if (font == 0xFFFFFF)
            EXPECT_GE(channel, 128);
          else
            EXPECT_LE(channel, 127);
        }
      }
    EXPECT_GT(seen.size(), 100u);
  }
}

TEST(AAForeground, TextureModesPlaceThePicture) {
  QImage picture = Filled(2, 2, 0x0000FF);
  picture.setPixel(1, 1, framework::ToQRgb(0x00FF00));
  const TColor font = 0xFF0000;
  struct Probe {
    TTextureMode mode;
    QPoint at;
    TColor expected;
  };
  for (const Probe &p :
       {Probe{tmNormal, {0, 0}, 0x0000FF}, Probe{tmNormal, {1, 1}, 0x00FF00},
        Probe{tmNormal, {2, 2}, font}, Probe{tmCenter, {1, 0}, 0x0000FF},
        Probe{tmCenter, {2, 1}, 0x00FF00}, Probe{tmCenter, {0, 0}, font},
        Probe{tmTiled, {3, 1}, 0x00FF00}, Probe{tmTiled, {4, 2}, 0x0000FF},
        Probe{tmStretched, {4, 2}, 0x00FF00}, Probe{tmStretched, {0, 0}, 0x0000FF}}) {
    QImage fg;
    TextureForeground(fg, QSize(5, 3), font, picture, p.mode);
    EXPECT_EQ(At(fg, p.at.x(), p.at.y()), p.expected)
        << "mode " << int(p.mode) << " at " << p.at.x() << "," << p.at.y();
  }
}

} // namespace
