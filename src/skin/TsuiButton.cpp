#include "skin/TsuiButton.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>

#include <algorithm>

namespace skin {

TsuiButton::TsuiButton(QWidget *parent) : QWidget(parent) {
  resize(80, 27);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_Hover);
  setMouseTracking(true);
  if (QWidget *top = window(); top != this) top->installEventFilter(this);
  m_shortcut = new QShortcut(this);
  m_shortcut->setContext(Qt::WindowShortcut);
  m_shortcut->setEnabled(false);
  connect(m_shortcut, &QShortcut::activated, this, [this] {
    if (isEnabled()) Click();
  });
}

void TsuiButton::SetUIStyle(TsuiUIStyle value) {
  m_uiStyle = value;
  // The capsule styles draw over their parent's background.
  m_transparent = value == TsuiUIStyle::MacOS || value == TsuiUIStyle::BlueGlass;
  update();
}

void TsuiButton::SetCaption(const QString &value) {
  m_caption = value;
  updateShortcut();
  update();
}

void TsuiButton::SetFont(const framework::FontDesc &value) {
  m_font = value;
  update();
}

void TsuiButton::SetDefault(bool value) {
  m_default = value;
  update();
}

void TsuiButton::SetTransparent(bool value) {
  m_transparent = value;
  update();
}

void TsuiButton::SetFocusedRectMargin(int value) {
  m_focusedRectMargin = value;
  update();
}

void TsuiButton::updateShortcut() {
  const QKeySequence mnemonic = QKeySequence::mnemonic(m_caption);
  m_shortcut->setKey(mnemonic);
  m_shortcut->setEnabled(!mnemonic.isEmpty());
}

void TsuiButton::Click() {
  m_pressed = false;
  update();
  if (m_onClick) m_onClick(this);
}

bool TsuiButton::activeDefault() const {
  if (qobject_cast<TsuiButton *>(QApplication::focusWidget()))
    return QApplication::focusWidget() == this;
  return m_default;
}

void TsuiButton::paintEvent(QPaintEvent *) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  if (!m_transparent) p.fillRect(rect(), palette().window());

  // A glossy capsule, darker while pressed, bluish under the mouse.
  QLinearGradient fill(0, 0, 0, height());
  if (!isEnabled() || (!m_pressed && !m_mouseOver)) {
    fill.setColorAt(0, QColor(0xFD, 0xFD, 0xFD));
    fill.setColorAt(0.5, QColor(0xEC, 0xEC, 0xEC));
    fill.setColorAt(1, QColor(0xD6, 0xD6, 0xD6));
  } else if (m_pressed) {
    fill.setColorAt(0, QColor(0x6F, 0x9F, 0xD8));
    fill.setColorAt(0.5, QColor(0x3F, 0x7C, 0xC8));
    fill.setColorAt(1, QColor(0x5E, 0x95, 0xDB));
  } else {
    fill.setColorAt(0, QColor(0xE6, 0xF0, 0xFC));
    fill.setColorAt(0.5, QColor(0xB7, 0xD3, 0xF4));
    fill.setColorAt(1, QColor(0x9C, 0xC2, 0xF0));
  }
  const qreal radius = std::min(r.height() / 2, 8.0);
  QPainterPath path;
  path.addRoundedRect(r, radius, radius);
  p.fillPath(path, fill);
  p.setPen(QColor(activeDefault() ? 0x4A : 0x8C, activeDefault() ? 0x6E : 0x8C,
                  activeDefault() ? 0xA8 : 0x8C));
  p.drawPath(path);
  p.setRenderHint(QPainter::Antialiasing, false);

  const QString trimmed = m_caption.trimmed();
  if (trimmed.isEmpty()) return;
  QFont font = framework::MakeFont(m_font);
  // The capsule styles mark the focus with a bold caption instead of a rectangle.
  if (hasFocus() && (m_uiStyle == TsuiUIStyle::MacOS || m_uiStyle == TsuiUIStyle::BlueGlass))
    font.setBold(true);
  // A caption wider than the button is narrowed to fit rather than cut at the edges (the
  // stand-in families are wider than the ones the captions were chosen for).
  const int room = width() - 2 * (m_focusedRectMargin + CaptionPadding);
  const QString shown = QString(m_caption).remove(QLatin1Char('&'));
  const int wide = QFontMetrics(font).horizontalAdvance(shown);
  if (room > 0 && wide > room) {
    // Hinting makes the width shrink less than the stretch: narrow until it fits.
    for (int stretch = std::max(50, room * 100 / wide); stretch >= 50; --stretch) {
      font.setStretch(stretch);
      if (QFontMetrics(font).horizontalAdvance(shown) <= room) break;
    }
  }
  p.setFont(font);
  QRect textRect = rect();
  if (m_pressed) textRect.translate(1, 1);
  constexpr int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
  if (!isEnabled()) {
    p.setPen(Qt::white);
    p.drawText(textRect.translated(1, 1), flags, m_caption);
    p.setPen(framework::ToQColor(0x808080));
  } else {
    p.setPen(framework::ToQColor(m_font.Color));
  }
  p.drawText(textRect, flags, m_caption);
  if (hasFocus() && m_uiStyle != TsuiUIStyle::MacOS && m_uiStyle != TsuiUIStyle::BlueGlass) {
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(rect().adjusted(m_focusedRectMargin, m_focusedRectMargin, -m_focusedRectMargin - 1,
                               -m_focusedRectMargin - 1));
  }
}

void TsuiButton::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return;
  m_pressed = true;
  setFocus(Qt::MouseFocusReason);
  update();
}

void TsuiButton::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return;
  const bool wasPressed = m_pressed;
  m_pressed = false;
  update();
  if (wasPressed && rect().contains(event->position().toPoint())) Click();
}

void TsuiButton::mouseMoveEvent(QMouseEvent *event) {
  if (!rect().contains(event->position().toPoint()) && (m_mouseOver || m_pressed)) {
    m_mouseOver = false;
    m_pressed = false;
    update();
  }
}

void TsuiButton::enterEvent(QEnterEvent *) {
  m_mouseOver = true;
  update();
}

void TsuiButton::leaveEvent(QEvent *) {
  m_mouseOver = false;
  m_pressed = false;
  update();
}

void TsuiButton::keyPressEvent(QKeyEvent *event) {
  if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
       event->key() == Qt::Key_Enter) &&
      !event->isAutoRepeat()) {
    m_pressed = true;
    update();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TsuiButton::keyReleaseEvent(QKeyEvent *event) {
  if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
       event->key() == Qt::Key_Enter) &&
      !event->isAutoRepeat() && m_pressed) {
    Click();
    return;
  }
  QWidget::keyReleaseEvent(event);
}

void TsuiButton::changeEvent(QEvent *event) {
  if (event->type() == QEvent::EnabledChange) update();
  QWidget::changeEvent(event);
}

bool TsuiButton::eventFilter(QObject *watched, QEvent *event) {
  // Enter anywhere in the window clicks the default button unless another button has the focus.
  if (watched == window() && event->type() == QEvent::KeyPress) {
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        key->modifiers() == Qt::NoModifier && m_default && isEnabled() && isVisible() &&
        !qobject_cast<TsuiButton *>(QApplication::focusWidget())) {
      Click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

} // namespace skin
