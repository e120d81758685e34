#include "widgets/aa/TCnAAEffect.h"

#include <QSettings>

#include <algorithm>
#include <limits>
#include <optional>

// The file is outside input: a value that is not a plain number or Boolean is ignored, numbers
// are brought into their ranges.

namespace widgets::aa {

namespace {

QString Key(const QString &section, const char *name) {
  return section + QLatin1Char('/') + QLatin1String(name);
}

// Values written in this session are still typed; values from the file are text.
bool IsPlain(const QVariant &value) {
  switch (value.typeId()) {
  case QMetaType::QString:
  case QMetaType::Int:
  case QMetaType::UInt:
  case QMetaType::LongLong:
  case QMetaType::Bool:
    return true;
  default:
    return false;
  }
}

std::optional<long long> ReadNumber(const QSettings &ini, const QString &key) {
  const QVariant value = ini.value(key);
  // A list ("1,2") or a typed value ("@Variant(...)") is not a number.
  if (!value.isValid() || !IsPlain(value) || value.typeId() == QMetaType::Bool) return std::nullopt;
  bool ok = false;
  const long long number = value.toString().trimmed().toLongLong(&ok);
  if (!ok) return std::nullopt;
  return number;
}

std::optional<int> ReadInt(const QSettings &ini, const QString &key) {
  const auto number = ReadNumber(ini, key);
  if (!number) return std::nullopt;
  return static_cast<int>(std::clamp<long long>(*number, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

std::optional<bool> ReadBool(const QSettings &ini, const QString &key) {
  const QVariant value = ini.value(key);
  if (!value.isValid() || !IsPlain(value)) return std::nullopt;
  if (value.typeId() == QMetaType::Bool) return value.toBool();
  const QString text = value.toString().trimmed().toLower();
  if (text == QLatin1String("true")) return true;
  if (text == QLatin1String("false")) return false;
  if (const auto number = ReadNumber(ini, key)) return *number != 0;
  return std::nullopt;
}

// Colours are stored as signed 32-bit numbers, so a system colour reads back negative.
std::optional<framework::TColor> ReadColor(const QSettings &ini, const QString &key) {
  const auto number = ReadNumber(ini, key);
  if (!number || *number < std::numeric_limits<std::int32_t>::min() ||
      *number > std::numeric_limits<std::uint32_t>::max())
    return std::nullopt;
  return static_cast<framework::TColor>(static_cast<std::uint32_t>(*number));
}

int ColorNumber(framework::TColor color) {
  return static_cast<std::int32_t>(color);
}

} // namespace

void TCnAAEffect::SaveToIni(QSettings &ini, const QString &section) const {
  const auto put = [&](const char *name, const QVariant &value) {
    ini.setValue(Key(section, name), value);
  };
  put("Alpha", m_alpha);
  put("Blur", m_blur);
  put("Noise", m_noise);
  put("Spray", m_spray);
  put("Angle", m_angle);
  put("Outline", m_outline);
  put("HorzMirror", m_horzMirror);
  put("VertMirror", m_vertMirror);
  put("Shadow", m_shadow.Enabled());
  put("ShadowAlpha", m_shadow.Alpha());
  put("ShadowBlur", m_shadow.Blur());
  put("ShadowColor", ColorNumber(m_shadow.Color()));
  put("ShadowOffsetX", m_shadow.OffsetX());
  put("ShadowOffsetY", m_shadow.OffsetY());
  put("Gradual", m_gradual.Enabled());
  put("GradualStartColor", ColorNumber(m_gradual.StartColor()));
  put("GradualEndColor", ColorNumber(m_gradual.EndColor()));
  put("GradualStyle", static_cast<int>(m_gradual.Style()));
  put("Texture", m_texture.Enabled());
  put("TextureMode", static_cast<int>(m_texture.Mode()));
}

void TCnAAEffect::LoadFromIni(const QSettings &ini, const QString &section) {
  const auto integer = [&](const char *name, auto set) {
    if (const auto v = ReadInt(ini, Key(section, name))) set(*v);
  };
  const auto boolean = [&](const char *name, auto set) {
    if (const auto v = ReadBool(ini, Key(section, name))) set(*v);
  };
  const auto color = [&](const char *name, auto set) {
    if (const auto v = ReadColor(ini, Key(section, name))) set(*v);
  };
  integer("Alpha", [this](int v) { SetAlpha(v); });
  integer("Blur", [this](int v) { SetBlur(v); });
  integer("Noise", [this](int v) { SetNoise(static_cast<std::uint8_t>(std::clamp(v, 0, 255))); });
  integer("Spray", [this](int v) { SetSpray(v); });
  integer("Angle", [this](int v) { SetAngle(v); });
  boolean("Outline", [this](bool v) { SetOutline(v); });
  boolean("HorzMirror", [this](bool v) { SetHorzMirror(v); });
  boolean("VertMirror", [this](bool v) { SetVertMirror(v); });
  boolean("Shadow", [this](bool v) { m_shadow.SetEnabled(v); });
  integer("ShadowAlpha", [this](int v) { m_shadow.SetAlpha(v); });
  integer("ShadowBlur", [this](int v) { m_shadow.SetBlur(v); });
  color("ShadowColor", [this](framework::TColor v) { m_shadow.SetColor(v); });
  integer("ShadowOffsetX", [this](int v) { m_shadow.SetOffsetX(v); });
  integer("ShadowOffsetY", [this](int v) { m_shadow.SetOffsetY(v); });
  boolean("Gradual", [this](bool v) { m_gradual.SetEnabled(v); });
  color("GradualStartColor", [this](framework::TColor v) { m_gradual.SetStartColor(v); });
  color("GradualEndColor", [this](framework::TColor v) { m_gradual.SetEndColor(v); });
  integer("GradualStyle", [this](int v) {
    m_gradual.SetStyle(static_cast<TGradualStyle>(v < 0 || v > MaxGradualStyle ? 0 : v));
  });
  boolean("Texture", [this](bool v) { m_texture.SetEnabled(v); });
  integer("TextureMode", [this](int v) {
    m_texture.SetMode(static_cast<TTextureMode>(v < 0 || v > MaxTextureMode ? 0 : v));
  });
}

} // namespace widgets::aa
