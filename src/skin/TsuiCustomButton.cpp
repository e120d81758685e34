#include "skin/TsuiCustomButton.h"

#include "skin/ButtonSkin.h"
#include "skin/style/StyleReads.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>

namespace skin {

namespace {

constexpr framework::TColor DisabledCaption = 8421504;

bool IsEnter(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TsuiCustomButton::TsuiCustomButton(QWidget *parent) : framework::RenderedControl(parent) {
  resize(80, 27);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  watchWindow();
  m_font = framework::FontDescOf(*this);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
    // The window losing the activation leaves its focused control as it was.
    if (now) focusMoved(now);
  });
}

TsuiCustomButton::~TsuiCustomButton() = default;

void TsuiCustomButton::watchWindow() {
  QWidget *top = window();
  if (top == m_watchedWindow) return;
  if (m_watchedWindow) m_watchedWindow->removeEventFilter(this);
  m_watchedWindow = top != this ? top : nullptr;
  if (m_watchedWindow) m_watchedWindow->installEventFilter(this);
  m_activeDefault = m_default;
}

void TsuiCustomButton::SetCaption(const QString &value) {
  m_caption = value;
  CaptionChanged();
}

void TsuiCustomButton::SetFont(const framework::FontDesc &value) {
  framework::SetFontDesc(*this, value);
  m_font = value;
  FontChanged();
}

void TsuiCustomButton::SetParentFont(bool value) {
  framework::SetFollowsParentFont(*this, value);
  parentFontChanged();
}

void TsuiCustomButton::parentFontChanged() {
  if (!framework::FollowsParentFont(*this)) return;
  m_font = framework::FontDescOf(*this);
  FontChanged();
}

framework::TColor TsuiCustomButton::Color() const {
  return m_color.Shown(*this);
}

void TsuiCustomButton::SetColor(framework::TColor value) {
  m_color.Set(*this, value);
  Invalidate();
}

void TsuiCustomButton::SetParentColor(bool value) {
  m_color.SetFollowsParent(*this, value);
  Invalidate();
}

void TsuiCustomButton::SetAutoSize(bool value) {
  m_autoSize = value;
  AutoSizeChanged();
}

void TsuiCustomButton::SetTabStop(bool value) {
  m_tabStop = value;
  setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
  Invalidate();
}

void TsuiCustomButton::SetHint(const QString &value) {
  m_hint = value;
  setToolTip(value);
}

void TsuiCustomButton::SetUIStyle(TsuiUIStyle value) {
  m_uiStyle = value;
  UIStyleChanged();
}

void TsuiCustomButton::SetFileTheme(TsuiFileTheme *value) {
  m_theme.Set(value);
  UIStyleChanged();
}

void TsuiCustomButton::SetTransparent(bool value) {
  m_transparent = value;
  TransparentChanged();
}

void TsuiCustomButton::SetDefault(bool value) {
  m_default = value;
  QWidget *top = m_watchedWindow;
  if (!top) {
    m_activeDefault = value;
    Invalidate();
    return;
  }
  // Every button of the window hears the focus change again, so only one takes Enter.
  QWidget *focused = top->focusWidget();
  for (TsuiCustomButton *button : top->findChildren<TsuiCustomButton *>())
    button->focusMoved(focused);
}

void TsuiCustomButton::SetAction(QAction *value) {
  disconnect(m_actionChanged);
  m_action = value;
  if (m_action) {
    m_actionChanged = connect(m_action, &QAction::changed, this, [this] { actionChanged(); });
    actionChanged();
  }
}

void TsuiCustomButton::actionChanged() {
  if (!m_action) return;
  SetCaption(m_action->text());
  setEnabled(m_action->isEnabled());
  setVisible(m_action->isVisible());
  Invalidate();
}

QImage TsuiCustomButton::ActionImage() const {
  if (!m_action || m_action->icon().isNull()) return {};
  const QList<QSize> sizes = m_action->icon().availableSizes();
  const QSize size = sizes.isEmpty() ? QSize(16, 16) : sizes.first();
  return m_action->icon().pixmap(size).toImage();
}

void TsuiCustomButton::focusMoved(QWidget *now) {
  if (now && now->window() != m_watchedWindow) return;
  if (qobject_cast<TsuiCustomButton *>(now))
    m_activeDefault = now == this;
  else
    m_activeDefault = m_default;
  Invalidate();
}

QChar TsuiCustomButton::Accelerator() const {
  for (qsizetype i = 0; i + 1 < m_caption.size(); ++i) {
    if (m_caption[i] != QLatin1Char('&')) continue;
    if (m_caption[i + 1] != QLatin1Char('&')) return m_caption[i + 1].toLower();
    ++i;
  }
  return {};
}

bool TsuiCustomButton::CanFocus() const {
  return isEnabled() && isVisible();
}

void TsuiCustomButton::stopRepeat() {
  m_repeat.reset();
}

void TsuiCustomButton::repeatTick(framework::Timer *) {
  if (m_onRepeat) m_onRepeat(this);
}

void TsuiCustomButton::Click() {
  stopRepeat();
  m_pressed = false;
  Invalidate();
  const QPointer<TsuiCustomButton> self(this);
  const QPointer<QDialog> dialog = qobject_cast<QDialog *>(window());
  if (dialog) dialog->setResult(m_modalResult);
  if (m_onClick)
    m_onClick(this);
  else if (m_action)
    m_action->trigger();
  // The handler may still take the result back, as it could before the window closed.
  if (!self || dialog.isNull()) return;
  QDialog &form = *dialog.get();
  if (form.result() != 0 && QApplication::activeModalWidget() == &form) form.done(form.result());
}

bool TsuiCustomButton::DialogKey(const QKeyEvent &key) {
  const Qt::KeyboardModifiers held =
      key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (held == Qt::NoModifier && CanFocus()) {
    if ((IsEnter(key.key()) && m_activeDefault) || (key.key() == Qt::Key_Escape && m_cancel)) {
      Click();
      return true;
    }
  }
  const QChar accelerator = Accelerator();
  if (accelerator.isNull() || !isEnabled() || !isVisible()) return false;
  // Alt with the character anywhere; the character alone only where it is not typed into an
  // edit box, that is while a button has the focus.
  const bool alone =
      held == Qt::NoModifier && qobject_cast<TsuiCustomButton *>(QApplication::focusWidget());
  if (held != Qt::AltModifier && !alone) return false;
  const QChar typed = key.key() > 0 && key.key() < 0xFFFF ? QChar(key.key()).toLower()
                      : key.text().isEmpty()              ? QChar()
                                                          : key.text().at(0).toLower();
  if (typed != accelerator) return false;
  Click();
  return true;
}

QImage TsuiCustomButton::StateImage() {
  QImage state;
  if (!isEnabled())
    GetDisabledImage(state);
  else if (m_pressed)
    GetPressedImage(state);
  else if (m_mouseOver)
    GetMouseOnImage(state);
  else
    GetNormalImage(state);
  return state.isNull() ? BlankButtonImage() : state;
}

void TsuiCustomButton::Render(framework::Canvas &canvas) {
  const QImage state = StateImage();
  if (m_transparent) {
    PaintParentBackground(canvas);
  } else {
    canvas.SetBrushColor(Color());
    canvas.FillRect({0, 0, width(), height()});
  }
  DrawSkin(canvas, state);
  if (hasFocus() && m_tabStop) DrawFocus(canvas);
  canvas.SetFont(framework::MakeFont(m_font));
  if (!m_caption.trimmed().isEmpty()) DrawCaption(canvas, m_caption);
  m_boldRequest = false;
}

void TsuiCustomButton::AutoSizeChanged() {
  if (!m_autoSize) return;
  QImage strip;
  style::StyleReader(m_theme.Theme(), m_uiStyle).Image(style::StyleEntry::ButtonImage, strip);
  const QSize whole = strip.isNull() ? BlankButtonImage().size() : strip.size();
  resize(whole.width() / 3, whole.height());
}

void TsuiCustomButton::CaptionChanged() {
  setAccessibleName(QString(m_caption).remove(QLatin1Char('&')));
  Invalidate();
}

void TsuiCustomButton::FontChanged() {
  Invalidate();
}

void TsuiCustomButton::TransparentChanged() {
  Invalidate();
}

void TsuiCustomButton::EnabledChanged() {
  Invalidate();
}

void TsuiCustomButton::UIStyleChanged() {
  AutoSizeChanged();
  Invalidate();
}

void TsuiCustomButton::DrawSkin(framework::Canvas &canvas, const QImage &state) {
  canvas.StretchDraw({0, 0, width(), height()}, state,
                     m_transparent ? std::optional(framework::clFuchsia) : std::nullopt);
}

void TsuiCustomButton::DrawCaptionText(framework::Canvas &canvas, const framework::TRect &r,
                                       const QString &caption,
                                       const framework::TextFormat &format) {
  const int shift = m_pressed ? 1 : 0;
  const auto moved = [&](int by) {
    return framework::TRect{r.Left + by, r.Top + by, r.Right + by, r.Bottom + by};
  };
  if (!isEnabled()) {
    canvas.SetFontColor(framework::clWhite);
    canvas.TextRect(moved(shift + 1), caption, format);
    canvas.SetFontColor(DisabledCaption);
  } else {
    canvas.SetFontColor(m_font.Color);
  }
  canvas.TextRect(moved(shift), caption, format);
}

void TsuiCustomButton::DrawCaption(framework::Canvas &canvas, const QString &caption) {
  if (m_boldRequest) {
    QFont bold = canvas.Font();
    bold.setBold(true);
    canvas.SetFont(bold);
  }
  // The block is measured as wrapped text would be, then drawn on one line at its place.
  const QRect block = QFontMetrics(canvas.Font())
                          .boundingRect(rect(),
                                        Qt::AlignLeft | Qt::TextWordWrap | Qt::TextExpandTabs |
                                            Qt::TextShowMnemonic,
                                        caption);
  const int left = (width() - block.width()) / 2;
  const int top = (height() - block.height()) / 2;
  DrawCaptionText(canvas, {left, top, left + block.width(), top + block.height()}, caption,
                  {framework::TextAlign::Center, framework::TextLayout::Top});
  m_boldRequest = false;
}

void TsuiCustomButton::DrawFocus(framework::Canvas &canvas) {
  InvertFocusRect(canvas, {3, 3, width() - 3, height() - 3});
}

void TsuiCustomButton::GetNormalImage(QImage &bitmap) {
  style::StyleReader(m_theme.Theme(), m_uiStyle)
      .ImagePart(style::StyleEntry::ButtonImage, bitmap, 1, 3);
}

void TsuiCustomButton::GetMouseOnImage(QImage &bitmap) {
  style::StyleReader(m_theme.Theme(), m_uiStyle)
      .ImagePart(style::StyleEntry::ButtonImage, bitmap, 2, 3);
}

void TsuiCustomButton::GetPressedImage(QImage &bitmap) {
  style::StyleReader(m_theme.Theme(), m_uiStyle)
      .ImagePart(style::StyleEntry::ButtonImage, bitmap, 3, 3);
}

void TsuiCustomButton::GetDisabledImage(QImage &bitmap) {
  GetNormalImage(bitmap);
}

bool TsuiCustomButton::event(QEvent *event) {
  if (framework::HintSuppressed(*this, *event)) return true;
  if (event->type() == QEvent::ParentChange) {
    watchWindow();
    // Qt says nothing when the new parent's font differs in colour alone.
    parentFontChanged();
    Invalidate();
  }
  return framework::RenderedControl::event(event);
}

void TsuiCustomButton::mousePressEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton) {
    m_pressed = true;
    m_clickPending = true;
    if (!m_repeat) {
      m_repeat = std::make_unique<framework::Timer>();
      m_repeat->SetInterval(std::max(m_repeatInterval, 0));
      m_repeat->SetOnTimer(framework::Timer::Event::bind<&TsuiCustomButton::repeatTick>(this));
    }
    if (m_tabStop && CanFocus()) setFocus(Qt::MouseFocusReason);
    Invalidate();
  }
  if (m_onMouseDown) m_onMouseDown(this);
}

void TsuiCustomButton::mouseDoubleClickEvent(QMouseEvent *event) {
  // The second press of a double click is a press like the first.
  mousePressEvent(event);
}

void TsuiCustomButton::mouseReleaseEvent(QMouseEvent *event) {
  const QPointer<TsuiCustomButton> self(this);
  if (event->button() == Qt::LeftButton) {
    const bool clicks = m_clickPending && rect().contains(event->position().toPoint());
    m_clickPending = false;
    if (clicks) {
      Click();
    } else {
      stopRepeat();
      m_pressed = false;
      Invalidate();
    }
  }
  if (self && m_onMouseUp) m_onMouseUp(this);
}

void TsuiCustomButton::mouseMoveEvent(QMouseEvent *event) {
  if (!rect().contains(event->position().toPoint()) && (m_mouseOver || m_pressed || m_repeat)) {
    m_mouseOver = false;
    m_pressed = false;
    // A button that no longer looks pressed does not repeat either.
    stopRepeat();
    Invalidate();
  }
  if (m_onMouseMove) m_onMouseMove(this);
}

void TsuiCustomButton::enterEvent(QEnterEvent *) {
  m_mouseOver = true;
  Invalidate();
  if (m_onMouseEnter) m_onMouseEnter(this);
}

void TsuiCustomButton::leaveEvent(QEvent *) {
  m_mouseOver = false;
  m_pressed = false;
  stopRepeat();
  Invalidate();
  if (m_onMouseExit) m_onMouseExit(this);
}

void TsuiCustomButton::keyPressEvent(QKeyEvent *event) {
  if (DialogKey(*event)) return;
  const int key = event->key();
  const bool pressKey = key == Qt::Key_Space || IsEnter(key);
  if (pressKey && isEnabled() && hasFocus()) {
    m_pressed = true;
    Invalidate();
  }
  const QPointer<TsuiCustomButton> self(this);
  if (m_onKeyDown) m_onKeyDown(this);
  if (self && !event->text().isEmpty() && m_onKeyPress) m_onKeyPress(this);
  // Keys the button has no use for go on to the window (Escape for a Cancel button there).
  if (!pressKey) event->ignore();
}

void TsuiCustomButton::keyReleaseEvent(QKeyEvent *event) {
  const int key = event->key();
  const QPointer<TsuiCustomButton> self(this);
  // Holding the key repeats presses, not clicks.
  if ((key == Qt::Key_Space || IsEnter(key)) && !event->isAutoRepeat() && hasFocus() && m_pressed &&
      isEnabled()) {
    m_pressed = false;
    Invalidate();
    Click();
  }
  if (self && m_onKeyUp) m_onKeyUp(this);
}

void TsuiCustomButton::focusInEvent(QFocusEvent *event) {
  framework::RenderedControl::focusInEvent(event);
  Invalidate();
  if (m_onEnter) m_onEnter(this);
}

void TsuiCustomButton::focusOutEvent(QFocusEvent *event) {
  framework::RenderedControl::focusOutEvent(event);
  Invalidate();
  if (m_onExit) m_onExit(this);
}

void TsuiCustomButton::changeEvent(QEvent *event) {
  if (event->type() == QEvent::EnabledChange) EnabledChanged();
  if (event->type() == QEvent::FontChange) parentFontChanged();
  if (event->type() == QEvent::PaletteChange) Invalidate();
  framework::RenderedControl::changeEvent(event);
}

void TsuiCustomButton::contextMenuEvent(QContextMenuEvent *event) {
  if (!m_popupMenu) return framework::RenderedControl::contextMenuEvent(event);
  m_popupMenu->popup(event->globalPos());
}

bool TsuiCustomButton::eventFilter(QObject *watched, QEvent *event) {
  if (watched == m_watchedWindow && event->type() == QEvent::KeyPress &&
      DialogKey(*static_cast<QKeyEvent *>(event)))
    return true;
  return framework::RenderedControl::eventFilter(watched, event);
}

} // namespace skin
