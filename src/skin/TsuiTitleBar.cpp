#include "skin/TsuiTitleBar.h"

#include "skin/style/DrawOps.h"

#include <QMouseEvent>
#include <QWindow>

#include <algorithm>

namespace skin {

void TsuiTitleBarButton::changed() {
  m_bar.Changed();
}

void TsuiTitleBarButton::SetButtonType(TsuiTitleBarBtnType value) {
  m_type = value;
  changed();
}
void TsuiTitleBarButton::SetUIStyle(TsuiUIStyle value) {
  m_style = value;
  changed();
}
void TsuiTitleBarButton::SetTransparent(bool value) {
  m_transparent = value;
  changed();
}
void TsuiTitleBarButton::SetTop(int value) {
  m_top = value;
  changed();
}
void TsuiTitleBarButton::SetVisible(bool value) {
  m_visible = value;
  changed();
}
void TsuiTitleBarButton::SetPicNormal(const QImage &value) {
  m_picNormal = value.copy();
  changed();
}
void TsuiTitleBarButton::SetPicMouseOn(const QImage &value) {
  m_picMouseOn = value.copy();
  changed();
}
void TsuiTitleBarButton::SetPicMouseDown(const QImage &value) {
  m_picMouseDown = value.copy();
  changed();
}

TsuiTitleBarButton &TsuiTitleBarButtons::Add() {
  m_items.push_back(std::make_unique<TsuiTitleBarButton>(m_bar));
  m_bar.Changed();
  return *m_items.back();
}
void TsuiTitleBarButtons::Clear() {
  m_items.clear();
  m_bar.Changed();
}
TsuiTitleBarButton *TsuiTitleBarButtons::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return m_items[static_cast<std::size_t>(index)].get();
}

void TsuiTitleBarSection::changed() {
  m_bar.Changed();
}

void TsuiTitleBarSection::SetAutoSize(bool value) {
  m_autoSize = value;
  if (m_autoSize && !m_picture.isNull()) m_width = m_picture.width();
  changed();
}
void TsuiTitleBarSection::SetWidth(int value) {
  m_width = value;
  changed();
}
void TsuiTitleBarSection::SetAlign(TsuiTitleBarAlign value) {
  m_align = value;
  // A client section always fills the space between the others.
  if (m_align == TsuiTitleBarAlign::suiClient) m_stretch = true;
  changed();
}
void TsuiTitleBarSection::SetPicture(const QImage &value) {
  m_picture = value.copy();
  if (m_autoSize && !m_picture.isNull()) m_width = m_picture.width();
  changed();
}
void TsuiTitleBarSection::SetStretch(bool value) {
  m_stretch = value || m_align == TsuiTitleBarAlign::suiClient;
  changed();
}

TsuiTitleBarSection &TsuiTitleBarSections::Add() {
  m_items.push_back(std::make_unique<TsuiTitleBarSection>(m_bar));
  m_bar.Changed();
  return *m_items.back();
}
void TsuiTitleBarSections::Clear() {
  m_items.clear();
  m_bar.Changed();
}
TsuiTitleBarSection *TsuiTitleBarSections::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return m_items[static_cast<std::size_t>(index)].get();
}

TsuiTitleBar::TsuiTitleBar(QWidget *parent)
    : framework::RenderedControl(parent), m_buttons(*this), m_sections(*this) {
  setMouseTracking(true);
  SetOpaque(true);
}

void TsuiTitleBar::Changed() {
  Invalidate();
  emit changed();
}

void TsuiTitleBar::SetCaption(const QString &value) {
  m_caption = value;
  Invalidate();
}
void TsuiTitleBar::SetFont(const framework::FontDesc &value) {
  m_font = value;
  Invalidate();
}
void TsuiTitleBar::SetFormActive(bool value) {
  m_formActive = value;
  Invalidate();
}
void TsuiTitleBar::SetLeftBtnXOffset(int value) {
  m_leftBtnXOffset = value;
  Invalidate();
}
void TsuiTitleBar::SetRightBtnXOffset(int value) {
  m_rightBtnXOffset = value;
  Invalidate();
}
void TsuiTitleBar::SetButtonInterval(int value) {
  m_buttonInterval = value;
  Invalidate();
}
void TsuiTitleBar::SetFrame(int left, int top) {
  m_frameLeft = std::max(0, left);
  m_frameTop = std::max(0, top);
  Invalidate();
}

TsuiTitleBar::Layout TsuiTitleBar::layout() const {
  Layout result;
  result.buttons.resize(static_cast<std::size_t>(m_buttons.Count()));
  const int buttonTop = 2 - m_frameTop;
  int x = width() + m_rightBtnXOffset + m_frameLeft;
  for (int i = 0; i < m_buttons.Count(); ++i) {
    const TsuiTitleBarButton &button = *m_buttons.Items(i);
    if (!button.Visible() || button.ButtonType() == TsuiTitleBarBtnType::suiControlBox) continue;
    const QSize size = button.PicNormal().size();
    x -= size.width() + m_buttonInterval + 1;
    if (x + size.width() > width() - 1) x = width() - size.width() - 1;
    if (!size.isEmpty())
      result.buttons[static_cast<std::size_t>(i)] = QRect(QPoint(x, buttonTop), size);
  }
  int c = std::max(0, m_leftBtnXOffset + 1 - m_frameLeft);
  if (c == 0) c = 6;
  result.captionLeft = c;
  result.captionRight = x;
  return result;
}

QRect TsuiTitleBar::ButtonRect(int index) const {
  const Layout l = layout();
  if (index < 0 || index >= static_cast<int>(l.buttons.size())) return {};
  return l.buttons[static_cast<std::size_t>(index)];
}

int TsuiTitleBar::hitTest(const QPoint &pos) const {
  const Layout l = layout();
  for (std::size_t i = 0; i < l.buttons.size(); ++i) {
    const QRect &r = l.buttons[i];
    // Edges included, one pixel beyond the picture on the right and bottom.
    if (!r.isNull() && pos.x() >= r.left() && pos.x() <= r.right() + 1 && pos.y() >= r.top() &&
        pos.y() <= r.bottom() + 1)
      return static_cast<int>(i);
  }
  return -1;
}

namespace {

constexpr framework::TColor BarColor = 0x752521;

} // namespace

void TsuiTitleBar::Render(framework::Canvas &canvas) {
  canvas.SetBrushColor(BarColor);
  canvas.FillRect({0, 0, width(), height()});

  // Pictures reach into the frame above and to the left.
  const int x0 = -m_frameLeft, y0 = -m_frameTop;
  const TsuiTitleBarSection *left = m_sections.Items(0);
  const TsuiTitleBarSection *right = m_sections.Items(1);
  const TsuiTitleBarSection *client = m_sections.Items(2);
  int leftEdge = x0, rightEdge = width() - x0;
  if (left && !left->Picture().isNull()) {
    canvas.Draw(x0, y0, left->Picture());
    leftEdge = x0 + left->Picture().width();
  }
  if (right && !right->Picture().isNull()) {
    rightEdge = width() - right->Picture().width() - x0;
    canvas.Draw(rightEdge, y0, right->Picture());
  }
  if (client && !client->Picture().isNull() && rightEdge > leftEdge)
    canvas.StretchDraw({leftEdge, y0, rightEdge, y0 + client->Picture().height()},
                       client->Picture());

  const Layout l = layout();
  for (std::size_t i = 0; i < l.buttons.size(); ++i) {
    const QRect &r = l.buttons[i];
    if (r.isNull()) continue;
    const TsuiTitleBarButton &button = *m_buttons.Items(static_cast<int>(i));
    const bool isHot = static_cast<int>(i) == m_hot;
    QImage picture =
        isHot ? (m_pressed ? button.PicMouseDown() : button.PicMouseOn()) : button.PicNormal();
    if (picture.isNull()) picture = button.PicNormal();
    // The bottom-left pixel names the colour that lets the bar show through.
    canvas.Draw(r.x(), r.y(), picture,
                button.Transparent() ? style::BottomLeftKey(picture) : std::nullopt);
  }

  // The caption is centred on the button pictures (all of one height in a style).
  int pictureHeight = height() + m_frameTop;
  for (int i = 0; i < m_buttons.Count(); ++i)
    if (!m_buttons.Items(i)->PicNormal().isNull()) {
      pictureHeight = m_buttons.Items(i)->PicNormal().height();
      break;
    }
  canvas.SetFont(framework::MakeFont(m_font));
  canvas.SetFontColor(m_formActive ? m_font.Color : framework::clInactiveCaption);
  const int top = 2 - m_frameTop;
  canvas.TextRect({l.captionLeft, top, l.captionRight, top + pictureHeight}, m_caption,
                  {framework::TextAlign::Left, framework::TextLayout::Center, true,
                   framework::Mnemonic::Literal});
}

void TsuiTitleBar::setHot(int hot, bool pressed) {
  if (hot == m_hot && pressed == m_pressed) return;
  m_hot = hot;
  m_pressed = pressed;
  Invalidate();
}

void TsuiTitleBar::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return;
  const int hot = hitTest(event->position().toPoint());
  if (hot < 0 && !window()->isMaximized()) {
    setHot(-1, false);
    if (QWindow *handle = window()->windowHandle()) handle->startSystemMove();
    return;
  }
  setHot(hot, true);
}

void TsuiTitleBar::mouseMoveEvent(QMouseEvent *event) {
  setHot(hitTest(event->position().toPoint()), m_pressed);
}

void TsuiTitleBar::leaveEvent(QEvent *) {
  setHot(-1, m_pressed);
}

void TsuiTitleBar::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return;
  // The button under the mouse at release acts, whichever was pressed.
  const int hot = hitTest(event->position().toPoint());
  if (hot >= 0) ClickButton(hot);
  setHot(hot, false);
}

void TsuiTitleBar::ClickButton(int index) {
  const TsuiTitleBarButton *button = m_buttons.Items(index);
  if (!button || !button->Visible()) return;
  performAction(index);
  if (button->ButtonType() == TsuiTitleBarBtnType::suiCustom && m_onCustomBtnsClick)
    m_onCustomBtnsClick(this, index);
}

void TsuiTitleBar::performAction(int index) {
  QWidget *form = window();
  switch (m_buttons.Items(index)->ButtonType()) {
  case TsuiTitleBarBtnType::suiClose:
    form->close();
    break;
  case TsuiTitleBarBtnType::suiMin:
    form->showMinimized();
    break;
  case TsuiTitleBarBtnType::suiMax:
    form->isMaximized() ? form->showNormal() : form->showMaximized();
    break;
  case TsuiTitleBarBtnType::suiHelp:
  case TsuiTitleBarBtnType::suiControlBox:
  case TsuiTitleBarBtnType::suiCustom:
    break;
  }
}

} // namespace skin
