#include "app/DesktopNotifier.h"

#include "app/DesktopTexts.h"
#include "app/TraceWriter.h"
#include "platform/TrayBinding.h"
#include "receiver/Languages.h"

namespace app {

DesktopNotifier::DesktopNotifier(const receiver::Languages &languages, DesktopSender desktop,
                                 platform::TrayBinding *tray, TraceWriter *trace)
    : m_languages(languages), m_desktop(std::move(desktop)), m_tray(tray), m_trace(trace) {}

QString DesktopNotifier::KindName(receiver::NotificationKind kind) {
  switch (kind) {
  case receiver::NotificationKind::BatteryLow:
    return QStringLiteral("battery_low");
  case receiver::NotificationKind::MouseBound:
    return QStringLiteral("paired");
  }
  return QString();
}

void DesktopNotifier::Notify(const receiver::Notification &notification) {
  const NotificationText text = NotificationFor(notification, m_languages.Language());
  const QString kind = KindName(notification.Kind);
  if (!m_desktop) {
    ShowInTray(kind, text.Title, text.Body);
    return;
  }
  m_desktop(text.Title, text.Body,
            [this, alive = std::weak_ptr<const bool>(m_alive), kind, text](bool shown) {
              if (alive.expired()) return;
              if (shown)
                Trace(kind, text.Title, text.Body, QStringLiteral("desktop"));
              else
                ShowInTray(kind, text.Title, text.Body);
            });
}

void DesktopNotifier::ShowInTray(const QString &kind, const QString &title, const QString &body) {
  const bool shown = m_tray && m_tray->showMessage(title, body);
  Trace(kind, title, body, shown ? QStringLiteral("tray") : QStringLiteral("none"));
}

void DesktopNotifier::Trace(const QString &kind, const QString &title, const QString &body,
                            const QString &via) {
  if (m_trace) m_trace->Notification(kind, title, body, via);
}

} // namespace app
