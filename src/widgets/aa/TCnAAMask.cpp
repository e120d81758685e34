#include "widgets/aa/TCnAAMask.h"

#include "framework/Canvas.h"

#include <algorithm>

namespace widgets::aa {

void TCnAAMask::SetQuality(TAAQuality value) {
  m_quality = value;
  m_scale = QualityScale(value);
}

void TCnAAMask::SetSize(int width, int height) {
  m_width = std::max(width, 0);
  m_height = std::max(height, 0);
  m_stride = (m_width + 3) & ~3;
  m_bytes.assign(static_cast<std::size_t>(m_stride) * static_cast<std::size_t>(m_height), 0);
}

std::uint8_t *TCnAAMask::ScanLine(int y) {
  if (y < 0 || y >= m_height) throw AAError("Invalid line!");
  return m_bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_stride);
}

const std::uint8_t *TCnAAMask::ScanLine(int y) const {
  if (y < 0 || y >= m_height) throw AAError("Invalid line!");
  return m_bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_stride);
}

QFont TCnAAMask::ScaledFont(const QFont &font, int scale) {
  QFont scaled(font);
  if (font.pixelSize() > 0)
    scaled.setPixelSize(font.pixelSize() * scale);
  else if (font.pointSizeF() > 0)
    scaled.setPointSizeF(font.pointSizeF() * scale);
  // The supersampling is ours: the rasteriser must hand us hard-edged glyphs.
  scaled.setStyleStrategy(static_cast<QFont::StyleStrategy>(
      (font.styleStrategy() & ~QFont::PreferAntialias) | QFont::NoAntialias));
  return scaled;
}

void TCnAAMask::DrawMask(const QFont &font, int angle, const QString &text, QSize size,
                         QPoint start, QPoint offset) {
  SetSize(size.width(), size.height());
  if (m_width == 0 || m_height == 0) return;
  const int s = m_scale;
  QImage surface(m_width * s, m_height * s, QImage::Format_Grayscale8);
  // Too large to allocate: the mask stays blank rather than failing the paint.
  if (surface.isNull()) return;
  surface.fill(0);
  {
    framework::Canvas canvas(surface);
    canvas.SetFont(ScaledFont(font, s));
    canvas.SetFontColor(framework::clWhite);
    canvas.SetFontAngle(angle);
    canvas.TextOut((offset.x() + start.x()) * s, (offset.y() + start.y()) * s, text);
  }
  Reduce(surface);
}

void TCnAAMask::Reduce(const QImage &surface) {
  const QImage grey = surface.format() == QImage::Format_Grayscale8
                          ? surface
                          : surface.convertToFormat(QImage::Format_Grayscale8);
  const int s = m_scale;
  const auto at = [&grey](int x, int y) -> int {
    if (x >= grey.width() || y >= grey.height()) return 0;
    return grey.constScanLine(y)[x];
  };
  for (int y = 0; y < m_height; ++y) {
    std::uint8_t *out = ScanLine(y);
    const int sy = y * s;
    for (int x = 0; x < m_width; ++x) {
      const int sx = x * s;
      int value = 0;
      switch (m_quality) {
      case TAAQuality::aqHigh: {
        int sum = 0;
        for (int j = 0; j < 4; ++j)
          for (int i = 0; i < 4; ++i)
            sum += at(sx + i, sy + j);
        value = sum >> 4;
        break;
      }
      case TAAQuality::aqNormal:
        // Opposite corners count half, which rounds the block towards the diagonal.
        value = (at(sx, sy) + at(sx + 1, sy) + (at(sx + 2, sy) >> 1) + at(sx, sy + 1) +
                 at(sx + 1, sy + 1) + at(sx + 2, sy + 1) + (at(sx, sy + 2) >> 1) +
                 at(sx + 1, sy + 2) + at(sx + 2, sy + 2)) >>
                3;
        break;
      case TAAQuality::aqLow:
        value = (at(sx, sy) + at(sx + 1, sy) + at(sx, sy + 1) + at(sx + 1, sy + 1)) >> 2;
        break;
      case TAAQuality::aqNone:
        value = at(sx, sy);
        break;
      }
      out[x] = static_cast<std::uint8_t>(value);
    }
  }
}

} // namespace widgets::aa
