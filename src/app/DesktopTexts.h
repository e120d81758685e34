#pragma once

#include "receiver/Languages.h"
#include "receiver/Notifications.h"

#include <QString>

namespace app {

struct NotificationText {
  QString Title;
  QString Body;

  bool operator==(const NotificationText &) const = default;
};

// What a notification says, in `language`.
NotificationText NotificationFor(const receiver::Notification &notification,
                                 receiver::TLngID language);

// The readouts as the window shows them: the battery label ("83%") and the CPI box ("HIGH",
// padded as the box has it); empty for one not read yet.
struct TipReadouts {
  QString Battery;
  QString Cpi;
};

inline constexpr const char *TrayTipTitle = "Tarnovel v1.0";

// The tray icon's tip: its title, then, while a receiver is connected, a second line with the
// readouts known so far, in `language`.
QString TrayTip(receiver::TLngID language, bool connected, const TipReadouts &readouts);

} // namespace app
