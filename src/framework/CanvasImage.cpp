#include "framework/Canvas.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace framework {

namespace {

constexpr std::uint32_t RgbMask = 0x00FFFFFF;

QImage Direct32(const QImage &source) {
  const QImage::Format f = source.format();
  if (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32_Premultiplied) return source;
  return source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

bool Canvas::StretchDraw(const TRect &dest, const QImage &source, std::optional<TColor> key) {
  if (source.isNull()) return false;
  if (dest.IsEmpty()) return true;
  const QImage src = Direct32(source);
  if (src.isNull()) return false;
  // 64-bit throughout: a far-away destination times a wide source outgrows an int.
  // In image pixels from here on, each found in the source for its cell: a whole block of the
  // drawing for a picture of ratio 1, so that it looks as at ratio 1 in larger pixels, a single
  // pixel for a picture as fine as the image.
  const long long unit = std::max(1, m_ratio / ImageRatio(src));
  const long long sw = src.width();
  const long long sh = src.height();
  const long long left = static_cast<long long>(dest.Left) * m_ratio;
  const long long top = static_cast<long long>(dest.Top) * m_ratio;
  const long long dw = (static_cast<long long>(dest.Right) - dest.Left) * m_ratio;
  const long long dh = (static_cast<long long>(dest.Bottom) - dest.Top) * m_ratio;
  const int x1 = static_cast<int>(std::max(left, 0LL));
  const int y1 = static_cast<int>(std::max(top, 0LL));
  const int x2 = static_cast<int>(std::min(left + dw, static_cast<long long>(m_image.width())));
  const int y2 = static_cast<int>(std::min(top + dh, static_cast<long long>(m_image.height())));
  if (x1 >= x2 || y1 >= y2) return true;

  const bool sameSize = sw == dw && sh == dh;
  const bool direct = sameSize && !key && !IsGrey();
  const std::uint32_t keyRgb = key ? ToQRgb(*key) & RgbMask : 0;
  std::vector<int> columns(static_cast<std::size_t>(x2 - x1));
  for (int x = x1; x < x2; ++x)
    columns[static_cast<std::size_t>(x - x1)] =
        static_cast<int>((static_cast<long long>(x) - left) / unit * sw / (dw / unit));
  int lastSource = -1;
  for (int y = y1; y < y2; ++y) {
    const int sy = static_cast<int>((static_cast<long long>(y) - top) / unit * sh / (dh / unit));
    // An enlarged row repeats the one above it, unless the key lets different pixels show.
    if (sy == lastSource && !key && !IsGrey()) {
      std::memcpy(reinterpret_cast<std::uint32_t *>(m_image.scanLine(y)) + x1,
                  reinterpret_cast<const std::uint32_t *>(m_image.constScanLine(y - 1)) + x1,
                  static_cast<std::size_t>(x2 - x1) * sizeof(std::uint32_t));
      continue;
    }
    lastSource = sy;
    const auto *in = reinterpret_cast<const std::uint32_t *>(src.constScanLine(sy));
    if (direct) {
      std::memcpy(reinterpret_cast<std::uint32_t *>(m_image.scanLine(y)) + x1, in + (x1 - left),
                  static_cast<std::size_t>(x2 - x1) * sizeof(std::uint32_t));
      continue;
    }
    auto *out = IsGrey() ? nullptr : reinterpret_cast<std::uint32_t *>(m_image.scanLine(y));
    for (int x = x1; x < x2; ++x) {
      const std::uint32_t px = in[columns[static_cast<std::size_t>(x - x1)]];
      if (key && (px & RgbMask) == keyRgb) continue;
      if (out)
        out[x] = px;
      else
        SetRaw(x, y, px);
    }
  }
  return true;
}

bool Canvas::Draw(int x, int y, const QImage &source, std::optional<TColor> key) {
  const int ratio = ImageRatio(source);
  return StretchDraw({x, y, x + source.width() / ratio, y + source.height() / ratio}, source, key);
}

bool Canvas::TileDraw(const TRect &dest, const QImage &source, std::optional<TColor> key) {
  const QImage src = Direct32(source);
  if (src.isNull()) return false;
  // Only the copies that meet the image are drawn; the last ones are cut to dest. Sizes are the
  // source's own pixels.
  const int ratio = ImageRatio(src);
  const long long w = std::max(src.width() / ratio, 1);
  const long long h = std::max(src.height() / ratio, 1);
  const long long right = std::min(dest.Right, Width());
  const long long bottom = std::min(dest.Bottom, Height());
  const long long firstX = dest.Left + std::max(0LL, -static_cast<long long>(dest.Left)) / w * w;
  const long long firstY = dest.Top + std::max(0LL, -static_cast<long long>(dest.Top)) / h * h;
  for (long long y = firstY; y < bottom; y += h)
    for (long long x = firstX; x < right; x += w) {
      const int cw = static_cast<int>(std::min(w, dest.Right - x));
      const int ch = static_cast<int>(std::min(h, dest.Bottom - y));
      QImage part = cw == w && ch == h ? src : src.copy(0, 0, cw * ratio, ch * ratio);
      part.setDevicePixelRatio(ratio);
      Draw(static_cast<int>(x), static_cast<int>(y), part, key);
    }
  return true;
}

} // namespace framework
