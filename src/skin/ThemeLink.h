#pragma once

#include "skin/TsuiFileTheme.h"

#include <QPointer>

#include <functional>

namespace skin {

// The theme file a control names in FileTheme. The control applies its style again when the
// theme loads another file. When the theme goes away the link reads as no theme and `gone` runs:
// the control falls back to DeepBlue, its style included.
class ThemeLink {
public:
  ThemeLink(QObject &control, std::function<void()> restyle, std::function<void()> gone);
  ~ThemeLink();
  ThemeLink(const ThemeLink &) = delete;
  ThemeLink &operator=(const ThemeLink &) = delete;

  TsuiFileTheme *Theme() const { return m_theme; }
  // Names `theme` (may be null) without restyling; the caller does that.
  void Set(TsuiFileTheme *theme);

private:
  QObject &m_control;
  std::function<void()> m_restyle;
  std::function<void()> m_gone;
  QPointer<TsuiFileTheme> m_theme;
  QMetaObject::Connection m_reapplied;
  QMetaObject::Connection m_goneConnection;
};

} // namespace skin
