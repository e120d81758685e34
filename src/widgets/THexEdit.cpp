#include "widgets/THexEdit.h"

#include "framework/ConvertError.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace widgets {

namespace {

constexpr std::int64_t MaxValue = 0xFFFFFFFF;

bool IsHexDigit(QChar c) {
  return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
         (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
         (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// Keys whose text is a control character but that insert nothing in a one-line edit box: what
// they do (the window's Enter and Escape, the focus moving on, deleting) is not typing.
bool IsKeyNotCharacter(const QString &text) {
  if (text.size() != 1) return false;
  const char16_t c = text.at(0).unicode();
  return c == u'\t' || c == u'\r' || c == u'\n' || c == 0x1B || c == 0x7F;
}

} // namespace

TVeskEdit::TVeskEdit(QWidget *parent) : skin::TsuiEdit(parent) {
  SetAlignment(framework::TAlignment::taLeftJustify);
}

void TVeskEdit::SetAlignment(framework::TAlignment value) {
  m_alignment = value;
  switch (value) {
  case framework::TAlignment::taLeftJustify:
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    break;
  case framework::TAlignment::taRightJustify:
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    break;
  case framework::TAlignment::taCenter:
    setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    break;
  }
}

THexEdit::THexEdit(QWidget *parent) : TVeskEdit(parent) {}

bool THexEdit::Accepts(const QString &typed) const {
  if (!m_isFilter || typed == QString(QChar(8))) return true;
  // Whole characters decide: a letter outside ASCII is no digit, whatever its low byte.
  for (const QChar c : typed)
    if (!IsHexDigit(c)) return false;
  return true;
}

bool THexEdit::HexWndProc(QEvent *event) {
  if (event->type() == QEvent::KeyPress) {
    const auto *key = static_cast<QKeyEvent *>(event);
    if (!key->text().isEmpty() && !IsKeyNotCharacter(key->text()) && !Accepts(key->text())) {
      event->accept();
      return true;
    }
  } else if (event->type() == QEvent::InputMethod) {
    // Characters composed through an input method are typed too.
    const auto *input = static_cast<QInputMethodEvent *>(event);
    if (!input->commitString().isEmpty() && !Accepts(input->commitString())) {
      event->accept();
      return true;
    }
  }
  return OldWndProc(event);
}

std::int64_t THexEdit::GetValue() const {
  const QString t = text();
  std::int64_t value = 0;
  for (const QChar c : t) {
    if (!IsHexDigit(c))
      throw framework::EConvertError("'" + t.toStdString() + "' is not a valid integer value");
    value = value * 16 + QStringView(&c, 1).toInt(nullptr, 16);
    if (value > MaxValue)
      throw framework::EConvertError("'" + t.toStdString() + "' is not a valid integer value");
  }
  return value;
}

void THexEdit::SetValue(std::int64_t value) {
  SetText(value <= 0 ? QString() : QString::number(value, 16).toUpper());
}

} // namespace widgets
