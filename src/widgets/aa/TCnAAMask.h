#pragma once

#include "widgets/aa/AATypes.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

namespace widgets::aa {

class AARandom;

// Coverage of one byte per output pixel: 0 no ink, 255 full ink. Rows are padded to a multiple of
// 4 bytes. A plain value: copying a mask copies its bytes.
class TCnAAMask {
public:
  TAAQuality Quality() const { return m_quality; }
  void SetQuality(TAAQuality value);
  int Scale() const { return m_scale; }

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  int Stride() const { return m_stride; }
  // Resizes to w x h, all coverage 0.
  void SetSize(int width, int height);

  // Row y; raises AAError "Invalid line!" outside 0 .. Height() - 1.
  std::uint8_t *ScanLine(int y);
  const std::uint8_t *ScanLine(int y) const;
  std::uint8_t Value(int x, int y) const { return ScanLine(y)[x]; }

  // Rasterises `text` white on black at Scale() times `font`'s size, without the font engine's own
  // anti-aliasing, then reduces it. `size` is the measured size in output pixels and `start` the
  // text's start point inside it (non-zero for rotated text); `angle` is in tenths of a degree.
  void DrawMask(const QFont &font, int angle, const QString &text, QSize size, QPoint start,
                QPoint offset = {});
  // Reduces an 8-bit surface of (Width() * s) x (Height() * s) values, s = Scale(), block by
  // block; a smaller surface reads as black beyond its edges.
  void Reduce(const QImage &surface);

  // Edge strength of the coverage; masks under 3 x 3 stay as they are.
  void Outline();
  // Each pixel takes a value from up to `range` pixels away, read from the mask as it changes.
  void Spray(int range, AARandom &rnd);
  // A 5 x 5 box blur mixed in by `strength` percent (1 .. 100). The window is kept inside the
  // mask by clamping, so masks under 4 pixels across blur too.
  void Blur(int strength);
  void MirrorHorz();
  void MirrorVert();

  // The font `font` at `scale` times its size.
  static QFont ScaledFont(const QFont &font, int scale);

private:
  TAAQuality m_quality = TAAQuality::aqNormal;
  int m_scale = 3;
  int m_width = 0;
  int m_height = 0;
  int m_stride = 0;
  std::vector<std::uint8_t> m_bytes;
};

} // namespace widgets::aa
