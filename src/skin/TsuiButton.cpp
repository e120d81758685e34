#include "skin/TsuiButton.h"

#include "skin/DefaultStyle.h"
#include "skin/style/DrawOps.h"
#include "skin/style/StyleFacts.h"
#include "skin/style/StyleReads.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QShortcut>

#include <algorithm>

namespace skin {

TsuiButton::TsuiButton(QWidget *parent) : framework::RenderedControl(parent) {
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
  // The default button's outline says whether another button holds the focus.
  connect(qApp, &QApplication::focusChanged, this, [this] {
    if (m_default) Invalidate();
  });
  SetUIStyle(DefaultStyle(parent));
}

void TsuiButton::SetUIStyle(TsuiUIStyle value) {
  m_uiStyle = value;
  m_transparent = style::StyleReader(nullptr, value).Bool(style::StyleEntry::ButtonTransparentBool);
  Invalidate();
}

void TsuiButton::SetCaption(const QString &value) {
  m_caption = value;
  updateShortcut();
  Invalidate();
}

void TsuiButton::SetFont(const framework::FontDesc &value) {
  m_font = value;
  Invalidate();
}

void TsuiButton::SetDefault(bool value) {
  m_default = value;
  Invalidate();
}

void TsuiButton::SetTransparent(bool value) {
  m_transparent = value;
  Invalidate();
}

void TsuiButton::SetFocusedRectMargin(int value) {
  m_focusedRectMargin = value;
  Invalidate();
}

void TsuiButton::updateShortcut() {
  const QKeySequence mnemonic = QKeySequence::mnemonic(m_caption);
  m_shortcut->setKey(mnemonic);
  m_shortcut->setEnabled(!mnemonic.isEmpty());
}

void TsuiButton::Click() {
  m_pressed = false;
  Invalidate();
  if (m_onClick) m_onClick(this);
}

bool TsuiButton::activeDefault() const {
  if (qobject_cast<TsuiButton *>(QApplication::focusWidget()))
    return QApplication::focusWidget() == this;
  return m_default;
}

namespace {

// The capsule's gradient, top to middle to bottom: at rest, pressed, under the mouse.
constexpr std::array<framework::TColor, 3> RestingLook{0xFDFDFD, 0xECECEC, 0xD6D6D6};
constexpr std::array<framework::TColor, 3> PressedLook{0xD89F6F, 0xC87C3F, 0xDB955E};
constexpr std::array<framework::TColor, 3> HotLook{0xFCF0E6, 0xF4D3B7, 0xF0C29C};
constexpr framework::TColor DefaultOutline = 0xA86E4A;
constexpr framework::TColor Outline = 0x8C8C8C;
constexpr framework::TColor DisabledText = 0x808080;

} // namespace

void TsuiButton::Render(framework::Canvas &canvas) {
  const framework::TRect all{0, 0, width(), height()};
  if (!m_transparent) {
    canvas.SetBrushColor(framework::FromQColor(palette().window().color()));
    canvas.FillRect(all);
  }
  const auto &look = !isEnabled() || (!m_pressed && !m_mouseOver) ? RestingLook
                     : m_pressed                                  ? PressedLook
                                                                  : HotLook;
  style::DrawCapsule(canvas, all, look, activeDefault() ? DefaultOutline : Outline);

  if (m_caption.trimmed().isEmpty()) return;
  const style::StyleFacts &facts = style::Facts(style::ResolveStyle(nullptr, m_uiStyle).Style);
  QFont font = framework::MakeFont(m_font);
  if (hasFocus() && facts.ButtonFocusBold) font.setBold(true);
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
  canvas.SetFont(font);
  const int shift = m_pressed ? 1 : 0;
  const framework::TRect text{shift, shift, width() + shift, height() + shift};
  constexpr framework::TextFormat centred{framework::TextAlign::Center,
                                          framework::TextLayout::Center};
  if (!isEnabled()) {
    canvas.SetFontColor(framework::clWhite);
    canvas.TextRect({text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1}, m_caption,
                    centred);
    canvas.SetFontColor(DisabledText);
  } else {
    canvas.SetFontColor(m_font.Color);
  }
  canvas.TextRect(text, m_caption, centred);
  if (hasFocus() && !facts.ButtonFocusBold) {
    const int m = m_focusedRectMargin;
    style::DrawFocusRect(canvas, {m, m, width() - m, height() - m}, framework::clBlack);
  }
}

void TsuiButton::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return;
  m_pressed = true;
  setFocus(Qt::MouseFocusReason);
  Invalidate();
}

void TsuiButton::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return;
  const bool wasPressed = m_pressed;
  m_pressed = false;
  Invalidate();
  if (wasPressed && rect().contains(event->position().toPoint())) Click();
}

void TsuiButton::mouseMoveEvent(QMouseEvent *event) {
  if (!rect().contains(event->position().toPoint()) && (m_mouseOver || m_pressed)) {
    m_mouseOver = false;
    m_pressed = false;
    Invalidate();
  }
}

void TsuiButton::enterEvent(QEnterEvent *) {
  m_mouseOver = true;
  Invalidate();
}

void TsuiButton::leaveEvent(QEvent *) {
  m_mouseOver = false;
  m_pressed = false;
  Invalidate();
}

void TsuiButton::keyPressEvent(QKeyEvent *event) {
  if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
       event->key() == Qt::Key_Enter) &&
      !event->isAutoRepeat()) {
    m_pressed = true;
    Invalidate();
    return;
  }
  framework::RenderedControl::keyPressEvent(event);
}

void TsuiButton::keyReleaseEvent(QKeyEvent *event) {
  if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
       event->key() == Qt::Key_Enter) &&
      !event->isAutoRepeat() && m_pressed) {
    Click();
    return;
  }
  framework::RenderedControl::keyReleaseEvent(event);
}

void TsuiButton::focusInEvent(QFocusEvent *event) {
  framework::RenderedControl::focusInEvent(event);
  Invalidate();
}

void TsuiButton::focusOutEvent(QFocusEvent *event) {
  framework::RenderedControl::focusOutEvent(event);
  Invalidate();
}

void TsuiButton::changeEvent(QEvent *event) {
  if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange)
    Invalidate();
  framework::RenderedControl::changeEvent(event);
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
  return framework::RenderedControl::eventFilter(watched, event);
}

} // namespace skin
