#include "skin/ThemeLink.h"

namespace skin {

ThemeLink::ThemeLink(QObject &control, std::function<void()> restyle, std::function<void()> gone)
    : m_control(control), m_restyle(std::move(restyle)), m_gone(std::move(gone)) {}

ThemeLink::~ThemeLink() {
  QObject::disconnect(m_reapplied);
  QObject::disconnect(m_goneConnection);
}

void ThemeLink::Set(TsuiFileTheme *theme) {
  QObject::disconnect(m_reapplied);
  QObject::disconnect(m_goneConnection);
  m_theme = theme;
  if (!theme) return;
  m_reapplied =
      QObject::connect(theme, &TsuiFileTheme::Reapply, &m_control, [this] { m_restyle(); });
  // By the time this is heard the pointer reads null, so the style reads fall back.
  m_goneConnection = QObject::connect(theme, &QObject::destroyed, &m_control, [this] { m_gone(); });
}

} // namespace skin
