#include "platform/HostMenuRequests.h"

namespace platform {

bool TakeOverHostMenuRequests(QMenu &, std::function<void(QPoint)>) {
  // The notification area reports right clicks itself; Qt pops no menu of its own there.
  return false;
}

bool HostDrawsTheMenu(QSystemTrayIcon &, QMenu &) {
  // Qt would show the menu as a native one, in the system's look: the skinned one pops instead.
  return false;
}

} // namespace platform
