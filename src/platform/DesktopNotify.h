#pragma once

#include <QString>

#include <functional>

namespace platform {

// Whether the desktop took a notification; may be called later, from the event loop.
using NotificationShown = std::function<void(bool shown)>;
using NotificationSender =
    std::function<void(const QString &title, const QString &body, NotificationShown shown)>;

// Sends to the desktop's own notification service, with `iconName`, for as long as a copy of
// the sender lives. Empty where the tray icon's balloon is the desktop's way (Windows).
NotificationSender DesktopNotificationSender(const QString &iconName);

} // namespace platform
