#include "skin/FormFrame.h"

#include "skin/style/DrawOps.h"

#include <algorithm>
#include <cmath>

namespace skin {

using framework::Canvas;
using framework::TRect;

FrameInsets ClientInsets(int borderWidth, int leftBorderWidth, int bottomBorderHeight) {
  // The window keeps the standard frame inside what these leave; a border of 3 fits it exactly.
  const int side = leftBorderWidth > 0 ? leftBorderWidth - 2 : 0;
  const int bottom = bottomBorderHeight > 0 ? bottomBorderHeight - 2
                     : borderWidth == 3     ? 0
                                            : borderWidth - 2;
  return {side + StandardFrame, StandardFrame, side + StandardFrame, bottom + StandardFrame};
}

namespace {

bool HasTitlePictures(const FrameLook &look) {
  return !look.TitleLeft.isNull() && !look.TitleClient.isNull() && !look.TitleRight.isNull();
}

// The title pictures continue into the frame: `edge` columns on each side from the left and right
// pictures, and the top three rows between them from the pictures composed across the window.
void PaintTitleEdge(Canvas &canvas, const FrameLook &look, int leftFrom, int edge, int stripLeft,
                    int stripRight) {
  const int w = canvas.Width();
  const QImage &left = look.TitleLeft, &right = look.TitleRight;
  const int columns = edge - leftFrom;
  if (columns > 0) {
    canvas.Draw(leftFrom, 0, left.copy(0, 0, columns, left.height()));
    // A right picture narrower than the edge is stretched over it.
    const QImage rightEdge = right.width() >= columns
                                 ? right.copy(right.width() - columns, 0, columns, right.height())
                                 : right;
    canvas.StretchDraw({w - edge, 0, w - leftFrom, right.height()}, rightEdge);
  }
  QImage strip(w, StandardFrame, QImage::Format_RGB32);
  strip.fill(Qt::black);
  Canvas composed(strip);
  composed.StretchDraw({left.width(), 0, w - right.width(), look.TitleClient.height()},
                       look.TitleClient);
  composed.Draw(0, 0, left);
  composed.Draw(w - right.width(), 0, right);
  if (stripRight > stripLeft)
    canvas.Draw(stripLeft, 0, strip.copy(stripLeft, 0, stripRight - stripLeft, StandardFrame));
}

bool InCircle(int x, int y, int cx, int cy, int r) {
  const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
  return dx * dx + dy * dy <= double(r) * r;
}

// The outline of the rounded top corners: the pixels inside the rounding that touch the outside.
void PaintCornerArcs(Canvas &canvas, int radius, framework::TColor color) {
  const int w = canvas.Width();
  const auto inside = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= w) return false;
    if (y >= radius) return true;
    if (x < radius) return InCircle(x, y, radius, radius, radius);
    if (x >= w - radius) return InCircle(x, y, w - radius, radius, radius);
    return true;
  };
  canvas.SetBrushColor(color);
  for (int y = 0; y < radius; ++y)
    for (int x : {0, w - radius})
      for (int i = 0; i < radius; ++i) {
        const int px = x + i;
        if (inside(px, y) && (!inside(px - 1, y) || !inside(px + 1, y) || !inside(px, y - 1)))
          canvas.SetPixel(px, y, color);
      }
}

void PaintPlainFrame(Canvas &canvas, const FrameLook &look) {
  const int w = canvas.Width(), h = canvas.Height(), bw = look.BorderWidth;
  const bool titleVisible = look.TitleHeight > 0;
  const int t = look.TitleHeight;
  canvas.SetBrushColor(look.BorderColor);
  canvas.FillRect({0, 0, bw, h});
  canvas.FillRect({0, h - bw, w, h});
  canvas.FillRect({w - bw, 0, w, h});
  if (bw < 4) {
    canvas.SetBrushColor(look.Color);
    canvas.FillRect({bw, t, StandardFrame, h - bw});
    canvas.FillRect({bw, h - StandardFrame, w - bw, h - bw});
    canvas.FillRect({w - StandardFrame, t, w - bw, h - bw});
    if (look.MenuBarHeight > 0) {
      const int top = t + StandardFrame, bottom = top + look.MenuBarHeight;
      canvas.SetBrushColor(look.MenuBarColor);
      canvas.FillRect({bw, top, StandardFrame, bottom});
      canvas.FillRect({w - StandardFrame, top, w - bw, bottom});
    }
  }
  if (titleVisible && HasTitlePictures(look) && bw < 4)
    // The strip starts one column into the frame whatever the border, over a 3-pixel one too.
    PaintTitleEdge(canvas, look, bw, StandardFrame, StandardFrame - 1, w - StandardFrame);
  if (bw == 1 && look.RoundCorner == 11) PaintCornerArcs(canvas, 11, look.BorderColor);
  if (!titleVisible) {
    canvas.SetBrushColor(look.BorderColor);
    canvas.FillRect({0, 0, w, 1});
    canvas.SetBrushColor(look.Color);
    canvas.FillRect({bw, 1, w - bw, StandardFrame});
  }
}

void PaintThemeFrame(Canvas &canvas, const FrameLook &look) {
  const int w = canvas.Width(), h = canvas.Height();
  const int lw = look.LeftBorder.width();
  const int b = look.BottomBorder.isNull() ? 0 : look.BottomBorder.height();
  const int t = look.TitleHeight;
  if (b > 0) style::DrawThreePart(look.BottomBorder, canvas, {0, h - b, w, h}, false, false);
  canvas.StretchDraw({0, t, lw, h - b}, look.LeftBorder);
  canvas.StretchDraw({w - lw, t, w, h - b}, look.RightBorder);
  canvas.SetBrushColor(look.Color);
  canvas.FillRect({lw, t, lw + 1, h - b});
  canvas.FillRect({w - lw - 1, t, w - lw, h - b});
  if (look.MenuBarHeight > 0) {
    const int top = t + StandardFrame, bottom = top + look.MenuBarHeight;
    canvas.SetBrushColor(look.MenuBarColor);
    canvas.FillRect({lw, top, lw + 1, bottom});
    canvas.FillRect({w - lw - 1, top, w - lw, bottom});
  }
  if (t > 0 && HasTitlePictures(look)) {
    PaintTitleEdge(canvas, look, 0, lw + 2, lw + 2, w - lw - 2);
  } else {
    canvas.SetBrushColor(look.MenuBarHeight > 0 ? look.MenuBarColor : look.Color);
    canvas.FillRect({lw, 0, w - lw, StandardFrame});
  }
}

} // namespace

void PaintFrame(Canvas &canvas, const FrameLook &look) {
  // Frame pixels that no rule below reaches (beside a title bar without pictures, a border wider
  // than the standard frame) show the panel colour rather than whatever was there.
  canvas.SetBrushColor(look.Color);
  canvas.FillRect({0, 0, canvas.Width(), canvas.Height()});
  if (look.LeftBorder.isNull())
    PaintPlainFrame(canvas, look);
  else
    PaintThemeFrame(canvas, look);
}

QRegion RoundedRect(const QRect &rect, int radius) {
  const int r = std::clamp(radius, 0, std::min(rect.width(), rect.height()) / 2);
  if (r == 0) return QRegion(rect);
  QRegion region(rect.adjusted(0, r, 0, -r));
  for (int y = 0; y < r; ++y) {
    // The first column whose centre lies within the circle on this row.
    const double dy = r - (y + 0.5);
    const double half = std::sqrt(double(r) * r - dy * dy);
    const int inset = std::max(0, static_cast<int>(std::ceil(r - half - 0.5)));
    const int width = rect.width() - 2 * inset;
    if (width <= 0) continue;
    region += QRect(rect.left() + inset, rect.top() + y, width, 1);
    region += QRect(rect.left() + inset, rect.bottom() - y, width, 1);
  }
  return region;
}

QRegion WindowRegion(QSize size, int roundCorner, int roundCornerBottom) {
  const int w = size.width(), h = size.height(), m = h / 2;
  const int top = std::max(0, roundCorner), bottom = std::max(0, roundCornerBottom);
  QRegion upper = RoundedRect(QRect(0, 0, w, m), top);
  if (top > 0) {
    upper += QRect(0, m + 1 - 2 * top, 2 * top, 2 * top);
    upper += QRect(w + 1 - 2 * top, m + 1 - 2 * top, 2 * top, 2 * top);
  }
  QRegion lower = RoundedRect(QRect(0, m, w, h - m), bottom);
  if (bottom > 0) {
    lower += QRect(0, m, 2 * bottom, 2 * bottom);
    lower += QRect(w + 1 - 2 * bottom, m, 2 * bottom, 2 * bottom);
  }
  return (upper + lower) & QRegion(0, 0, w, h);
}

QRect MaximisedBounds(const QRect &workArea) {
  return workArea.adjusted(-2, -2, 2, -1);
}

} // namespace skin
