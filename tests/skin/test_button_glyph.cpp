#include "ButtonTestHelpers.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace skin::test;

namespace {

TEST(ButtonSkin, PlaceGlyphAndCaption) {
  const struct {
    TButtonLayout layout;
    QSize client, text;
    GlyphPlace expected;
  } cases[] = {
      {TButtonLayout::blGlyphLeft, {100, 40}, {30, 13}, {{25, 12}, {45, 13}}},
      {TButtonLayout::blGlyphRight, {100, 40}, {30, 13}, {{59, 12}, {25, 13}}},
      {TButtonLayout::blGlyphTop, {100, 40}, {30, 13}, {{42, 3}, {35, 23}}},
      {TButtonLayout::blGlyphBottom, {100, 40}, {30, 13}, {{42, 20}, {35, 3}}},
      // Halves of negative numbers are cut toward zero.
      {TButtonLayout::blGlyphLeft, {10, 9}, {31, 13}, {{-20, -3}, {0, -2}}},
  };
  for (const auto &c : cases)
    EXPECT_EQ(PlaceGlyph(c.layout, c.client, QSize(16, 16), c.text, 4), c.expected)
        << static_cast<int>(c.layout) << " in " << c.client.width();
}

// An 8 x 8 glyph: a white border (its transparent colour, from pixel (0, 0)) around `inside`; a
// second image in `disabled` beside it when given.
QImage Glyph(QColor inside, QColor disabled = {}) {
  const int images = disabled.isValid() ? 2 : 1;
  QImage glyph(8 * images, 8, QImage::Format_RGB32);
  glyph.fill(Qt::white);
  for (int i = 0; i < images; ++i)
    for (int y = 1; y < 7; ++y)
      for (int x = 1; x < 7; ++x)
        glyph.setPixelColor(8 * i + x, y, i == 0 ? inside : disabled);
  return glyph;
}

TEST(ButtonSkin, GlyphFormsDrawTheRightImage) {
  const struct {
    bool twoImages;
    bool enabled;
    QColor shown; // the colour the glyph's inside shows at (1..6, 1..6)
  } cases[] = {{false, true, Qt::red},
               {false, false, QColor(0x80, 0x80, 0x80)},
               {true, true, Qt::red},
               {true, false, Qt::green}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.twoImages << c.enabled);
    QImage out(20, 20, QImage::Format_RGB32);
    out.fill(Qt::black);
    framework::Canvas canvas(out);
    DrawGlyph(canvas, c.twoImages ? Glyph(Qt::red, Qt::green) : Glyph(Qt::red), QPoint(3, 4),
              c.enabled);
    EXPECT_EQ(out.pixelColor(3, 4), QColor(Qt::black)); // transparent corner
    EXPECT_EQ(out.pixelColor(4, 5), c.shown);
    EXPECT_EQ(out.pixelColor(9, 10), c.shown);
    // Only the greyed form leaves its white shadow one pixel beyond the shape.
    const bool greyed = !c.twoImages && !c.enabled;
    EXPECT_EQ(out.pixelColor(10, 11), greyed ? QColor(Qt::white) : QColor(Qt::black));
    EXPECT_EQ(out.pixelColor(11, 4), QColor(Qt::black)); // never the second image's place
  }
}

TEST(TsuiButton, GlyphAboveTheCaptionMovesWhenPressed) {
  QWidget parent;
  FlatButton flat(&parent);
  TsuiButton &button = flat.button;
  button.setGeometry(0, 0, 80, 40);
  button.SetGlyph(Glyph(Qt::red, Qt::green));
  button.SetLayout(TButtonLayout::blGlyphTop);
  button.SetSpacing(2);
  button.SetCaption(QStringLiteral(" "));
  button.Repaint();
  // An 8 x 8 image: x (80 - 8) / 2 = 36; y (40 - (th + 8 + 2)) / 2.
  const int th = QFontMetrics(framework::MakeFont(button.Font())).height();
  const QPoint at(36, (40 - (th + 10)) / 2);
  const auto red = PixelsOf(button.Buffer(), Qt::red);
  ASSERT_EQ(red.size(), 36u);
  EXPECT_EQ(*red.begin(), std::pair(at.x() + 1, at.y() + 1));
  Mouse(button, QEvent::MouseButtonPress, QPoint(5, 5));
  button.Repaint();
  EXPECT_EQ(*PixelsOf(button.Buffer(), Qt::red).begin(), std::pair(at.x() + 2, at.y() + 2));
}

} // namespace
