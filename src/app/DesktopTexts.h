#pragma once

#include "receiver/Languages.h"
#include "receiver/Notifications.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace app {

// One text per language, in TLngID order.
using LanguageTexts = std::array<const char16_t *, 3>;
QString Pick(const LanguageTexts &texts, receiver::TLngID language);

// A term of the window in `language`, without the padding its box needs.
QString WindowTerm(receiver::TermId id, receiver::TLngID language);
// The CPI box's setting ("HIGH", "LOW", in any language) in `language`. The box keeps the
// language of its last reading until the next one; what we say speaks the current one at once.
QString CpiSetting(const QString &shown, receiver::TLngID language);

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
  QString TimeLeft; // TimeLeftLine's, or empty without a battery history
};

// The battery history's line of the tip: "Battery: about 3 weeks left", rounded to days under
// two weeks, weeks under two months, months beyond; "not known yet" without an estimate.
QString TimeLeftLine(const std::optional<std::int64_t> &secondsLeft, receiver::TLngID language);

inline constexpr const char *TrayTipTitle = "Tarnovel v1.0";

// The tray icon's tip: its title, then, while a receiver is connected, a second line with the
// readouts known so far and a third with the battery's time left, in `language`.
QString TrayTip(receiver::TLngID language, bool connected, const TipReadouts &readouts);

} // namespace app
