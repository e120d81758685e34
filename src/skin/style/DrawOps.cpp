#include "skin/style/DrawOps.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace skin::style {

using framework::TColor;
using framework::TRect;

std::optional<TColor> BottomLeftKey(const QImage &picture) {
  if (picture.isNull()) return std::nullopt;
  return framework::ImagePixel(picture, 0, picture.height() - 1);
}

namespace {

TColor Mix(TColor a, TColor b, double t) {
  const auto channel = [&](int shift) {
    const double from = (a >> shift) & 0xFF;
    const double to = (b >> shift) & 0xFF;
    return static_cast<TColor>(std::lround(from + (to - from) * t)) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

} // namespace

void DrawCapsule(framework::Canvas &canvas, const TRect &r, const std::array<TColor, 3> &gradient,
                 TColor outline) {
  const int w = r.Width();
  const int h = r.Height();
  if (w <= 0 || h <= 0) return;
  const double radius = std::min(h / 2.0, 8.0);
  // Columns left out at each end of a row, from the circle through the row's middle.
  std::vector<int> inset(static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) {
    const double fromEnd = std::min(y, h - 1 - y) + 0.5;
    const double dy = std::max(0.0, radius - fromEnd);
    inset[static_cast<std::size_t>(y)] =
        static_cast<int>(std::lround(radius - std::sqrt(radius * radius - dy * dy)));
  }
  const auto inside = [&](int x, int y) {
    if (y < 0 || y >= h) return false;
    const int in = inset[static_cast<std::size_t>(y)];
    return x >= in && x < w - in;
  };
  for (int y = 0; y < h; ++y) {
    const double t = (y + 0.5) / h;
    const TColor fill =
        t < 0.5 ? Mix(gradient[0], gradient[1], t * 2) : Mix(gradient[1], gradient[2], t * 2 - 1);
    const int in = inset[static_cast<std::size_t>(y)];
    for (int x = in; x < w - in; ++x) {
      const bool edge =
          !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      canvas.SetPixel(r.Left + x, r.Top + y, edge ? outline : fill);
    }
  }
}

void DrawThreePart(const QImage &picture, framework::Canvas &canvas, const TRect &r,
                   bool cornerFromTop, bool keyFromPixel) {
  const int w = picture.width() / 3;
  if (w == 0) return;
  const int h = picture.height();
  const TColor key = !keyFromPixel   ? framework::clFuchsia
                     : cornerFromTop ? framework::ImagePixel(picture, 0, 0)
                                     : framework::ImagePixel(picture, 0, h - 1);
  canvas.Draw(r.Left, r.Top, picture.copy(0, 0, w, h), key);
  canvas.Draw(r.Right - w, r.Top, picture.copy(2 * w, 0, w, h), key);
  const TRect middle{r.Left + w, r.Top, r.Right - w, r.Bottom};
  if (!middle.IsEmpty()) canvas.StretchDraw(middle, picture.copy(w, 0, w, h), key);
}

void DrawFocusRect(framework::Canvas &canvas, const TRect &r, TColor color) {
  if (r.IsEmpty()) return;
  const auto dot = [&](int x, int y) {
    if ((x - r.Left + y - r.Top) % 2 == 0) canvas.SetPixel(x, y, color);
  };
  for (int x = r.Left; x < r.Right; ++x) {
    dot(x, r.Top);
    dot(x, r.Bottom - 1);
  }
  for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
    dot(r.Left, y);
    dot(r.Right - 1, y);
  }
}

} // namespace skin::style
