#include "framework/Rendered.h"

#include <QPainter>

#include <algorithm>

namespace framework {
namespace {

// Qt's raster engine hands a copy of more than 95 rows to worker threads; starting them and
// waiting for them costs more than copying a window's pixels, most of all at start-up.
constexpr int CopyBandRows = 64;

} // namespace

void RenderBuffer::Render(QSize size, const std::function<void(Canvas &)> &draw) {
  m_stale = false;
  if (size.isEmpty()) {
    m_image = QImage();
    return;
  }
  if (m_image.size() != size) m_image = QImage(size, QImage::Format_ARGB32_Premultiplied);
  if (m_image.isNull()) return;
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
  for (const QRect &rect : region) {
    const QRect part = rect & m_image.rect();
    for (int top = part.top(); top <= part.bottom(); top += CopyBandRows) {
      const QRect band(part.left(), top, part.width(),
                       std::min(CopyBandRows, part.bottom() + 1 - top));
      painter.drawImage(band.topLeft(), m_image, band);
    }
  }
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
