#include "AATestHelpers.h"
#include "framework/Fonts.h"
#include "widgets/aa/AAForeground.h"
#include "widgets/aa/TCnAAFont.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace widgets::aa;
using aatest::At;
using aatest::Filled;
using aatest::InkBox;
using framework::TColor;

namespace {

const QString Percent = QStringLiteral("83%");

// An engine drawing white bold 13-pixel text on a black canvas.
class Engine : public testing::Test {
protected:
  Engine() : Image(Filled(60, 40, 0)), Canvas(Image), Font(&Canvas) {
    Canvas.SetFont(framework::MakeFont(QStringLiteral("MS Sans Serif"), -13, true));
    Canvas.SetFontColor(framework::clWhite);
  }
  // The text's pixels at `quality` drawn at (x, y) with the current effects.
  QImage Render(int x, int y, const QString &text = Percent) {
    Image.fill(0);
    Font.RenderText(x, y, text);
    return Image.copy();
  }

  QImage Image;
  framework::Canvas Canvas;
  TCnAAFontEx Font;
};

TEST_F(Engine, MeasuresAtScaleRoundingUp) {
  for (const TAAQuality quality :
       {TAAQuality::aqHigh, TAAQuality::aqNormal, TAAQuality::aqLow, TAAQuality::aqNone}) {
    Font.Mask().SetQuality(quality);
    const int s = QualityScale(quality);
    const QFontMetrics big(TCnAAMask::ScaledFont(Canvas.Font(), s));
    EXPECT_EQ(Font.MeasureText(Percent),
              QSize((big.horizontalAdvance(Percent) + s - 1) / s, (big.height() + s - 1) / s));
    EXPECT_EQ(Font.MeasureWidth(Percent), Font.MeasureText(Percent).width());
    EXPECT_EQ(Font.MeasureHeight(Percent), Font.MeasureText(Percent).height());
  }
}

TEST_F(Engine, ItalicTextGrowsByThreeTenthsOfAnAverageCharacter) {
  QFont italic = Canvas.Font();
  italic.setItalic(true);
  Canvas.SetFont(italic);
  const QFontMetrics big(TCnAAMask::ScaledFont(italic, 3));
  const int cx = (big.horizontalAdvance(Percent) + 2) / 3;
  // Round(cx / 3 * 0.3), halves to even.
  EXPECT_EQ(Font.MeasureWidth(Percent), cx + static_cast<int>(std::nearbyint(cx / 3.0 * 0.3)));
}

TEST_F(Engine, TheShadowGrowsTheBoxByItsOffsets) {
  const QSize plain = Font.MeasureText(Percent);
  Font.Effect().Shadow().SetEnabled(true);
  for (const int offset : {-2, 2}) {
    Font.Effect().Shadow().SetOffsetX(offset);
    Font.Effect().Shadow().SetOffsetY(-offset);
    EXPECT_EQ(Font.MeasureText(Percent), plain + QSize(2, 2));
  }
}

TEST_F(Engine, AQuarterTurnSwapsTheBoxAndKeepsTheTextInside) {
  const QSize plain = Font.MeasureText(Percent);
  Font.Effect().SetAngle(90);
  const QSize turned = Font.MeasureText(Percent);
  // Rounded corners may add one pixel on each axis.
  EXPECT_GE(turned.width(), plain.height());
  EXPECT_LE(turned.width(), plain.height() + 1);
  EXPECT_GE(turned.height(), plain.width());
  EXPECT_LE(turned.height(), plain.width() + 1);
  const QRect ink = InkBox(Render(5, 5), 0);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_TRUE(QRect(QPoint(5, 5), turned).contains(ink));
  EXPECT_GT(ink.height(), ink.width());
  EXPECT_EQ(Canvas.FontAngle(), 0); // restored
}

TEST_F(Engine, AWholeTurnDrawsLikeNoTurn) {
  const QSize plain = Font.MeasureText(Percent);
  const QImage straight = Render(3, 3);
  for (const int angle : {360, -360}) {
    Font.Effect().SetAngle(angle);
    // Rounding the corners of an odd-sized box would cut a column or a row.
    EXPECT_EQ(Font.MeasureText(Percent), plain) << angle;
    EXPECT_EQ(Render(3, 3), straight) << angle;
  }
}

TEST_F(Engine, FullAlphaGivesTheMaskValueAndZeroAlphaNothing) {
  Font.Mask().SetQuality(TAAQuality::aqNone);
  const QImage full = Render(2, 3);
  const QRect ink = InkBox(full, 0);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_TRUE(QRect(QPoint(2, 3), Font.MeasureText(Percent)).contains(ink));
  for (int y = 0; y < full.height(); ++y)
    for (int x = 0; x < full.width(); ++x) {
      const TColor c = At(full, x, y);
      EXPECT_TRUE(c == 0 || c == 0xFFFFFF) << x << "," << y; // hard mask, exact font colour
    }
  Font.Effect().SetAlpha(0);
  EXPECT_EQ(InkBox(Render(2, 3), 0), QRect());
}

TEST_F(Engine, ASingleSpaceChangesNoPixel) {
  QImage pattern = Filled(60, 40, 0);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x)
      pattern.setPixel(x, y, qRgb(x * 4, y * 6, (x + y) % 256));
  for (const bool shadow : {false, true}) {
    Font.Effect().Shadow().SetEnabled(shadow);
    Image = pattern.copy();
    Font.RenderText(3, 3, QStringLiteral(" "));
    EXPECT_EQ(Image, pattern) << "shadow " << shadow;
  }
}

// The text's full-ink pixels without a shadow, drawn at (10, 10).
std::vector<QPoint> FullInk(const QImage &image) {
  std::vector<QPoint> points;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (At(image, x, y) == 0xFFFFFF) points.emplace_back(x, y);
  return points;
}

TEST_F(Engine, ShadowOffsetsMoveTheShadowOrTheText) {
  Font.Mask().SetQuality(TAAQuality::aqNone);
  const std::vector<QPoint> text = FullInk(Render(10, 10));
  ASSERT_FALSE(text.empty());
  TCnAAShadow &shadow = Font.Effect().Shadow();
  shadow.SetEnabled(true);
  shadow.SetBlur(0);
  shadow.SetAlpha(100);
  shadow.SetColor(0x0000FF);
  struct Case {
    int offset;
    QPoint textMoves;
    QPoint shadowMoves;
  };
  for (const Case &c : {Case{2, {0, 0}, {2, 2}}, Case{-2, {2, 2}, {0, 0}}}) {
    shadow.SetOffsetX(c.offset);
    shadow.SetOffsetY(c.offset);
    const QImage drawn = Render(10, 10);
    std::set<std::pair<int, int>> textAt;
    for (const QPoint &p : text) {
      const QPoint q = p + c.textMoves;
      textAt.insert({q.x(), q.y()});
      EXPECT_EQ(At(drawn, q.x(), q.y()), 0xFFFFFFu) << "offset " << c.offset;
    }
    for (const QPoint &p : text) {
      const QPoint q = p + c.shadowMoves;
      if (!textAt.count({q.x(), q.y()})) {
        EXPECT_EQ(At(drawn, q.x(), q.y()), 0x0000FFu) << "offset " << c.offset;
      }
    }
  }
}

TEST_F(Engine, MirrorsTurnTheInkOver) {
  Font.Mask().SetQuality(TAAQuality::aqNone);
  const QSize size = Font.MeasureText(Percent);
  const QImage plain = Render(0, 0);
  Font.Effect().SetHorzMirror(true);
  const QImage horz = Render(0, 0);
  Font.Effect().SetVertMirror(true);
  const QImage both = Render(0, 0);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x) {
      EXPECT_EQ(At(horz, size.width() - 1 - x, y), At(plain, x, y));
      EXPECT_EQ(At(both, size.width() - 1 - x, size.height() - 1 - y), At(plain, x, y));
    }
}

TEST_F(Engine, AnOpaqueBrushFillsTheTextBoxOnce) {
  Canvas.SetBrushColor(0x00FF00);
  Font.SetBrushClear(false);
  const QImage drawn = Render(4, 4, QStringLiteral(" "));
  EXPECT_EQ(InkBox(drawn, 0), QRect(QPoint(4, 4), Font.MeasureText(QStringLiteral(" "))));
  EXPECT_EQ(At(drawn, 4, 4), 0x00FF00u);
  EXPECT_FALSE(Font.BrushClear()); // the engine's own brush is kept
}

TEST_F(Engine, TheGradientIsLaidOverTheTextBox) {
  Font.Mask().SetQuality(TAAQuality::aqNone);
  Font.Effect().Gradual().SetEnabled(true);
  Font.Effect().Gradual().SetStartColor(0x0000FF);
  Font.Effect().Gradual().SetEndColor(0xFF0000);
  const QSize size = Font.MeasureText(Percent);
  QImage ramp;
  GradientForeground(ramp, size, gsLeftToRight, 0x0000FF, 0xFF0000);
  const QImage drawn = Render(7, 2);
  int inked = 0;
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      if (At(drawn, 7 + x, 2 + y) != 0) {
        ++inked;
        EXPECT_EQ(At(drawn, 7 + x, 2 + y), At(ramp, x, y)) << x << "," << y;
      }
  EXPECT_GT(inked, 20);
}

} // namespace

TEST_F(Engine, AtALargerRatioTheTextIsMaskedAtThatSizeInTheImagesPixels) {
  // At ratio 2 the engine works as it would on a plain image twice as large, in a font twice as
  // large, at twice the place and with twice the shadow's offsets.
  const struct {
    const char *name;
    bool shadow;
  } cases[] = {{"plain", false}, {"shadowed", true}};
  for (const auto &c : cases) {
    Font.Effect().Shadow().SetEnabled(c.shadow);
    Font.Effect().Shadow().SetOffsetX(2);
    Font.Effect().Shadow().SetOffsetY(-1);
    Font.SetCanvas(&Canvas);
    const QSize unscaled = Font.MeasureText(Percent);
    QImage twice = Filled(120, 80, 0);
    twice.setDevicePixelRatio(2);
    framework::Canvas scaled(twice);
    scaled.SetFont(Canvas.Font());
    scaled.SetFontColor(framework::clWhite);
    Font.SetCanvas(&scaled);
    const QSize measured = Font.MeasureText(Percent);
    Font.RenderText(5, 3, Percent);

    QImage reference = Filled(120, 80, 0);
    framework::Canvas large(reference);
    large.SetFont(framework::MakeFont(QStringLiteral("MS Sans Serif"), -26, true));
    large.SetFontColor(framework::clWhite);
    Font.SetCanvas(&large);
    Font.Effect().Shadow().SetOffsetX(4);
    Font.Effect().Shadow().SetOffsetY(-2);
    Font.RenderText(10, 6, Percent);
    Font.SetCanvas(&Canvas);

    twice.setDevicePixelRatio(1);
    EXPECT_EQ(twice, reference) << c.name;
    // Measured in the canvas's own pixels, as at ratio 1.
    EXPECT_EQ(measured, unscaled) << c.name;
  }
}
