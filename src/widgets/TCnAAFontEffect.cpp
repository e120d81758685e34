#include "widgets/TCnAAFontEffect.h"

#include "widgets/TCnAAGraphicControl.h"

namespace widgets {

void TCnCustomParam::SetBackGround(const QImage &value) {
  m_backGround = value.copy();
  Changed();
}

void TCnCustomParam::Assign(const TCnCustomParam &source) {
  m_alignment = source.m_alignment;
  m_layout = source.m_layout;
  m_transparent = source.m_transparent;
  m_backGround = source.m_backGround.copy();
  m_backGroundMode = source.m_backGroundMode;
}

TAAQuality TCnAAFontEffect::Quality() const {
  return m_owner.AAFont().Mask().Quality();
}

void TCnAAFontEffect::SetQuality(TAAQuality value) {
  if (value == Quality()) return;
  m_owner.AAFont().Mask().SetQuality(value);
  Changed();
}

aa::TCnAAEffect &TCnAAFontEffect::FontEffect() {
  return m_owner.AAFont().Effect();
}

const aa::TCnAAEffect &TCnAAFontEffect::FontEffect() const {
  return m_owner.AAFont().Effect();
}

void TCnAAFontEffect::SetFontEffect(const aa::TCnAAEffect &value) {
  FontEffect().Assign(value);
  Changed();
}

TColor TCnAAFontEffect::BackColor() const {
  return m_owner.Color();
}

void TCnAAFontEffect::SetBackColor(TColor value) {
  m_owner.SetColor(value);
}

bool TCnAAFontEffect::BackColorStored() const {
  return !m_owner.ParentColor();
}

} // namespace widgets
