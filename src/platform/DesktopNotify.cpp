#include "platform/DesktopNotify.h"

#include "platform/DesktopNotifications.h"

#include <memory>

namespace platform {

NotificationSender DesktopNotificationSender(const QString &iconName) {
  // Shared by the sender's copies: calls still waiting are dropped with the last one.
  auto notifications = std::make_shared<DesktopNotifications>();
  return [notifications, iconName](const QString &title, const QString &body,
                                   NotificationShown shown) {
    notifications->Send(title, body, iconName, std::move(shown));
  };
}

} // namespace platform
