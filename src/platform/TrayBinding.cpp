#include "platform/TrayBinding.h"

#include "platform/HeadlessTrayBinding.h"
#include "platform/QtTrayBinding.h"

#include <QGuiApplication>

namespace platform {

std::unique_ptr<TrayBinding> createTrayBinding() {
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
    return std::make_unique<HeadlessTrayBinding>();
  return std::make_unique<QtTrayBinding>();
}

} // namespace platform
