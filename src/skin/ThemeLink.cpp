#include "skin/ThemeLink.h"

namespace skin {

ThemeLink::ThemeLink(QObject &control, std::function<void()> restyle)
    : m_control(control), m_restyle(std::move(restyle)) {}

ThemeLink::~ThemeLink() {
  QObject::disconnect(m_reapplied);
  QObject::disconnect(m_gone);
}

void ThemeLink::Set(TsuiFileTheme *theme) {
  QObject::disconnect(m_reapplied);
  QObject::disconnect(m_gone);
  m_theme = theme;
  if (!theme) return;
  m_reapplied =
      QObject::connect(theme, &TsuiFileTheme::Reapply, &m_control, [this] { m_restyle(); });
  // By the time this is heard the pointer reads null, so the style reads fall back.
  m_gone = QObject::connect(theme, &QObject::destroyed, &m_control, [this] { m_restyle(); });
}

} // namespace skin
