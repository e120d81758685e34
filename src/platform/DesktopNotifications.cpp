#include "platform/DesktopNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace platform {

DesktopNotifications::DesktopNotifications(QDBusConnection bus, int replyMilliseconds)
    : m_bus(std::move(bus)), m_replyMilliseconds(replyMilliseconds) {}

QDBusConnection &DesktopNotifications::bus() {
  if (!m_bus) m_bus = QDBusConnection::sessionBus();
  return *m_bus;
}

void DesktopNotifications::Send(const QString &title, const QString &body, const QString &iconName,
                                Shown shown) {
  if (!bus().isConnected()) {
    shown(false);
    return;
  }
  QDBusMessage call =
      QDBusMessage::createMethodCall(QLatin1String(Service), QLatin1String(Path),
                                     QLatin1String(Service), QStringLiteral("Notify"));
  QVariantMap hints;
  hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("quelvane"));
  call << QStringLiteral("Quelvane") << 0u << iconName << title << body << QStringList() << hints
       << -1;
  // Most notification daemons are started by the bus on the first call; without one the bus
  // answers with an error at once.
  call.setAutoStartService(true);
  auto *const watcher =
      new QDBusPendingCallWatcher(m_bus->asyncCall(call, m_replyMilliseconds), &m_waiting);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                   [shown = std::move(shown)](QDBusPendingCallWatcher *finished) {
                     finished->deleteLater();
                     // The answer is the notification's id, of no use to us.
                     const QDBusPendingReply<uint> reply = *finished;
                     shown(!reply.isError());
                   });
}

} // namespace platform
