#include "framework/Canvas.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace framework {

namespace {

constexpr std::uint32_t RgbMask = 0x00FFFFFF;

bool IsDirect32(QImage::Format f) {
  return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

Canvas::Canvas(QImage &image) : m_image(image) {
  // The pixel routines write 0xAARRGGBB words directly.
  if (!m_image.isNull() && !IsDirect32(m_image.format()))
    m_image.convertTo(QImage::Format_ARGB32_Premultiplied);
}

void Canvas::FillRect(const TRect &r) {
  const int x1 = std::max(r.Left, 0);
  const int y1 = std::max(r.Top, 0);
  const int x2 = std::min(r.Right, Width());
  const int y2 = std::min(r.Bottom, Height());
  if (x1 >= x2 || y1 >= y2) return;
  const std::uint32_t argb = ToQRgb(m_brushColor);
  for (int y = y1; y < y2; ++y) {
    auto *line = reinterpret_cast<std::uint32_t *>(m_image.scanLine(y));
    std::fill(line + x1, line + x2, argb);
  }
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
    const int from = x >= x0 ? x0 : x + 1;
    const int to = x >= x0 ? x : x0 + 1;
    if (y < 0 || y >= Height()) return;
    auto *line = reinterpret_cast<std::uint32_t *>(m_image.scanLine(y));
    const int a = std::max(from, 0);
    const int b = std::min(to, Width());
    if (a < b) std::fill(line + a, line + b, argb);
    return;
  }
  if (x == x0) {
    const int from = y >= y0 ? y0 : y + 1;
    const int to = y >= y0 ? y : y0 + 1;
    if (x < 0 || x >= Width()) return;
    for (int yy = std::max(from, 0); yy < std::min(to, Height()); ++yy)
      reinterpret_cast<std::uint32_t *>(m_image.scanLine(yy))[x] = argb;
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
      SetRaw(cx, cy, argb);
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
      SetRaw(cx, cy, argb);
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
  return FromQRgb(reinterpret_cast<const std::uint32_t *>(m_image.constScanLine(y))[x]);
}

void Canvas::SetPixel(int x, int y, TColor c) {
  SetRaw(x, y, ToQRgb(c));
}

bool Canvas::StretchDraw(const TRect &dest, const QImage &source) {
  if (source.isNull()) return false;
  if (dest.IsEmpty()) return true;
  const QImage src = IsDirect32(source.format())
                         ? source
                         : source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (src.isNull()) return false;
  // 64-bit throughout: a far-away destination times a wide source outgrows an int.
  const long long sw = src.width();
  const long long sh = src.height();
  const long long dw = static_cast<long long>(dest.Right) - dest.Left;
  const long long dh = static_cast<long long>(dest.Bottom) - dest.Top;
  const int x1 = std::max(dest.Left, 0);
  const int y1 = std::max(dest.Top, 0);
  const int x2 = std::min(dest.Right, Width());
  const int y2 = std::min(dest.Bottom, Height());
  if (x1 >= x2 || y1 >= y2) return true;

  const bool sameSize = sw == dw && sh == dh;
  std::vector<int> columns;
  if (!sameSize) {
    columns.resize(static_cast<std::size_t>(x2 - x1));
    for (int x = x1; x < x2; ++x)
      columns[static_cast<std::size_t>(x - x1)] =
          static_cast<int>((static_cast<long long>(x) - dest.Left) * sw / dw);
  }
  for (int y = y1; y < y2; ++y) {
    const int sy = static_cast<int>((static_cast<long long>(y) - dest.Top) * sh / dh);
    const auto *in = reinterpret_cast<const std::uint32_t *>(src.constScanLine(sy));
    auto *out = reinterpret_cast<std::uint32_t *>(m_image.scanLine(y));
    if (sameSize) {
      std::memcpy(out + x1, in + (x1 - dest.Left),
                  static_cast<std::size_t>(x2 - x1) * sizeof(std::uint32_t));
    } else {
      for (int x = x1; x < x2; ++x)
        out[x] = in[columns[static_cast<std::size_t>(x - x1)]];
    }
  }
  return true;
}

void Canvas::Draw(int x, int y, const QImage &source) {
  StretchDraw({x, y, x + source.width(), y + source.height()}, source);
}

bool Canvas::FloodFill(int x, int y, TColor surface, TColor fill) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return false;
  const std::uint32_t from = ToQRgb(surface) & RgbMask;
  const std::uint32_t to = ToQRgb(fill);
  auto row = [this](int yy) { return reinterpret_cast<std::uint32_t *>(m_image.scanLine(yy)); };
  auto matches = [from](std::uint32_t px) { return (px & RgbMask) == from; };
  if (!matches(row(y)[x])) return false;
  if ((to & RgbMask) == from) return true;

  // Span fill with an explicit stack: no recursion depth to run out of on large areas.
  std::vector<QPoint> stack{QPoint(x, y)};
  while (!stack.empty()) {
    const QPoint p = stack.back();
    stack.pop_back();
    std::uint32_t *line = row(p.y());
    if (!matches(line[p.x()])) continue;
    int left = p.x();
    while (left > 0 && matches(line[left - 1]))
      --left;
    int right = p.x();
    while (right + 1 < Width() && matches(line[right + 1]))
      ++right;
    std::fill(line + left, line + right + 1, to);
    for (const int ny : {p.y() - 1, p.y() + 1}) {
      if (ny < 0 || ny >= Height()) continue;
      const std::uint32_t *next = row(ny);
      bool inRun = false;
      for (int i = left; i <= right; ++i) {
        const bool m = matches(next[i]);
        if (m && !inRun) stack.emplace_back(i, ny);
        inRun = m;
      }
    }
  }
  return true;
}

void Canvas::TextOut(int x, int y, const QString &text) {
  if (text.isEmpty() || m_image.isNull()) return;
  QPainter painter(&m_image);
  if (!painter.isActive()) return;
  const bool antialias = m_font.styleStrategy() & QFont::PreferAntialias;
  painter.setRenderHint(QPainter::TextAntialiasing, antialias);
  painter.setRenderHint(QPainter::Antialiasing, antialias);
  painter.setFont(m_font);
  painter.setPen(ToQColor(m_fontColor));
  painter.translate(x, y);
  // Counter-clockwise on screen is a negative angle for a y-down painter.
  if (m_fontAngle % 3600 != 0) painter.rotate(-m_fontAngle / 10.0);
  painter.drawText(QPoint(0, QFontMetrics(m_font).ascent()), text);
}

QSize Canvas::TextExtent(const QString &text) const {
  const QFontMetrics metrics(m_font);
  return {metrics.horizontalAdvance(text), metrics.height()};
}

} // namespace framework
