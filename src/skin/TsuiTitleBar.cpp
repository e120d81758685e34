#include "skin/TsuiTitleBar.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
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

TsuiTitleBar::TsuiTitleBar(QWidget *parent) : QWidget(parent), m_buttons(*this), m_sections(*this) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TsuiTitleBar::Changed() {
  update();
}

void TsuiTitleBar::SetCaption(const QString &value) {
  m_caption = value;
  update();
}
void TsuiTitleBar::SetFont(const framework::FontDesc &value) {
  m_font = value;
  update();
}
void TsuiTitleBar::SetFormActive(bool value) {
  m_formActive = value;
  update();
}
void TsuiTitleBar::SetLeftBtnXOffset(int value) {
  m_leftBtnXOffset = value;
  update();
}
void TsuiTitleBar::SetRightBtnXOffset(int value) {
  m_rightBtnXOffset = value;
  update();
}
void TsuiTitleBar::SetButtonInterval(int value) {
  m_buttonInterval = value;
  update();
}
void TsuiTitleBar::SetFrame(int left, int top) {
  m_frameLeft = std::max(0, left);
  m_frameTop = std::max(0, top);
  update();
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

QImage TsuiTitleBar::Render(int hot, bool pressed) const {
  QImage image(size(), QImage::Format_RGB32);
  image.fill(QColor(0x21, 0x25, 0x75));
  QPainter p(&image);

  // Pictures reach into the frame above and to the left.
  const int x0 = -m_frameLeft, y0 = -m_frameTop;
  const TsuiTitleBarSection *left = m_sections.Items(0);
  const TsuiTitleBarSection *right = m_sections.Items(1);
  const TsuiTitleBarSection *client = m_sections.Items(2);
  int leftEdge = x0, rightEdge = width() - x0;
  if (left && !left->Picture().isNull()) {
    p.drawImage(x0, y0, left->Picture());
    leftEdge = x0 + left->Picture().width();
  }
  if (right && !right->Picture().isNull()) {
    rightEdge = width() - right->Picture().width() - x0;
    p.drawImage(rightEdge, y0, right->Picture());
  }
  if (client && !client->Picture().isNull() && rightEdge > leftEdge)
    p.drawImage(QRect(leftEdge, y0, rightEdge - leftEdge, client->Picture().height()),
                client->Picture());

  const Layout l = layout();
  for (std::size_t i = 0; i < l.buttons.size(); ++i) {
    const QRect &r = l.buttons[i];
    if (r.isNull()) continue;
    const TsuiTitleBarButton &button = *m_buttons.Items(static_cast<int>(i));
    const bool isHot = static_cast<int>(i) == hot;
    QImage picture =
        isHot ? (pressed ? button.PicMouseDown() : button.PicMouseOn()) : button.PicNormal();
    if (picture.isNull()) picture = button.PicNormal();
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    if (button.Transparent()) {
      // The bottom-left pixel names the colour that lets the bar show through.
      const QRgb key = picture.pixel(0, picture.height() - 1);
      for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
          if (picture.pixel(x, y) == key) picture.setPixel(x, y, 0);
    }
    p.drawImage(r.topLeft(), picture);
  }

  const QFont font = framework::MakeFont(m_font);
  p.setFont(font);
  p.setPen(framework::ToQColor(m_formActive ? m_font.Color : framework::clInactiveCaption));
  const QFontMetrics metrics(font);
  const int space = l.captionRight - l.captionLeft;
  QString text = m_caption;
  if (metrics.horizontalAdvance(text) > space) {
    while (!text.isEmpty() && metrics.horizontalAdvance(text + QStringLiteral("...")) > space)
      text.chop(1);
    text += QStringLiteral("...");
  }
  // The caption is centred on the button pictures (all of one height in a style).
  int pictureHeight = height() + m_frameTop;
  for (int i = 0; i < m_buttons.Count(); ++i)
    if (!m_buttons.Items(i)->PicNormal().isNull()) {
      pictureHeight = m_buttons.Items(i)->PicNormal().height();
      break;
    }
  const int y = (2 - m_frameTop) + (pictureHeight - metrics.height()) / 2;
  p.drawText(l.captionLeft, y + metrics.ascent(), text);
  return image;
}

void TsuiTitleBar::paintEvent(QPaintEvent *) {
  const int hot = hitTest(mapFromGlobal(QCursor::pos()));
  m_hot = underMouse() ? hot : -1;
  QPainter(this).drawImage(0, 0, Render(m_hot, m_pressed));
}

void TsuiTitleBar::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return;
  m_pressed = true;
  update();
  if (hitTest(event->position().toPoint()) < 0 && !window()->isMaximized()) {
    m_pressed = false;
    if (QWindow *handle = window()->windowHandle()) handle->startSystemMove();
  }
}

void TsuiTitleBar::mouseMoveEvent(QMouseEvent *) {
  update();
}

void TsuiTitleBar::leaveEvent(QEvent *) {
  update();
}

void TsuiTitleBar::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return;
  // The button under the mouse at release acts, whichever was pressed.
  const int hot = hitTest(event->position().toPoint());
  if (hot >= 0) ClickButton(hot);
  m_pressed = false;
  update();
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
