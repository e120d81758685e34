#pragma once

#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "widgets/aa/TCnAAMask.h"

#include <QImage>
#include <QPoint>

#include <optional>

namespace widgets::aa {

// Blends a fill through a coverage mask into a canvas. Per pixel, t = (mask * alpha * 256 / 100)
// >> 8; t = 0 keeps the pixel, t = 255 takes the fill, anything between moves each channel by
// floor((fill - pixel) * t / 256). Works on 32-bit canvases: 24-bit pixels, the fourth byte set
// opaque where the blend writes.
class TCnAABlend {
public:
  // The per-pixel fill colours; 24-bit (Format_RGB32) and exactly the mask's size when blended.
  QImage &Foreground() { return m_foreground; }
  const QImage &Foreground() const { return m_foreground; }
  // The destination pixels of the last blend, after blending.
  const QImage &WorkArea() const { return m_work; }

  // `brush`: the colour an opaque brush puts under the text; none keeps the destination.
  void BlendColor(framework::Canvas &dest, const TCnAAMask &mask, QPoint at,
                  framework::TColor color, int alpha, std::optional<framework::TColor> brush = {});
  // Raises AAError "Invalid foreground bitmap!" for a foreground of another size or format.
  void BlendForeground(framework::Canvas &dest, const TCnAAMask &mask, QPoint at, int alpha,
                       std::optional<framework::TColor> brush = {});

private:
  template <typename FillAt>
  void Blend(framework::Canvas &dest, const TCnAAMask &mask, QPoint at, int alpha,
             std::optional<framework::TColor> brush, FillAt fill);

  QImage m_foreground;
  QImage m_work;
};

} // namespace widgets::aa
