#pragma once

#include "receiver/Notifications.h"

#include <QString>

#include <functional>
#include <memory>

namespace platform {
class TrayBinding;
}
namespace receiver {
class Languages;
}

namespace app {

class TraceWriter;

// Tells the user on the desktop, in the window's language: through the desktop's notification
// service, or the tray icon's message where that service does not take it. Each notification is
// traced once its way is known.
class DesktopNotifier final : public receiver::NotificationPort {
public:
  // Whether the notification service took it; may be called later, from the event loop.
  using Shown = std::function<void(bool shown)>;
  // Sends to the notification service and calls `shown` once.
  using DesktopSender = std::function<void(const QString &title, const QString &body, Shown shown)>;

  // `tray` and `trace` may be null; everything given must outlive this.
  DesktopNotifier(const receiver::Languages &languages, DesktopSender desktop,
                  platform::TrayBinding *tray, TraceWriter *trace);

  void Notify(const receiver::Notification &notification) override;

  // The trace's name of a kind.
  static QString KindName(receiver::NotificationKind kind);

private:
  void ShowInTray(const QString &kind, const QString &title, const QString &body);
  void Trace(const QString &kind, const QString &title, const QString &body, const QString &via);

  const receiver::Languages &m_languages;
  DesktopSender m_desktop;
  platform::TrayBinding *m_tray;
  TraceWriter *m_trace;
  // An answer that comes after this object is gone is dropped.
  const std::shared_ptr<const bool> m_alive = std::make_shared<const bool>(true);
};

} // namespace app
