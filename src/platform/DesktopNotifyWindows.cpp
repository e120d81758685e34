#include "platform/DesktopNotify.h"

namespace platform {

NotificationSender DesktopNotificationSender(const QString &) {
  // The notification area's balloon is Windows' own way to tell the user.
  return {};
}

} // namespace platform
