#include "widgets/aa/TCnAABlend.h"

#include <algorithm>
#include <cstring>

namespace widgets::aa {

namespace {

bool Is32Bit(const QImage &image) {
  return image.format() == QImage::Format_RGB32 ||
         image.format() == QImage::Format_ARGB32_Premultiplied ||
         image.format() == QImage::Format_ARGB32;
}

std::uint32_t Mix(std::uint32_t pixel, std::uint32_t fill, int t) {
  if (t >= 255) return fill | 0xFF000000u;
  std::uint32_t out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const int p = static_cast<int>((pixel >> shift) & 0xFF);
    const int c = static_cast<int>((fill >> shift) & 0xFF);
    out |= static_cast<std::uint32_t>(p + FloorDiv((c - p) * t, 256)) << shift;
  }
  return out;
}

} // namespace

template <typename FillAt>
void TCnAABlend::Blend(framework::Canvas &dest, const TCnAAMask &mask, QPoint at, int alpha,
                       std::optional<framework::TColor> brush, FillAt fill) {
  QImage &target = dest.Image();
  if (mask.Width() == 0 || mask.Height() == 0 || !Is32Bit(target)) return;
  const int a = std::clamp(alpha, 0, 100) * 256 / 100;
  const QRect area(at, QSize(mask.Width(), mask.Height()));
  // One copy in, one copy out: parts outside the canvas come in black and are never written.
  m_work = target.copy(area);
  if (brush) m_work.fill(framework::ToQRgb(*brush));
  for (int y = 0; y < mask.Height(); ++y) {
    const std::uint8_t *coverage = mask.ScanLine(y);
    auto *row = reinterpret_cast<std::uint32_t *>(m_work.scanLine(y));
    for (int x = 0; x < mask.Width(); ++x) {
      const int t = (coverage[x] * a) >> 8;
      if (t != 0) row[x] = Mix(row[x], fill(x, y), t);
    }
  }
  const QRect visible = area & target.rect();
  if (visible.isEmpty()) return;
  const std::size_t bytes = static_cast<std::size_t>(visible.width()) * sizeof(std::uint32_t);
  for (int y = visible.top(); y <= visible.bottom(); ++y)
    std::memcpy(reinterpret_cast<std::uint32_t *>(target.scanLine(y)) + visible.left(),
                reinterpret_cast<const std::uint32_t *>(m_work.constScanLine(y - area.top())) +
                    (visible.left() - area.left()),
                bytes);
}

void TCnAABlend::BlendColor(framework::Canvas &dest, const TCnAAMask &mask, QPoint at,
                            framework::TColor color, int alpha,
                            std::optional<framework::TColor> brush) {
  const std::uint32_t rgb = framework::ToQRgb(color) & 0x00FFFFFFu;
  Blend(dest, mask, at, alpha, brush, [rgb](int, int) { return rgb; });
}

void TCnAABlend::BlendForeground(framework::Canvas &dest, const TCnAAMask &mask, QPoint at,
                                 int alpha, std::optional<framework::TColor> brush) {
  if (m_foreground.format() != QImage::Format_RGB32 || m_foreground.width() != mask.Width() ||
      m_foreground.height() != mask.Height())
    throw AAError("Invalid foreground bitmap!");
  const QImage &fg = m_foreground;
  Blend(dest, mask, at, alpha, brush, [&fg](int x, int y) {
    return reinterpret_cast<const std::uint32_t *>(fg.constScanLine(y))[x] & 0x00FFFFFFu;
  });
}

} // namespace widgets::aa
