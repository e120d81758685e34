#pragma once

#include <QApplication>
#include <QFont>

namespace app {

// The application's font for a while: what widgets made meanwhile lay out in before their own
// font is set. The old font comes back at the end of the scope.
class ScopedApplicationFont {
public:
  explicit ScopedApplicationFont(const QFont &font) : m_old(QApplication::font()) {
    QApplication::setFont(font);
  }
  ~ScopedApplicationFont() { QApplication::setFont(m_old); }
  ScopedApplicationFont(const ScopedApplicationFont &) = delete;
  ScopedApplicationFont &operator=(const ScopedApplicationFont &) = delete;

private:
  const QFont m_old;
};

} // namespace app
