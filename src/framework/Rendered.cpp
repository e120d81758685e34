#include "framework/Rendered.h"

#include <QPainter>

#include <algorithm>

namespace framework {
namespace {

// Qt's raster engine hands a copy of more than 95 rows to worker threads; starting them and
// waiting for them costs more than copying a window's pixels, most of all at start-up.
constexpr int CopyBandRows = 64;

} // namespace

void RenderBuffer::Render(QSize size, const std::function<void(Canvas &)> &draw, int ratio) {
  m_stale = false;
  m_ratio = std::max(ratio, 1);
  if (size.isEmpty()) {
    m_image = QImage();
    return;
  }
  if (m_image.size() != size * m_ratio)
    m_image = QImage(size * m_ratio, QImage::Format_ARGB32_Premultiplied);
  if (m_image.isNull()) return;
  m_image.setDevicePixelRatio(m_ratio);
  if (!m_opaque) m_image.fill(Qt::transparent);
  Canvas canvas(m_image);
  draw(canvas);
}

void RenderBuffer::CopyTo(QWidget &widget, const QRegion &region) const {
  if (m_image.isNull()) return;
  QPainter painter(&widget);
  if (!painter.isActive()) return;
  painter.setCompositionMode(m_opaque ? QPainter::CompositionMode_Source
                                      : QPainter::CompositionMode_SourceOver);
  // Each band lies wholly inside the painted region, so that the engine's clipping splits none of
  // its rows and the band stays below the threads' threshold.
  const QRect whole(QPoint(0, 0), Size());
  const int rows = std::max(CopyBandRows / m_ratio, 1);
  for (const QRect &rect : region) {
    const QRect part = rect & whole;
    for (int top = part.top(); top <= part.bottom(); top += rows) {
      const QRect band(part.left(), top, part.width(), std::min(rows, part.bottom() + 1 - top));
      // The image's own ratio places the band's pixels back at the control's size.
      const QRect source(band.topLeft() * m_ratio, band.size() * m_ratio);
      painter.drawImage(band.topLeft(), m_image, source);
    }
  }
}

int DrawingRatio(const QWidget &control) {
  return WholeRatio(control.devicePixelRatioF());
}

void PaintParentBackground(Canvas &canvas, const QWidget &control) {
  QWidget *parent = control.parentWidget();
  if (!parent || canvas.Image().isNull()) return;
  // The parent paints into the canvas as if the canvas lay at the control's place; only what
  // lies inside the parent is asked for.
  const QRegion behind = QRegion(control.geometry()) & QRegion(parent->rect());
  if (behind.isEmpty()) return;
  parent->render(&canvas.Image(), behind.boundingRect().topLeft() - control.pos(), behind,
                 QWidget::DrawWindowBackground);
}

bool ShownByItself(const QWidget &control) {
  return !(control.isHidden() && control.testAttribute(Qt::WA_WState_ExplicitShowHide));
}

} // namespace framework
