#include "framework/WindowlessControl.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace framework {

WindowlessControl::WindowlessControl(QWidget *parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_NoSystemBackground);
}

WindowlessControl::~WindowlessControl() = default;

void WindowlessControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const bool resized = width != m_width || height != m_height;
  m_left = left;
  m_top = top;
  m_width = width;
  m_height = height;
  setGeometry(left, top, width, height);
  if (resized) Invalidate();
}

void WindowlessControl::SetVisible(bool value) {
  m_visible = value;
  setVisible(value);
  if (value) Invalidate();
}

void WindowlessControl::SetFont(const FontDesc &value) {
  if (value == m_font) return;
  m_font = value;
  Invalidate();
}

void WindowlessControl::Loaded() {
  m_loading = false;
}

void WindowlessControl::Invalidate() {
  m_stale = true;
  update();
}

void WindowlessControl::Repaint() {
  if (!m_visible) return;
  RenderNow();
  update();
}

void WindowlessControl::SetOpaque(bool value) {
  m_opaque = value;
  setAttribute(Qt::WA_OpaquePaintEvent, value);
}

void WindowlessControl::RenderNow() {
  m_stale = false;
  if (m_buffer.width() != m_width || m_buffer.height() != m_height)
    m_buffer = QImage(m_width, m_height, QImage::Format_ARGB32_Premultiplied);
  if (m_buffer.isNull()) return;
  if (!m_opaque) m_buffer.fill(Qt::transparent);
  Canvas canvas(m_buffer);
  Render(canvas);
}

void WindowlessControl::paintEvent(QPaintEvent *) {
  if (!m_visible || m_width <= 0 || m_height <= 0) return;
  if (m_stale) RenderNow();
  QPainter painter(this);
  if (!painter.isActive()) return;
  painter.setCompositionMode(m_opaque ? QPainter::CompositionMode_Source
                                      : QPainter::CompositionMode_SourceOver);
  painter.drawImage(0, 0, m_buffer);
}

void WindowlessControl::MouseEnter() {
  if (m_onMouseEnter) m_onMouseEnter(this);
}

void WindowlessControl::MouseLeave() {
  if (m_onMouseLeave) m_onMouseLeave(this);
}

void WindowlessControl::MouseMove(Qt::KeyboardModifiers modifiers, int x, int y) {
  if (m_onMouseMove) m_onMouseMove(this, modifiers, x, y);
}

void WindowlessControl::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x,
                                  int y) {
  if (m_onMouseDown) m_onMouseDown(this, button, modifiers, x, y);
}

void WindowlessControl::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x,
                                int y) {
  if (m_onMouseUp) m_onMouseUp(this, button, modifiers, x, y);
}

void WindowlessControl::Click() {
  if (m_onClick) m_onClick(this);
}

void WindowlessControl::DblClick() {
  if (m_onDblClick) m_onDblClick(this);
}

void WindowlessControl::enterEvent(QEnterEvent *event) {
  QWidget::enterEvent(event);
  MouseEnter();
}

void WindowlessControl::leaveEvent(QEvent *event) {
  QWidget::leaveEvent(event);
  MouseLeave();
}

void WindowlessControl::mouseMoveEvent(QMouseEvent *event) {
  const QPoint p = event->position().toPoint();
  MouseMove(event->modifiers(), p.x(), p.y());
}

void WindowlessControl::mousePressEvent(QMouseEvent *event) {
  const QPoint p = event->position().toPoint();
  if (event->button() == Qt::LeftButton) m_pressed = true;
  MouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void WindowlessControl::mouseReleaseEvent(QMouseEvent *event) {
  const QPoint p = event->position().toPoint();
  const bool click = event->button() == Qt::LeftButton && m_pressed && rect().contains(p);
  if (event->button() == Qt::LeftButton) m_pressed = false;
  MouseUp(event->button(), event->modifiers(), p.x(), p.y());
  if (click) Click();
}

void WindowlessControl::mouseDoubleClickEvent(QMouseEvent *event) {
  const QPoint p = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    m_pressed = true;
    DblClick();
  }
  MouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

} // namespace framework
