#include "app/DisplayCheck.h"

#include <cstdlib>

namespace app {

std::optional<std::string> MissingDisplay() {
  const auto unset = [](const char *name) {
    const char *const value = std::getenv(name);
    return value == nullptr || *value == '\0';
  };
  if (unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY"))
    return "no display to show the window on (DISPLAY is not set); --list works without one";
  return std::nullopt;
}

} // namespace app
