#include "widgets/TCnAAGraphicControl.h"

#include <QEvent>
#include <QResizeEvent>

#include <memory>

namespace widgets {

TDragKind TCnDrag::DragKind() const {
  return m_owner.DragKind();
}
void TCnDrag::SetDragKind(TDragKind value) {
  m_owner.SetDragKind(value);
}
int TCnDrag::DragCursor() const {
  return m_owner.DragCursor();
}
void TCnDrag::SetDragCursor(int value) {
  m_owner.SetDragCursor(value);
}
TDragMode TCnDrag::DragMode() const {
  return m_owner.DragMode();
}
void TCnDrag::SetDragMode(TDragMode value) {
  m_owner.SetDragMode(value);
}

bool TCnParentEffect::ParentColor() const {
  return m_owner.ParentColor();
}
void TCnParentEffect::SetParentColor(bool value) {
  m_owner.SetParentColor(value);
}
bool TCnParentEffect::ParentFont() const {
  return m_owner.ParentFont();
}
void TCnParentEffect::SetParentFont(bool value) {
  m_owner.SetParentFont(value);
}
bool TCnParentEffect::ParentShowHint() const {
  return m_owner.ParentShowHint();
}
void TCnParentEffect::SetParentShowHint(bool value) {
  m_owner.SetParentShowHint(value);
}

TCnAAGraphicControl::TCnAAGraphicControl(QWidget *parent) : WindowlessControl(parent) {
  m_aaFont.Effect().SetOnChanged([this] { RefreshIfReady(); });
  WindowlessControl::SetFont(framework::FontDescOf(*this));
  // A caption that still shows the name follows it when the name changes.
  connect(this, &QObject::objectNameChanged, this, &TCnAAGraphicControl::nameChanged);
}

TCnAAGraphicControl::~TCnAAGraphicControl() {
  m_destroying = true;
}

void TCnAAGraphicControl::nameChanged(const QString &name) {
  if (!Loading() && m_caption == m_name) SetCaption(name);
  m_name = name;
}

void TCnAAGraphicControl::SetCaption(const QString &value) {
  if (value == m_caption) return;
  m_caption = value;
  RefreshIfReady();
}

void TCnAAGraphicControl::SetFont(const framework::FontDesc &value) {
  framework::SetFontDesc(*this, value);
  fontShown();
}

void TCnAAGraphicControl::SetParentFont(bool value) {
  framework::SetFollowsParentFont(*this, value);
  fontShown();
}

void TCnAAGraphicControl::fontShown() {
  const framework::FontDesc shown = framework::FontDescOf(*this);
  if (shown == Font()) return;
  WindowlessControl::SetFont(shown);
  RefreshIfReady();
}

void TCnAAGraphicControl::SetAutoSize(bool value) {
  m_autoSize = value;
  RefreshIfReady();
}

void TCnAAGraphicControl::SetAlign(TAlign value) {
  if (value == m_align) return;
  m_align = value;
  RefreshIfReady();
}

TColor TCnAAGraphicControl::Color() const {
  return ParentColor() ? framework::WidgetColor(*this) : m_color;
}

// A colour that changes what is shown redraws through the palette change it causes.
void TCnAAGraphicControl::SetColor(TColor value) {
  m_color = value;
  framework::SetWidgetColor(*this, value);
}

void TCnAAGraphicControl::SetParentColor(bool value) {
  const TColor shown = Color();
  framework::SetFollowsParentColor(*this, value);
  if (!value) m_color = shown;
}

void TCnAAGraphicControl::SetHint(const QString &value) {
  m_hint = value;
  setToolTip(value);
}

void TCnAAGraphicControl::EndUpdate() {
  if (m_updateCount == 0) return;
  if (--m_updateCount == 0) RefreshIfReady();
}

void TCnAAGraphicControl::RefreshIfReady() {
  if (m_ready && m_autoRefresh && !Loading() && !m_destroying && m_updateCount == 0) DoRefresh();
}

void TCnAAGraphicControl::Loaded() {
  WindowlessControl::Loaded();
  m_ready = true;
  AfterLoading();
}

void TCnAAGraphicControl::PaintBeneath(framework::Canvas &canvas) {
  PaintParentBackground(canvas);
  const QWidget *parent = parentWidget();
  if (!parent || canvas.Image().isNull()) return;
  for (QObject *child : parent->children()) {
    if (child == this) break; // later siblings lie above
    auto *sibling = qobject_cast<QWidget *>(child);
    if (!sibling || sibling->isWindow() || !framework::ShownByItself(*sibling)) continue;
    const QRect overlap = sibling->geometry() & geometry();
    if (overlap.isEmpty()) continue;
    // As on screen: a sibling's own background only when it fills it, so that a transparent
    // sibling lets the layers below show.
    QWidget::RenderFlags flags = QWidget::DrawChildren;
    if (sibling->autoFillBackground()) flags |= QWidget::DrawWindowBackground;
    sibling->render(&canvas.Image(), overlap.topLeft() - pos(),
                    QRegion(overlap.translated(-sibling->pos())), flags);
  }
}

void TCnAAGraphicControl::paintEvent(QPaintEvent *event) {
  if (Loading() || m_destroying) return;
  if (!m_ready) {
    m_ready = true;
    RefreshIfReady();
  }
  if (!Visible() || m_painting) return;
  m_painting = true;
  const std::unique_ptr<bool, void (*)(bool *)> done(&m_painting, [](bool *p) { *p = false; });
  BeforePaint();
  WindowlessControl::paintEvent(event);
}

void TCnAAGraphicControl::SetBounds(int left, int top, int width, int height) {
  WindowlessControl::SetBounds(left, top, width, height);
  sizeSeen();
}

void TCnAAGraphicControl::resizeEvent(QResizeEvent *event) {
  WindowlessControl::resizeEvent(event);
  sizeSeen();
}

void TCnAAGraphicControl::sizeSeen() {
  if (width() == m_lastWidth && height() == m_lastHeight) return;
  m_lastWidth = width();
  m_lastHeight = height();
  RefreshIfReady();
}

bool TCnAAGraphicControl::event(QEvent *event) {
  if (framework::HintSuppressed(*this, *event)) return true;
  // Qt says nothing when the new parent's font differs in colour alone.
  if (event->type() == QEvent::ParentChange) fontShown();
  return WindowlessControl::event(event);
}

void TCnAAGraphicControl::changeEvent(QEvent *event) {
  WindowlessControl::changeEvent(event);
  if (event->type() == QEvent::FontChange) fontShown();
  if (event->type() == QEvent::PaletteChange) RefreshIfReady();
}

} // namespace widgets
