#include "widgets/THexEdit.h"

#include <QKeyEvent>

namespace widgets {

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
  if (!m_isFilter || typed.isEmpty()) return true;
  const ushort code = typed.at(0).unicode();
  if (code == 8) return true;
  // The low byte of the character decides, as for an 8-bit character message.
  const char low = static_cast<char>(code & 0xFF);
  return QByteArrayView("0123456789abcdefABCDEF").contains(low);
}

void THexEdit::keyPressEvent(QKeyEvent *event) {
  const QString typed = event->text();
  // Keys without a character (arrows, Delete) are not character messages and always pass.
  if (!typed.isEmpty() && event->key() != Qt::Key_Backspace && !Accepts(typed)) {
    event->accept();
    return;
  }
  TVeskEdit::keyPressEvent(event);
}

std::optional<std::int64_t> THexEdit::GetValue() const {
  const QString t = text();
  if (t.isEmpty()) return 0;
  bool ok = false;
  const qulonglong value = t.toULongLong(&ok, 16);
  if (!ok || value > 0xFFFFFFFFULL) return std::nullopt;
  return static_cast<std::int64_t>(value);
}

void THexEdit::SetValue(std::int64_t value) {
  setText(value <= 0 ? QString() : QString::number(value, 16).toUpper());
}

} // namespace widgets
