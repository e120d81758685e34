#include "framework/WindowlessControl.h"

#include <QEnterEvent>
#include <QMouseEvent>

namespace framework {

WindowlessControl::WindowlessControl(QWidget *parent) : RenderedControl(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_NoSystemBackground);
  // A new widget has Qt's default size; the old-style control starts empty.
  resize(0, 0);
}

WindowlessControl::~WindowlessControl() = default;

void WindowlessControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const bool resized = width != Width() || height != Height();
  setGeometry(left, top, width, height);
  // A hidden widget hears of its new size only when shown; the buffer must not wait for that.
  if (resized) Invalidate();
}

void WindowlessControl::SetVisible(bool value) {
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
