#include "framework/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace framework {

namespace {

constexpr std::uint32_t RgbMask = 0x00FFFFFF;

bool IsDirect32(QImage::Format f) {
  return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

std::uint32_t GreyToRgb(std::uint8_t v) {
  return 0xFF000000u | (std::uint32_t{v} << 16) | (std::uint32_t{v} << 8) | v;
}

} // namespace

TColor ImagePixel(const QImage &image, int x, int y) {
  if (!image.valid(x, y)) return clBlack;
  return FromQRgb(image.pixel(x, y));
}

int WholeRatio(double devicePixelRatio) {
  // Beyond any screen; keeps a wild ratio from multiplying coordinates out of range.
  constexpr double MaxRatio = 16.0;
  if (!(devicePixelRatio > 1.0)) return 1;
  return static_cast<int>(std::floor(std::min(devicePixelRatio, MaxRatio) + 0.5));
}

int ImageRatio(const QImage &image) {
  return WholeRatio(image.devicePixelRatio());
}

Canvas::Canvas(QImage &image) : Canvas(image, ImageRatio(image)) {}

Canvas::Canvas(QImage &image, int ratio) : m_image(image), m_ratio(std::max(ratio, 1)) {
  // The pixel routines write 0xAARRGGBB words, or grey bytes, directly.
  if (!m_image.isNull() && !IsDirect32(m_image.format()) && !IsGrey())
    m_image.convertTo(QImage::Format_ARGB32_Premultiplied);
}

std::uint32_t Canvas::Raw(int x, int y) const {
  if (IsGrey()) return GreyToRgb(m_image.constScanLine(y)[x]);
  return reinterpret_cast<const std::uint32_t *>(m_image.constScanLine(y))[x];
}

void Canvas::SetRaw(int x, int y, std::uint32_t argb) {
  if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height()) return;
  if (IsGrey())
    m_image.scanLine(y)[x] = static_cast<std::uint8_t>(qGray(argb));
  else
    reinterpret_cast<std::uint32_t *>(m_image.scanLine(y))[x] = argb;
}

void Canvas::FillSpan(int y, long long left, long long right, std::uint32_t argb) {
  if (y < 0 || y >= m_image.height()) return;
  const auto a = static_cast<int>(std::max(left, 0LL));
  const auto b = static_cast<int>(std::min(right, static_cast<long long>(m_image.width())));
  if (a >= b) return;
  if (IsGrey()) {
    std::uint8_t *line = m_image.scanLine(y);
    std::fill(line + a, line + b, static_cast<std::uint8_t>(qGray(argb)));
  } else {
    auto *line = reinterpret_cast<std::uint32_t *>(m_image.scanLine(y));
    std::fill(line + a, line + b, argb);
  }
}

void Canvas::FillBlocks(long long left, long long top, long long right, long long bottom,
                        std::uint32_t argb) {
  const long long from = std::max(top * m_ratio, 0LL);
  const long long to = std::min(bottom * m_ratio, static_cast<long long>(m_image.height()));
  for (long long y = from; y < to; ++y)
    FillSpan(static_cast<int>(y), left * m_ratio, right * m_ratio, argb);
}

void Canvas::FillRect(const TRect &r) {
  FillBlocks(r.Left, r.Top, r.Right, r.Bottom, ToQRgb(m_brushColor));
}

void Canvas::FrameRect(const TRect &r) {
  if (r.IsEmpty()) return;
  const TColor saved = m_brushColor;
  m_brushColor = m_penColor;
  FillRect({r.Left, r.Top, r.Right, r.Top + 1});
  FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
  FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
  FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
  m_brushColor = saved;
}

void Canvas::LineTo(int x, int y) {
  const int x0 = m_penPos.x();
  const int y0 = m_penPos.y();
  m_penPos = QPoint(x, y);
  const std::uint32_t argb = ToQRgb(m_penColor);

  // Straight lines are clipped up front, so a far-away end point costs nothing.
  if (y == y0) {
    FillBlocks(x >= x0 ? x0 : x + 1LL, y, x >= x0 ? x : x0 + 1LL, y + 1LL, argb);
    return;
  }
  if (x == x0) {
    FillBlocks(x, y >= y0 ? y0 : y + 1LL, x + 1LL, y >= y0 ? y : y0 + 1LL, argb);
    return;
  }

  // Bresenham along the major axis; the end point is not drawn.
  const long long dx = static_cast<long long>(x) - x0;
  const long long dy = static_cast<long long>(y) - y0;
  const int sx = dx > 0 ? 1 : -1;
  const int sy = dy > 0 ? 1 : -1;
  const long long adx = std::llabs(dx);
  const long long ady = std::llabs(dy);
  int cx = x0;
  int cy = y0;
  if (adx >= ady) {
    long long err = adx / 2;
    for (long long i = 0; i < adx; ++i) {
      FillBlocks(cx, cy, cx + 1LL, cy + 1LL, argb);
      cx += sx;
      err -= ady;
      if (err < 0) {
        cy += sy;
        err += adx;
      }
    }
  } else {
    long long err = ady / 2;
    for (long long i = 0; i < ady; ++i) {
      FillBlocks(cx, cy, cx + 1LL, cy + 1LL, argb);
      cy += sy;
      err -= adx;
      if (err < 0) {
        cx += sx;
        err += ady;
      }
    }
  }
}

void Canvas::Polyline(std::span<const QPoint> points) {
  if (points.empty()) return;
  MoveTo(points.front().x(), points.front().y());
  for (const QPoint &p : points.subspan(1))
    LineTo(p.x(), p.y());
}

TColor Canvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return clBlack;
  return FromQRgb(Raw(x * m_ratio, y * m_ratio));
}

void Canvas::SetPixel(int x, int y, TColor c) {
  FillBlocks(x, y, x + 1LL, y + 1LL, ToQRgb(c));
}

bool Canvas::FloodFill(int x, int y, TColor surface, TColor fill) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return false;
  // The area is found among the image's own pixels: text drawn at the larger size bounds it as
  // finely as it is drawn.
  x *= m_ratio;
  y *= m_ratio;
  // Compared as stored: on a grey image a colour is its grey value.
  const auto stored = [this](TColor c) {
    const std::uint32_t argb = ToQRgb(c);
    return IsGrey() ? GreyToRgb(static_cast<std::uint8_t>(qGray(argb))) & RgbMask : argb & RgbMask;
  };
  const std::uint32_t from = stored(surface);
  const std::uint32_t to = ToQRgb(fill);
  auto matches = [this, from](int px, int py) { return (Raw(px, py) & RgbMask) == from; };
  if (!matches(x, y)) return false;
  if (stored(fill) == from) return true;

  // Span fill with an explicit stack: no recursion depth to run out of on large areas.
  std::vector<QPoint> stack{QPoint(x, y)};
  while (!stack.empty()) {
    const QPoint p = stack.back();
    stack.pop_back();
    if (!matches(p.x(), p.y())) continue;
    int left = p.x();
    while (left > 0 && matches(left - 1, p.y()))
      --left;
    int right = p.x();
    while (right + 1 < m_image.width() && matches(right + 1, p.y()))
      ++right;
    FillSpan(p.y(), left, right + 1, to);
    for (const int ny : {p.y() - 1, p.y() + 1}) {
      if (ny < 0 || ny >= m_image.height()) continue;
      bool inRun = false;
      for (int i = left; i <= right; ++i) {
        const bool m = matches(i, ny);
        if (m && !inRun) stack.emplace_back(i, ny);
        inRun = m;
      }
    }
  }
  return true;
}

} // namespace framework
