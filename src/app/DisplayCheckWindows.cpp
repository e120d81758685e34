#include "app/DisplayCheck.h"

#include <windows.h>

namespace app {

std::optional<std::string> MissingDisplay() {
  // A service or a session without a desktop has a window station that cannot show anything.
  USEROBJECTFLAGS flags = {};
  const HWINSTA station = ::GetProcessWindowStation();
  if (station && ::GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr) &&
      (flags.dwFlags & WSF_VISIBLE) == 0)
    return "no desktop to show the window on (a service's session); --list works without one";
  return std::nullopt;
}

} // namespace app
