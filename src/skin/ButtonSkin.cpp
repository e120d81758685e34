#include "skin/ButtonSkin.h"

#include <algorithm>

namespace skin {

using framework::TColor;
using framework::TRect;

QImage BlankButtonImage() {
  QImage blank(74, 21, QImage::Format_RGB32);
  blank.fill(Qt::white);
  return blank;
}

namespace {

// Copies the block (x, y, w, h) of `source` stretched over `dest`; nothing for an empty block.
void DrawBlock(framework::Canvas &canvas, const QImage &source, QRect block, const TRect &dest,
               std::optional<TColor> key) {
  block &= source.rect();
  if (block.isEmpty() || dest.IsEmpty()) return;
  canvas.StretchDraw(dest, source.copy(block), key);
}

} // namespace

void DrawCornerStretch(framework::Canvas &canvas, const QImage &state, int width, int height,
                       bool transparentCorners) {
  const int sw = state.width();
  const int sh = state.height();
  if (sw <= 0 || sh <= 0 || width <= 0 || height <= 0) return;
  const int halfW = sw / 2;
  const int halfH = sh / 2;
  // The right and bottom corners start one pixel further out, so they are one pixel smaller;
  // every corner keeps at most half the button.
  const auto cut = [](int size, int room) { return std::max(0, std::min(size, room)); };
  const int leftW = cut(halfW, width / 2);
  const int rightW = cut(halfW - 1, width / 2 - 1);
  const int topH = cut(halfH, height / 2);
  const int bottomH = cut(halfH - 1, height / 2 - 1);

  const std::optional<TColor> cornerKey =
      transparentCorners ? std::optional<TColor>(framework::clFuchsia) : std::nullopt;
  const auto corner = [&](int sx, int sy, int w, int h, int dx, int dy) {
    DrawBlock(canvas, state, QRect(sx, sy, w, h), TRect{dx, dy, dx + w, dy + h}, cornerKey);
  };
  corner(0, 0, leftW, topH, 0, 0);
  corner(sw - rightW, 0, rightW, topH, width - rightW, 0);
  corner(0, sh - bottomH, leftW, bottomH, 0, height - bottomH);
  corner(sw - rightW, sh - bottomH, rightW, bottomH, width - rightW, height - bottomH);

  // One column (two for an odd width) and one row of the picture fill the rest.
  const int edgeW = std::max(1, std::min(sw - 2 * halfW + 1, sw - halfW));
  const int leftRow = std::min(halfH, sh - 1);
  const int rightRow = std::min(halfH + 1, sh - 1);
  const std::optional<TColor> magenta = framework::clFuchsia;
  DrawBlock(canvas, state, QRect(halfW, 0, edgeW, topH), {leftW, 0, width - rightW, topH}, magenta);
  DrawBlock(canvas, state, QRect(halfW, sh - bottomH, edgeW, bottomH),
            {leftW, height - bottomH, width - rightW, height}, magenta);
  DrawBlock(canvas, state, QRect(0, leftRow, leftW, 1), {0, topH, leftW, height - bottomH},
            magenta);
  DrawBlock(canvas, state, QRect(sw - rightW, rightRow, rightW, 1),
            {width - rightW, topH, width, height - bottomH}, magenta);
  DrawBlock(canvas, state, QRect(halfW, leftRow, edgeW, 1),
            {leftW, topH, width - rightW, height - bottomH}, magenta);
}

GlyphPlace PlaceGlyph(TButtonLayout layout, QSize client, QSize glyph, QSize text, int spacing) {
  const int w = client.width(), h = client.height();
  const int gw = glyph.width(), gh = glyph.height();
  const int tw = text.width(), th = text.height();
  GlyphPlace place;
  switch (layout) {
  case TButtonLayout::blGlyphLeft:
    place.Glyph = {(w - (tw + gw + spacing)) / 2, (h - gh) / 2};
    place.Caption = {place.Glyph.x() + gw + spacing, (h - th) / 2};
    break;
  case TButtonLayout::blGlyphRight:
    place.Glyph = {(w + tw + spacing - gw) / 2, (h - gh) / 2};
    place.Caption = {place.Glyph.x() - tw - spacing, (h - th) / 2};
    break;
  case TButtonLayout::blGlyphTop:
    place.Glyph = {(w - gw) / 2, (h - (th + gh + spacing)) / 2};
    place.Caption = {(w - tw) / 2, place.Glyph.y() + gh + spacing};
    break;
  case TButtonLayout::blGlyphBottom:
    place.Glyph = {(w - gw) / 2, (h + th + spacing - gh) / 2};
    place.Caption = {(w - tw) / 2, place.Glyph.y() - th - spacing};
    break;
  }
  return place;
}

QSize GlyphImageSize(const QImage &glyph) {
  if (glyph.isNull()) return {};
  const bool twoImages = glyph.width() == 2 * glyph.height();
  return {twoImages ? glyph.height() : glyph.width(), glyph.height()};
}

void DrawGlyph(framework::Canvas &canvas, const QImage &glyph, QPoint at, bool enabled) {
  if (glyph.isNull()) return;
  const QSize one = GlyphImageSize(glyph);
  const bool twoImages = one.width() != glyph.width();
  const TColor key = framework::ImagePixel(glyph, 0, 0);
  if (enabled || twoImages) {
    const int from = !enabled && twoImages ? one.width() : 0;
    canvas.Draw(at.x(), at.y(), glyph.copy(from, 0, one.width(), one.height()), key);
    return;
  }
  // Greyed like a disabled caption: the shape in white one pixel down and right, then in grey.
  for (const auto &[offset, colour] :
       {std::pair{1, framework::clWhite}, std::pair{0, framework::clGray}})
    for (int y = 0; y < one.height(); ++y)
      for (int x = 0; x < one.width(); ++x)
        if (framework::ImagePixel(glyph, x, y) != key)
          canvas.SetPixel(at.x() + x + offset, at.y() + y + offset, colour);
}

void InvertFocusRect(framework::Canvas &canvas, const TRect &r) {
  if (r.IsEmpty()) return;
  const auto dot = [&](int x, int y) {
    if ((x - r.Left + y - r.Top) % 2 == 0) canvas.SetPixel(x, y, canvas.Pixel(x, y) ^ 0xFFFFFF);
  };
  for (int x = r.Left; x < r.Right; ++x) {
    dot(x, r.Top);
    if (r.Bottom - 1 > r.Top) dot(x, r.Bottom - 1);
  }
  for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
    dot(r.Left, y);
    if (r.Right - 1 > r.Left) dot(r.Right - 1, y);
  }
}

} // namespace skin
