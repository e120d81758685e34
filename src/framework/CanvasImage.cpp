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

// Image pixels that take one source pixel together: a whole block when the source's ratio
// divides the canvas's, else every pixel its own, so that a mapped pixel never lies past the
// source's edge.
long long BlockOf(int canvasRatio, int sourceRatio) {
  return canvasRatio % sourceRatio == 0 ? canvasRatio / sourceRatio : 1;
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
  const long long unit = BlockOf(m_ratio, ImageRatio(src));
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
    PutRow(y, x1, x2, in, columns, key.has_value(), keyRgb);
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
  if (dest.IsEmpty()) return true;
  // Every image pixel takes the source pixel its place in the pattern names, the copies starting
  // at dest's top-left corner; sizes are the source's own pixels, mapped as StretchDraw maps one
  // copy. A row without a key repeats the row one copy above it once there is one.
  const int ratio = ImageRatio(src);
  const long long unit = BlockOf(m_ratio, ratio);
  const long long sw = src.width();
  const long long sh = src.height();
  const long long tileW = std::max(sw / ratio, 1LL) * m_ratio;
  const long long tileH = std::max(sh / ratio, 1LL) * m_ratio;
  const long long left = static_cast<long long>(dest.Left) * m_ratio;
  const long long top = static_cast<long long>(dest.Top) * m_ratio;
  const int x1 = static_cast<int>(std::max(left, 0LL));
  const int y1 = static_cast<int>(std::max(top, 0LL));
  const int x2 = static_cast<int>(std::min(static_cast<long long>(dest.Right) * m_ratio,
                                           static_cast<long long>(Width()) * m_ratio));
  const int y2 = static_cast<int>(std::min(static_cast<long long>(dest.Bottom) * m_ratio,
                                           static_cast<long long>(Height()) * m_ratio));
  if (x1 >= x2 || y1 >= y2) return true;

  const std::uint32_t keyRgb = key ? ToQRgb(*key) & RgbMask : 0;
  const auto place = [unit](long long offset, long long tile, long long size) {
    return static_cast<int>(offset % tile / unit * size / (tile / unit));
  };
  std::vector<int> columns(static_cast<std::size_t>(x2 - x1));
  for (int x = x1; x < x2; ++x)
    columns[static_cast<std::size_t>(x - x1)] = place(x - left, tileW, sw);
  const std::size_t bytes = static_cast<std::size_t>(x2 - x1) * sizeof(std::uint32_t);
  for (int y = y1; y < y2; ++y) {
    if (!key && !IsGrey() && y - tileH >= y1) {
      std::memcpy(reinterpret_cast<std::uint32_t *>(m_image.scanLine(y)) + x1,
                  reinterpret_cast<const std::uint32_t *>(
                      m_image.constScanLine(static_cast<int>(y - tileH))) +
                      x1,
                  bytes);
      continue;
    }
    const auto *in =
        reinterpret_cast<const std::uint32_t *>(src.constScanLine(place(y - top, tileH, sh)));
    PutRow(y, x1, x2, in, columns, key.has_value(), keyRgb);
  }
  return true;
}

void Canvas::PutRow(int y, int x1, int x2, const std::uint32_t *in, const std::vector<int> &columns,
                    bool key, std::uint32_t keyRgb) {
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

} // namespace framework
