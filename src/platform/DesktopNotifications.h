#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace platform {

// The desktop's notification service (org.freedesktop.Notifications) on a bus, the session bus
// by default. Calls never wait for the service's answer: they may come from inside the receiver's
// handlers, which must not stall on a slow or broken notification daemon.
class DesktopNotifications {
public:
  static constexpr const char *Service = "org.freedesktop.Notifications";
  static constexpr const char *Path = "/org/freedesktop/Notifications";
  // A daemon the bus starts for the call answers well within this.
  static constexpr int ReplyMilliseconds = 5000;

  // True: the service took the notification. False: no bus, no service running or startable, an
  // error answer (a daemon that dies on start), or no answer within the reply time.
  using Shown = std::function<void(bool shown)>;

  // The session bus, connected at the first notification rather than at start-up.
  DesktopNotifications() = default;
  explicit DesktopNotifications(QDBusConnection bus, int replyMilliseconds = ReplyMilliseconds);

  // `shown` is called once: at once without a bus, otherwise from the event loop when the answer
  // comes or the reply time is over; never after this object is gone.
  void Send(const QString &title, const QString &body, const QString &iconName, Shown shown);

private:
  QDBusConnection &bus();

  std::optional<QDBusConnection> m_bus;
  int m_replyMilliseconds = ReplyMilliseconds;
  // Parent of the calls still waiting for their answer.
  QObject m_waiting;
};

} // namespace platform
