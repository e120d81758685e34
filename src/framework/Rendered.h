#pragma once

#include "framework/Canvas.h"

#include <QImage>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>

#include <functional>

namespace framework {

// The buffer of a drawn control: rendered whole through a Canvas, copied to the screen in one
// operation, so a half-drawn state is never visible.
class RenderBuffer {
public:
  const QImage &Image() const { return m_image; }
  bool Stale() const { return m_stale; }
  void MarkStale() { m_stale = true; }
  // Rendered since it was last marked stale, at `size` (the control's own pixels) and `ratio`.
  bool FreshAt(QSize size, int ratio = 1) const {
    return !m_stale && m_ratio == ratio &&
           (size.isEmpty() ? m_image.isNull() : m_image.size() == size * ratio);
  }
  bool Opaque() const { return m_opaque; }
  void SetOpaque(bool value) { m_opaque = value; }
  int Ratio() const { return m_ratio; }
  // The control's size in its own pixels.
  QSize Size() const { return m_image.size() / m_ratio; }

  // Starts from transparent pixels unless opaque; an empty size leaves an empty buffer. The
  // image has `ratio` x `ratio` pixels to each of the control's (see Canvas).
  void Render(QSize size, const std::function<void(Canvas &)> &draw, int ratio = 1);
  // An opaque buffer replaces the widget's pixels in `region` (the painted part, in the widget's
  // coordinates), a transparent one is laid over them.
  void CopyTo(QWidget &widget, const QRegion &region) const;

private:
  QImage m_image;
  int m_ratio = 1;
  bool m_stale = true;
  bool m_opaque = false;
};

// Paints what lies behind `control` (its parent's own painting there, without the parent's
// other children) into `canvas`, which covers the control. Nothing without a parent.
void PaintParentBackground(Canvas &canvas, const QWidget &control);

// The whole ratio a control draws at on the screen it is on (or would be shown on).
int DrawingRatio(const QWidget &control);

// Visible as far as the control itself decides: not hidden on purpose. A control whose window is
// not shown yet still counts as visible, so that it renders for tests and before the first show.
bool ShownByItself(const QWidget &control);

// What a drawn control offers to be drawn ahead of its paint, in time the program would
// otherwise spend waiting.
class RenderTarget {
public:
  virtual ~RenderTarget() = default;
  // Renders the buffer if it is stale and the control shows: true when it did.
  virtual bool RenderIfStale() = 0;

protected:
  RenderTarget() = default;
  RenderTarget(const RenderTarget &) = default;
  RenderTarget &operator=(const RenderTarget &) = default;
};

// The base of every drawn control, over QWidget or over a Qt control whose own painting comes
// first (an edit box's text). Render() draws the whole control; paintEvent only copies. Position,
// size and visibility are Qt's; Invalidate() marks the buffer stale, Repaint() renders at once
// (tests read Buffer()).
template <class Base> class Rendered : public Base, public RenderTarget {
public:
  using Base::Base;

  void Invalidate() {
    m_buffer.MarkStale();
    this->update();
  }
  void Repaint() {
    if (!ShownByItself(*this)) return;
    // Of a run of settings only the last look is ever seen: it is drawn at the next paint.
    if (RenderingDeferred()) {
      Invalidate();
      return;
    }
    RenderNow();
    this->update();
  }
  bool RenderIfStale() override {
    if (!m_buffer.Stale() || !ShownByItself(*this) || this->width() <= 0 || this->height() <= 0)
      return false;
    if (!PrepareAhead()) RenderNow();
    return true;
  }
  // The last rendered image, of the control's size.
  const QImage &Buffer() const { return m_buffer.Image(); }

protected:
  virtual void Render(Canvas &canvas) = 0;
  // True while settings are applied one after another, none of them worth drawing on its own.
  virtual bool RenderingDeferred() const { return false; }
  // Drawn ahead, a long rendering can go in short steps: one step of preparing it, true while a
  // step was left to take (the rendering itself waits for a later call).
  virtual bool PrepareAhead() { return false; }

  // A control that paints every pixel needs no clearing and nothing beneath shows through.
  void SetOpaque(bool value) {
    m_buffer.SetOpaque(value);
    this->setAttribute(Qt::WA_OpaquePaintEvent, value);
  }
  // Stale without asking for a paint: for a control that renders again on every paint, from
  // inside paintEvent, where asking for another paint would never end.
  void MarkStale() { m_buffer.MarkStale(); }
  void PaintParentBackground(Canvas &canvas) const {
    framework::PaintParentBackground(canvas, *this);
  }

  void paintEvent(QPaintEvent *event) override {
    Base::paintEvent(event);
    if (this->width() <= 0 || this->height() <= 0) return;
    // Also after the window moved to a screen of another ratio.
    if (m_buffer.Stale() || m_buffer.Ratio() != DrawingRatio(*this)) RenderNow();
    m_buffer.CopyTo(*this, event->region());
  }
  void resizeEvent(QResizeEvent *event) override {
    Base::resizeEvent(event);
    // A control made while hidden is told its size when it is first shown or rendered: a buffer
    // drawn ahead at that size stays good.
    if (!m_buffer.FreshAt(event->size(), DrawingRatio(*this))) Invalidate();
  }

private:
  void RenderNow() {
    m_buffer.Render(
        this->size(), [this](Canvas &canvas) { Render(canvas); }, DrawingRatio(*this));
  }

  RenderBuffer m_buffer;
};

using RenderedControl = Rendered<QWidget>;

} // namespace framework
