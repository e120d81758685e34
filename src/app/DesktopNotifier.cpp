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
  QString via = QStringLiteral("none");
  if (m_desktop && m_desktop(text.Title, text.Body))
    via = QStringLiteral("desktop");
  else if (m_tray && m_tray->showMessage(text.Title, text.Body))
    via = QStringLiteral("tray");
  if (m_trace) m_trace->Notification(KindName(notification.Kind), text.Title, text.Body, via);
}

} // namespace app
