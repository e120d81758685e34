#pragma once

#include "framework/Canvas.h"

#include <QImage>
#include <QPoint>
#include <QSize>

namespace skin {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The picture a button shows when its style has none: 74 x 21, white.
QImage BlankButtonImage();

// Stretches a button state of any size over a W x H button without distorting its corners: the
// corners stay unscaled (cut to half the button), one column and one row of the picture fill the
// edges and the centre. Magenta is always transparent in the edges and the centre; in the corners
// only with `transparentCorners`.
void DrawCornerStretch(framework::Canvas &canvas, const QImage &state, int width, int height,
                       bool transparentCorners);

struct GlyphPlace {
  QPoint Glyph;
  QPoint Caption;
  bool operator==(const GlyphPlace &) const = default;
};

// Where a glyph of `glyph` size and a caption of `text` size go in a `client` sized button.
GlyphPlace PlaceGlyph(TButtonLayout layout, QSize client, QSize glyph, QSize text, int spacing);

// The size one image of a glyph takes: a glyph twice as wide as high holds two (normal,
// disabled).
QSize GlyphImageSize(const QImage &glyph);

// Draws a glyph with its pixel (0, 0) as the transparent colour: a two-image glyph shows its
// second image when disabled, a one-image glyph is drawn greyed then.
void DrawGlyph(framework::Canvas &canvas, const QImage &glyph, QPoint at, bool enabled);

// A dotted focus frame on the border of `r`: every other pixel, starting at its top-left corner,
// inverted, so that it shows on any skin.
void InvertFocusRect(framework::Canvas &canvas, const framework::TRect &r);

} // namespace skin
