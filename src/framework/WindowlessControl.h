#pragma once

#include "framework/Canvas.h"
#include "framework/Delegate.h"
#include "framework/Fonts.h"

#include <QImage>
#include <QWidget>

namespace framework {

// Handlers receive the object that raised the event.
using NotifyEvent = Delegate<void(QObject *)>;
using MouseMoveEvent = Delegate<void(QObject *, Qt::KeyboardModifiers, int, int)>;
using MouseButtonEvent =
    Delegate<void(QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int)>;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// A control without a window of its own in the old sense: a plain child widget that renders into
// an off-screen image and copies it to the screen in one operation, so a half-drawn state is never
// visible. Rendering is separate from painting: Repaint() renders at once (tests read Buffer()),
// paintEvent only copies.
class WindowlessControl : public QWidget {
  Q_OBJECT
public:
  explicit WindowlessControl(QWidget *parent = nullptr);
  ~WindowlessControl() override;

  int Left() const { return m_left; }
  void SetLeft(int value) { SetBounds(value, m_top, m_width, m_height); }
  int Top() const { return m_top; }
  void SetTop(int value) { SetBounds(m_left, value, m_width, m_height); }
  int Width() const { return m_width; }
  void SetWidth(int value) { SetBounds(m_left, m_top, value, m_height); }
  int Height() const { return m_height; }
  void SetHeight(int value) { SetBounds(m_left, m_top, m_width, value); }
  virtual void SetBounds(int left, int top, int width, int height);

  bool Visible() const { return m_visible; }
  void SetVisible(bool value);

  const FontDesc &Font() const { return m_font; }
  void SetFont(const FontDesc &value);

  // Loading: properties are being applied from a window description; Loaded() ends it.
  bool Loading() const { return m_loading; }
  void BeginLoading() { m_loading = true; }
  virtual void Loaded();

  // Marks the image stale; it is rendered when the screen next asks for it.
  void Invalidate();
  // Renders now; the screen gets the new image with the next paint.
  void Repaint();

  // The last rendered image, Width x Height.
  const QImage &Buffer() const { return m_buffer; }

  const NotifyEvent &OnClick() const { return m_onClick; }
  void SetOnClick(NotifyEvent h) { m_onClick = std::move(h); }
  const NotifyEvent &OnDblClick() const { return m_onDblClick; }
  void SetOnDblClick(NotifyEvent h) { m_onDblClick = std::move(h); }
  const NotifyEvent &OnMouseEnter() const { return m_onMouseEnter; }
  void SetOnMouseEnter(NotifyEvent h) { m_onMouseEnter = std::move(h); }
  const NotifyEvent &OnMouseLeave() const { return m_onMouseLeave; }
  void SetOnMouseLeave(NotifyEvent h) { m_onMouseLeave = std::move(h); }
  const MouseMoveEvent &OnMouseMove() const { return m_onMouseMove; }
  void SetOnMouseMove(MouseMoveEvent h) { m_onMouseMove = std::move(h); }
  const MouseButtonEvent &OnMouseDown() const { return m_onMouseDown; }
  void SetOnMouseDown(MouseButtonEvent h) { m_onMouseDown = std::move(h); }
  const MouseButtonEvent &OnMouseUp() const { return m_onMouseUp; }
  void SetOnMouseUp(MouseButtonEvent h) { m_onMouseUp = std::move(h); }

  // The mouse entry points; they raise the events above. Public so that a parent forwarding
  // synthetic input, and tests, can drive them.
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void MouseMove(Qt::KeyboardModifiers modifiers, int x, int y);
  virtual void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  virtual void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  virtual void Click();
  virtual void DblClick();

protected:
  // Draws the whole control; the canvas covers Width x Height and starts out transparent unless
  // the control declares itself opaque.
  virtual void Render(Canvas &canvas) = 0;

  // A control that paints every pixel needs no clearing and nothing of its parent shows through.
  void SetOpaque(bool value);

  void paintEvent(QPaintEvent *event) override;
  void enterEvent(QEnterEvent *event) override;
  void leaveEvent(QEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
  void RenderNow();

  int m_left = 0;
  int m_top = 0;
  int m_width = 0;
  int m_height = 0;
  bool m_visible = true;
  bool m_loading = false;
  bool m_opaque = false;
  bool m_stale = true;
  bool m_pressed = false;
  FontDesc m_font;
  QImage m_buffer;

  NotifyEvent m_onClick;
  NotifyEvent m_onDblClick;
  NotifyEvent m_onMouseEnter;
  NotifyEvent m_onMouseLeave;
  MouseMoveEvent m_onMouseMove;
  MouseButtonEvent m_onMouseDown;
  MouseButtonEvent m_onMouseUp;
};

} // namespace framework
