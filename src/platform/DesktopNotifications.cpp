#include "platform/DesktopNotifications.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QStringList>
#include <QVariantMap>

namespace platform {

DesktopNotifications::DesktopNotifications(QDBusConnection bus) : m_bus(std::move(bus)) {}

QDBusConnection &DesktopNotifications::bus() {
  if (!m_bus) m_bus = QDBusConnection::sessionBus();
  return *m_bus;
}

bool DesktopNotifications::ServiceReachable() {
  if (!bus().isConnected()) return false;
  QDBusConnectionInterface *const daemon = m_bus->interface();
  if (daemon == nullptr) return false;
  const QString service = QLatin1String(Service);
  const QDBusReply<bool> running = daemon->isServiceRegistered(service);
  if (running.isValid() && running.value()) return true;
  // Most notification daemons are started by the bus on the first call.
  const QDBusReply<QStringList> activatable = daemon->call(QStringLiteral("ListActivatableNames"));
  return activatable.isValid() && activatable.value().contains(service);
}

bool DesktopNotifications::Send(const QString &title, const QString &body,
                                const QString &iconName) {
  if (!ServiceReachable()) return false;
  QDBusMessage call =
      QDBusMessage::createMethodCall(QLatin1String(Service), QLatin1String(Path),
                                     QLatin1String(Service), QStringLiteral("Notify"));
  QVariantMap hints;
  hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("quelvane"));
  call << QStringLiteral("Quelvane") << 0u << iconName << title << body << QStringList() << hints
       << -1;
  // The answer (the notification's id) is of no use to us.
  call.setAutoStartService(true);
  return m_bus->send(call);
}

} // namespace platform
