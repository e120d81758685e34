#pragma once

#include "framework/Canvas.h"
#include "framework/Component.h"
#include "framework/Delegate.h"
#include "framework/Fonts.h"
#include "framework/Rendered.h"

namespace framework {

// Handlers receive the object that raised the event.
using NotifyEvent = Delegate<void(QObject *)>;
using MouseMoveEvent = Delegate<void(QObject *, Qt::KeyboardModifiers, int, int)>;
using MouseButtonEvent =
    Delegate<void(QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int)>;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// A control without a window of its own in the old sense: a plain child widget, drawn through the
// render base, with the old-style bounds, loading step and mouse events. Bounds and visibility
// are the widget's own, so moving or hiding it through Qt is seen here too.
class WindowlessControl : public RenderedControl, public Component {
  Q_OBJECT
public:
  explicit WindowlessControl(QWidget *parent = nullptr);
  ~WindowlessControl() override;

  int Left() const { return x(); }
  void SetLeft(int value) { SetBounds(value, Top(), Width(), Height()); }
  int Top() const { return y(); }
  void SetTop(int value) { SetBounds(Left(), value, Width(), Height()); }
  int Width() const { return width(); }
  void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
  int Height() const { return height(); }
  void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
  virtual void SetBounds(int left, int top, int width, int height);

  bool Visible() const { return ShownByItself(*this); }
  void SetVisible(bool value);

  const FontDesc &Font() const { return m_font; }
  void SetFont(const FontDesc &value);

  // Loading: properties are being applied from a window description; Loaded() ends it.
  bool Loading() const { return m_loading; }
  void BeginLoading() override { m_loading = true; }
  void Loaded() override;

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
  bool RenderingDeferred() const override { return m_loading; }

  void enterEvent(QEnterEvent *event) override;
  void leaveEvent(QEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
  bool m_loading = false;
  bool m_pressed = false;
  FontDesc m_font;

  NotifyEvent m_onClick;
  NotifyEvent m_onDblClick;
  NotifyEvent m_onMouseEnter;
  NotifyEvent m_onMouseLeave;
  MouseMoveEvent m_onMouseMove;
  MouseButtonEvent m_onMouseDown;
  MouseButtonEvent m_onMouseUp;
};

} // namespace framework
