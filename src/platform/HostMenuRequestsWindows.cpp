#include "platform/HostMenuRequests.h"

namespace platform {

bool TakeOverHostMenuRequests(QMenu &, std::function<void(QPoint)>) {
  // The notification area reports right clicks itself; Qt pops no menu of its own there.
  return false;
}

} // namespace platform
