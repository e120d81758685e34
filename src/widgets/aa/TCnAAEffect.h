#pragma once

#include "framework/Colors.h"
#include "widgets/aa/AATypes.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>

class QSettings;

namespace widgets::aa {

// A settings object that reports every real change to its owner. Not copyable: its owner holds
// it in place; Assign copies the settings.
class TCnNotifyClass {
public:
  using ChangeHandler = std::function<void()>;

  TCnNotifyClass() = default;
  TCnNotifyClass(const TCnNotifyClass &) = delete;
  TCnNotifyClass &operator=(const TCnNotifyClass &) = delete;
  virtual ~TCnNotifyClass() = default;

  void SetOnChanged(ChangeHandler handler) { m_onChanged = std::move(handler); }

protected:
  virtual void Changed() { Report(); }
  void Report() const {
    if (m_onChanged) m_onChanged();
  }
  // Stores and reports, unless the value is unchanged.
  template <typename T> void Store(T &member, T value) {
    if (member == value) return;
    member = value;
    Changed();
  }

private:
  ChangeHandler m_onChanged;
};

// An effect that can be switched off; while off, changes to its settings stay quiet.
class TCnEnabledClass : public TCnNotifyClass {
public:
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool value);

protected:
  void Changed() override;
  bool m_enabled = false;
};

class TCnAAShadow : public TCnEnabledClass {
public:
  static constexpr int MinOffset = -20;
  static constexpr int MaxOffset = 20;

  int Blur() const { return m_blur; }
  void SetBlur(int value);
  int Alpha() const { return m_alpha; }
  void SetAlpha(int value);
  framework::TColor Color() const { return m_color; }
  void SetColor(framework::TColor value) { Store(m_color, value); }
  int OffsetX() const { return m_offsetX; }
  void SetOffsetX(int value);
  int OffsetY() const { return m_offsetY; }
  void SetOffsetY(int value);

  void Assign(const TCnAAShadow &source);

private:
  int m_blur = 80;
  int m_alpha = 70;
  framework::TColor m_color = 0x444444;
  int m_offsetX = 2;
  int m_offsetY = 2;
};

class TCnAAGradual : public TCnEnabledClass {
public:
  TGradualStyle Style() const { return m_style; }
  void SetStyle(TGradualStyle value) { Store(m_style, value); }
  framework::TColor StartColor() const { return m_startColor; }
  void SetStartColor(framework::TColor value) { Store(m_startColor, value); }
  framework::TColor EndColor() const { return m_endColor; }
  void SetEndColor(framework::TColor value) { Store(m_endColor, value); }

  void Assign(const TCnAAGradual &source);

private:
  TGradualStyle m_style = gsLeftToRight;
  framework::TColor m_startColor = 0xFFFFFF;
  framework::TColor m_endColor = 0;
};

class TCnAATexture : public TCnEnabledClass {
public:
  TTextureMode Mode() const { return m_mode; }
  void SetMode(TTextureMode value) { Store(m_mode, value); }
  const QImage &Picture() const { return m_picture; }
  // Copies the picture.
  void SetPicture(const QImage &value);

  void Assign(const TCnAATexture &source);

private:
  TTextureMode m_mode = tmTiled;
  QImage m_picture;
};

// The text effects of the engine: fill, shadow, transforms of the mask.
class TCnAAEffect : public TCnNotifyClass {
public:
  static constexpr int MaxAngle = 360;

  TCnAAEffect();

  TCnAAShadow &Shadow() { return m_shadow; }
  const TCnAAShadow &Shadow() const { return m_shadow; }
  void SetShadow(const TCnAAShadow &value);
  TCnAAGradual &Gradual() { return m_gradual; }
  const TCnAAGradual &Gradual() const { return m_gradual; }
  void SetGradual(const TCnAAGradual &value);
  TCnAATexture &Texture() { return m_texture; }
  const TCnAATexture &Texture() const { return m_texture; }
  void SetTexture(const TCnAATexture &value);

  // Percent, 0 .. 100.
  int Alpha() const { return m_alpha; }
  void SetAlpha(int value);
  // 0 .. 100.
  int Blur() const { return m_blur; }
  void SetBlur(int value);
  // Degrees, -360 .. 360, counter-clockwise.
  int Angle() const { return m_angle; }
  void SetAngle(int value);
  std::uint8_t Noise() const { return m_noise; }
  void SetNoise(std::uint8_t value) { Store(m_noise, value); }
  // Pixels, 0 .. 100.
  int Spray() const { return m_spray; }
  void SetSpray(int value);
  bool Outline() const { return m_outline; }
  void SetOutline(bool value) { Store(m_outline, value); }
  bool HorzMirror() const { return m_horzMirror; }
  void SetHorzMirror(bool value) { Store(m_horzMirror, value); }
  bool VertMirror() const { return m_vertMirror; }
  void SetVertMirror(bool value) { Store(m_vertMirror, value); }

  // Copies every setting, the shadow, gradual and texture ones included, without reporting.
  void Assign(const TCnAAEffect &source);

  // The settings under `section` of an initialisation file. Loading keeps the value of every key
  // that is missing or unreadable and brings the others into their ranges.
  void SaveToIni(QSettings &ini, const QString &section) const;
  void LoadFromIni(const QSettings &ini, const QString &section);

private:
  TCnAAShadow m_shadow;
  TCnAAGradual m_gradual;
  TCnAATexture m_texture;
  int m_alpha = 100;
  int m_blur = 0;
  int m_angle = 0;
  std::uint8_t m_noise = 0;
  int m_spray = 0;
  bool m_outline = false;
  bool m_horzMirror = false;
  bool m_vertMirror = false;
};

} // namespace widgets::aa
