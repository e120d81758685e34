#include "app/BatteryInIcon.h"

#include "app/DesktopTexts.h"

namespace app {
namespace {

constexpr LanguageTexts Caption = {u"&Battery in icon", u"圖示顯示電量", u"图标显示电量"};

} // namespace

bool LoadBatteryInIcon(platform::SettingsStore &settings) {
  return settings.ReadString(receiver::Languages::RegistryKey, BatteryInIconValue) == "1";
}

bool SaveBatteryInIcon(platform::SettingsStore &settings, bool on) {
  return settings.WriteString(receiver::Languages::RegistryKey, BatteryInIconValue, on ? "1" : "0");
}

QString BatteryInIconCaption(receiver::TLngID language) {
  return Pick(Caption, language);
}

} // namespace app
