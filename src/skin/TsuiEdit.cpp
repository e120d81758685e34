#include "skin/TsuiEdit.h"

#include "skin/DefaultStyle.h"
#include "skin/style/StyleReads.h"

namespace skin {

TsuiEdit::TsuiEdit(QWidget *parent) : Rendered(parent) {
  setFrame(false);
  setAutoFillBackground(true);
  setTextMargins(2, 2, 2, 2);
  SetColor(framework::clWindow);
  SetUIStyle(DefaultStyle(parent));
}

void TsuiEdit::SetUIStyle(TsuiUIStyle value) {
  m_uiStyle = value;
  m_borderColor = style::StyleReader(nullptr, value).Color(style::StyleEntry::ControlBorderColor);
  Invalidate();
}

void TsuiEdit::SetBorderColor(framework::TColor value) {
  m_borderColor = value;
  Invalidate();
}

void TsuiEdit::SetColor(framework::TColor value) {
  m_color = value;
  QPalette p = palette();
  p.setColor(QPalette::Base, framework::ToQColor(value));
  setPalette(p);
  Invalidate();
}

void TsuiEdit::SetFont(const framework::FontDesc &value) {
  m_font = value;
  setFont(framework::MakeFont(value));
  QPalette p = palette();
  p.setColor(QPalette::Text, framework::ToQColor(value.Color));
  setPalette(p);
}

void TsuiEdit::Render(framework::Canvas &canvas) {
  canvas.SetPenColor(m_borderColor);
  canvas.FrameRect({0, 0, width(), height()});
  canvas.SetPenColor(m_color);
  canvas.FrameRect({1, 1, width() - 1, height() - 1});
}

} // namespace skin
