#pragma once

#include "platform/settings/SettingsStore.h"
#include "receiver/Languages.h"

#include <QString>

namespace app {

// Whether the tray icon shows the battery: a value of its own beside the language's, "1" for on
// and "0" for off.
inline constexpr const char *BatteryInIconValue = "BatteryInIcon";

// Off when the value is missing, unreadable or anything but "1".
bool LoadBatteryInIcon(platform::SettingsStore &settings);
// False when the store refused the write; the menu item keeps the choice for this session.
bool SaveBatteryInIcon(platform::SettingsStore &settings, bool on);

// The menu item's caption in `language`.
QString BatteryInIconCaption(receiver::TLngID language);

} // namespace app
