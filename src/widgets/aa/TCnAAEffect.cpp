#include "widgets/aa/TCnAAEffect.h"

#include <algorithm>

namespace widgets::aa {

void TCnEnabledClass::SetEnabled(bool value) {
  if (value == m_enabled) return;
  m_enabled = value;
  // Switching itself always matters, whichever way.
  Report();
}

void TCnEnabledClass::Changed() {
  if (m_enabled) Report();
}

void TCnAAShadow::SetBlur(int value) {
  Store(m_blur, std::clamp(value, 0, 100));
}
void TCnAAShadow::SetAlpha(int value) {
  Store(m_alpha, std::clamp(value, 0, 100));
}
void TCnAAShadow::SetOffsetX(int value) {
  Store(m_offsetX, std::clamp(value, MinOffset, MaxOffset));
}
void TCnAAShadow::SetOffsetY(int value) {
  Store(m_offsetY, std::clamp(value, MinOffset, MaxOffset));
}

void TCnAAShadow::Assign(const TCnAAShadow &source) {
  m_enabled = source.m_enabled;
  m_blur = source.m_blur;
  m_alpha = source.m_alpha;
  m_color = source.m_color;
  m_offsetX = source.m_offsetX;
  m_offsetY = source.m_offsetY;
}

void TCnAAGradual::Assign(const TCnAAGradual &source) {
  m_enabled = source.m_enabled;
  m_style = source.m_style;
  m_startColor = source.m_startColor;
  m_endColor = source.m_endColor;
}

void TCnAATexture::SetPicture(const QImage &value) {
  m_picture = value.copy();
  Changed();
}

void TCnAATexture::Assign(const TCnAATexture &source) {
  m_enabled = source.m_enabled;
  m_mode = source.m_mode;
  m_picture = source.m_picture.copy();
}

TCnAAEffect::TCnAAEffect() {
  m_shadow.SetOnChanged([this] { Changed(); });
  m_gradual.SetOnChanged([this] { Changed(); });
  m_texture.SetOnChanged([this] { Changed(); });
}

void TCnAAEffect::SetShadow(const TCnAAShadow &value) {
  m_shadow.Assign(value);
  Changed();
}
void TCnAAEffect::SetGradual(const TCnAAGradual &value) {
  m_gradual.Assign(value);
  Changed();
}
void TCnAAEffect::SetTexture(const TCnAATexture &value) {
  m_texture.Assign(value);
  Changed();
}

void TCnAAEffect::SetAlpha(int value) {
  Store(m_alpha, std::clamp(value, 0, 100));
}
void TCnAAEffect::SetBlur(int value) {
  Store(m_blur, std::clamp(value, 0, 100));
}
void TCnAAEffect::SetAngle(int value) {
  Store(m_angle, std::clamp(value, -MaxAngle, MaxAngle));
}
void TCnAAEffect::SetSpray(int value) {
  Store(m_spray, std::clamp(value, 0, 100));
}

void TCnAAEffect::Assign(const TCnAAEffect &source) {
  m_alpha = source.m_alpha;
  m_blur = source.m_blur;
  m_angle = source.m_angle;
  m_noise = source.m_noise;
  m_spray = source.m_spray;
  m_outline = source.m_outline;
  m_horzMirror = source.m_horzMirror;
  m_vertMirror = source.m_vertMirror;
  m_shadow.Assign(source.m_shadow);
  m_gradual.Assign(source.m_gradual);
  m_texture.Assign(source.m_texture);
}

} // namespace widgets::aa
