#pragma once

#include "receiver/Notifications.h"

#include <QString>

#include <functional>

namespace platform {
class TrayBinding;
}
namespace receiver {
class Languages;
}

namespace app {

class TraceWriter;

// Tells the user on the desktop, in the window's language: through the desktop's notification
// service, or the tray icon's message where there is none. Each notification is traced.
class DesktopNotifier final : public receiver::NotificationPort {
public:
  // Sends to the notification service; false when there is none.
  using DesktopSender = std::function<bool(const QString &title, const QString &body)>;

  // `tray` and `trace` may be null; everything given must outlive this.
  DesktopNotifier(const receiver::Languages &languages, DesktopSender desktop,
                  platform::TrayBinding *tray, TraceWriter *trace);

  void Notify(const receiver::Notification &notification) override;

  // The trace's name of a kind.
  static QString KindName(receiver::NotificationKind kind);

private:
  const receiver::Languages &m_languages;
  DesktopSender m_desktop;
  platform::TrayBinding *m_tray;
  TraceWriter *m_trace;
};

} // namespace app
