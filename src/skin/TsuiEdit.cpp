#include "skin/TsuiEdit.h"

#include "skin/DefaultStyle.h"
#include "skin/style/StyleReads.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QValidator>

namespace skin {

namespace {

// Typed and pasted text takes the box's case; text the program sets is cased by SetText.
class CaseValidator : public QValidator {
public:
  CaseValidator(QObject *parent, TEditCharCase charCase) : QValidator(parent), m_case(charCase) {}
  State validate(QString &input, int &) const override {
    if (m_case == TEditCharCase::ecUpperCase) input = input.toUpper();
    if (m_case == TEditCharCase::ecLowerCase) input = input.toLower();
    return Acceptable;
  }

private:
  TEditCharCase m_case;
};

} // namespace

TsuiEdit::TsuiEdit(QWidget *parent) : Rendered(parent) {
  setFrame(false);
  setAutoFillBackground(true);
  setTextMargins(FrameWidth, FrameWidth, FrameWidth, FrameWidth);
  SetColor(framework::clWindow);
  SetHideSelection(true);
  m_font = framework::FontDescOf(*this);
  applyFont();
  connect(this, &QLineEdit::textChanged, this, [this] {
    if (m_onChange) m_onChange(this);
  });
  m_uiStyle = DefaultStyle(parent);
  styleChanged();
}

TsuiEdit::~TsuiEdit() = default;

void TsuiEdit::SetUIStyle(TsuiUIStyle value) {
  m_uiStyle = value;
  styleChanged();
}

void TsuiEdit::SetFileTheme(TsuiFileTheme *value) {
  m_theme.Set(value);
  styleChanged();
}

void TsuiEdit::styleChanged() {
  m_borderColor =
      style::StyleReader(m_theme.Theme(), m_uiStyle).Color(style::StyleEntry::ControlBorderColor);
  StyleApplied();
  Invalidate();
}

void TsuiEdit::SetBorderColor(framework::TColor value) {
  m_borderColor = value;
  Invalidate();
}

framework::TColor TsuiEdit::Color() const {
  return m_color.Shown(*this);
}

void TsuiEdit::SetColor(framework::TColor value) {
  m_color.Set(*this, value);
  applyColor();
}

void TsuiEdit::SetParentColor(bool value) {
  m_color.SetFollowsParent(*this, value);
  applyColor();
}

void TsuiEdit::applyColor() {
  // Qt paints the text area in Base; the parent hands down only its Window colour.
  QPalette p = palette();
  p.setColor(QPalette::Base, framework::ToQColor(Color()));
  setPalette(p);
  SetHideSelection(m_hideSelection);
  Invalidate();
}

void TsuiEdit::SetConstraints(const framework::TSizeConstraints &value) {
  m_constraints = value;
  const QSize max = value.Clamp({QWIDGETSIZE_MAX, QWIDGETSIZE_MAX});
  setMinimumSize(value.MinWidth, value.MinHeight);
  setMaximumSize(max);
  resize(value.Clamp(size()));
}

void TsuiEdit::SetHideSelection(bool value) {
  m_hideSelection = value;
  // Qt keeps the selection on focus loss; only its inactive colours decide whether it shows.
  QPalette p = palette();
  const bool shown = !value;
  p.setColor(QPalette::Inactive, QPalette::Highlight,
             p.color(QPalette::Active, shown ? QPalette::Highlight : QPalette::Base));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Active, shown ? QPalette::HighlightedText : QPalette::Text));
  setPalette(p);
}

void TsuiEdit::SetFont(const framework::FontDesc &value) {
  framework::SetFontDesc(*this, value);
  m_font = value;
  applyFont();
}

void TsuiEdit::SetParentFont(bool value) {
  framework::SetFollowsParentFont(*this, value);
  if (!value) return;
  m_font = framework::FontDescOf(*this);
  applyFont();
}

void TsuiEdit::applyFont() {
  QPalette p = palette();
  p.setColor(QPalette::Text, framework::ToQColor(m_font.Color));
  setPalette(p);
  SetHideSelection(m_hideSelection);
  adjustHeight();
}

void TsuiEdit::SetAutoSize(bool value) {
  m_autoSize = value;
  adjustHeight();
}

void TsuiEdit::adjustHeight() {
  if (m_autoSize) resize(width(), QFontMetrics(font()).height() + AutoSizeExtra);
}

QRect TsuiEdit::TextArea() const {
  return rect().marginsRemoved(textMargins());
}

QString TsuiEdit::cased(const QString &text) const {
  switch (m_charCase) {
  case TEditCharCase::ecUpperCase:
    return text.toUpper();
  case TEditCharCase::ecLowerCase:
    return text.toLower();
  case TEditCharCase::ecNormal:
    break;
  }
  return text;
}

void TsuiEdit::SetCharCase(TEditCharCase value) {
  m_charCase = value;
  delete validator();
  if (value != TEditCharCase::ecNormal) setValidator(new CaseValidator(this, value));
  setText(cased(text()));
}

void TsuiEdit::SetMaxLength(int value) {
  m_maxLength = std::max(0, value);
  setMaxLength(m_maxLength == 0 ? 32767 : m_maxLength);
}

void TsuiEdit::SetPasswordChar(QChar value) {
  m_passwordChar = value;
  setEchoMode(value.isNull() ? QLineEdit::Normal : QLineEdit::Password);
}

void TsuiEdit::SetText(const QString &value) {
  setText(cased(value));
}

void TsuiEdit::SetHint(const QString &value) {
  m_hint = value;
  setToolTip(value);
}

void TsuiEdit::SetPopupMenu(QMenu *value) {
  m_popupMenu = value;
  setContextMenuPolicy(value ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
  disconnect(this, &QWidget::customContextMenuRequested, nullptr, nullptr);
  if (value)
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
      if (m_popupMenu) m_popupMenu->popup(mapToGlobal(at));
    });
}

void TsuiEdit::Render(framework::Canvas &canvas) {
  canvas.SetPenColor(framework::ColorToRGB(m_borderColor));
  canvas.FrameRect({0, 0, width(), height()});
  canvas.SetPenColor(framework::ColorToRGB(Color()));
  canvas.FrameRect({1, 1, width() - 1, height() - 1});
}

bool TsuiEdit::event(QEvent *event) {
  if (framework::HintSuppressed(*this, *event)) return true;
  if (event->type() == QEvent::ParentChange) {
    // Qt says nothing when the new parent's font differs in colour alone.
    if (ParentFont()) SetParentFont(true);
    if (ParentColor()) applyColor();
  }
  return Rendered::event(event);
}

void TsuiEdit::changeEvent(QEvent *event) {
  Rendered::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    if (ParentFont()) m_font = framework::FontDescOf(*this);
    applyFont();
  }
  if (event->type() == QEvent::PaletteChange && ParentColor()) applyColor();
}

void TsuiEdit::keyPressEvent(QKeyEvent *event) {
  int key = event->key();
  if (m_onKeyDown) {
    m_onKeyDown(this, key, event->modifiers());
    if (key == 0) return event->accept();
  }
  if (!event->text().isEmpty() && m_onKeyPress) {
    QChar typed = event->text().at(0);
    m_onKeyPress(this, typed);
    if (typed.isNull()) return event->accept();
    if (typed != event->text().at(0)) {
      QKeyEvent changed(event->type(), event->key(), event->modifiers(), QString(typed),
                        event->isAutoRepeat(), event->count());
      Rendered::keyPressEvent(&changed);
      return event->setAccepted(changed.isAccepted());
    }
  }
  Rendered::keyPressEvent(event);
}

void TsuiEdit::keyReleaseEvent(QKeyEvent *event) {
  int key = event->key();
  if (m_onKeyUp) {
    m_onKeyUp(this, key, event->modifiers());
    if (key == 0) return event->accept();
  }
  Rendered::keyReleaseEvent(event);
}

void TsuiEdit::mousePressEvent(QMouseEvent *event) {
  Rendered::mousePressEvent(event);
  m_clickPending = event->button() == Qt::LeftButton;
  const QPoint at = event->position().toPoint();
  if (m_onMouseDown) m_onMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TsuiEdit::mouseReleaseEvent(QMouseEvent *event) {
  Rendered::mouseReleaseEvent(event);
  const QPoint at = event->position().toPoint();
  const bool click = m_clickPending && event->button() == Qt::LeftButton && rect().contains(at);
  m_clickPending = false;
  const QPointer<TsuiEdit> self(this);
  if (click && m_onClick) m_onClick(this);
  if (self && m_onMouseUp) m_onMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TsuiEdit::mouseMoveEvent(QMouseEvent *event) {
  Rendered::mouseMoveEvent(event);
  const QPoint at = event->position().toPoint();
  if (m_onMouseMove) m_onMouseMove(this, event->modifiers(), at.x(), at.y());
}

void TsuiEdit::mouseDoubleClickEvent(QMouseEvent *event) {
  Rendered::mouseDoubleClickEvent(event);
  if (m_onDblClick) m_onDblClick(this);
}

void TsuiEdit::focusInEvent(QFocusEvent *event) {
  Rendered::focusInEvent(event);
  // A click places the cursor; reaching the box otherwise selects its text, if asked to.
  if (event->reason() != Qt::MouseFocusReason) {
    if (m_autoSelect)
      selectAll();
    else
      deselect();
  }
  if (m_onEnter) m_onEnter(this);
}

void TsuiEdit::focusOutEvent(QFocusEvent *event) {
  Rendered::focusOutEvent(event);
  if (m_onExit) m_onExit(this);
}

} // namespace skin
