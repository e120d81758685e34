#include "framework/Rendered.h"

#include <QPainter>

namespace framework {

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

void RenderBuffer::CopyTo(QWidget &widget) const {
  if (m_image.isNull()) return;
  QPainter painter(&widget);
  if (!painter.isActive()) return;
  painter.setCompositionMode(m_opaque ? QPainter::CompositionMode_Source
                                      : QPainter::CompositionMode_SourceOver);
  painter.drawImage(0, 0, m_image);
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
