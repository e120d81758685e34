#pragma once

#include <QDBusConnection>
#include <QString>

#include <optional>

namespace platform {

// The desktop's notification service (org.freedesktop.Notifications) on a bus, the session bus
// by default. Calls never wait for the service's answer: they may come from inside the receiver's
// handlers, which must not stall on a slow notification daemon.
class DesktopNotifications {
public:
  static constexpr const char *Service = "org.freedesktop.Notifications";
  static constexpr const char *Path = "/org/freedesktop/Notifications";

  // The session bus, connected at the first notification rather than at start-up.
  DesktopNotifications() = default;
  explicit DesktopNotifications(QDBusConnection bus);

  // False, and nothing sent, when the bus has no notification service running or ready to be
  // started: the caller then tells the user another way.
  bool Send(const QString &title, const QString &body, const QString &iconName);

private:
  QDBusConnection &bus();
  bool ServiceReachable();

  std::optional<QDBusConnection> m_bus;
};

} // namespace platform
