#include "app/DesktopTexts.h"

#include "platform/TextDecoding.h"

#include <QStringList>

namespace app {
namespace {

using receiver::TLngID;

using Texts = LanguageTexts;

constexpr Texts LowTitle = {u"Mouse battery low", u"滑鼠電量不足", u"鼠标电量不足"};
constexpr Texts LowBody = {u"The mouse's battery is at %1%. Charge or replace it soon.",
                           u"滑鼠電池剩餘 %1%，請盡快充電或更換。",
                           u"鼠标电池剩余 %1%，请尽快充电或更换。"};
constexpr Texts BoundTitle = {u"New mouse paired", u"已配對新滑鼠", u"已配对新鼠标"};
constexpr Texts BoundBody = {u"The receiver is now paired with a new mouse.",
                             u"接收器已與新滑鼠完成配對。", u"接收器已与新鼠标完成配对。"};
constexpr Texts BatteryWord = {u"Battery", u"電量", u"电量"};
// Between the two readouts: the Chinese texts use the full-width comma.
constexpr Texts Separator = {u", ", u"，", u"，"};

} // namespace

QString Pick(const LanguageTexts &texts, TLngID language) {
  return QString::fromUtf16(texts[static_cast<std::size_t>(language)]);
}

QString WindowTerm(receiver::TermId id, TLngID language) {
  const receiver::TTerm &t = receiver::Terms[static_cast<std::size_t>(id)];
  return platform::DecodeText(t.Texts[static_cast<std::size_t>(language)],
                              receiver::LanguageCodePage(language))
      .trimmed();
}

QString CpiSetting(const QString &shown, TLngID language) {
  const QString trimmed = shown.trimmed();
  for (const receiver::TermId id : {receiver::TermId::tmHigh, receiver::TermId::tmLow})
    for (const TLngID written : receiver::AllLanguages)
      if (trimmed == WindowTerm(id, written)) return WindowTerm(id, language);
  return trimmed;
}

NotificationText NotificationFor(const receiver::Notification &notification, TLngID language) {
  switch (notification.Kind) {
  case receiver::NotificationKind::BatteryLow:
    return {Pick(LowTitle, language), Pick(LowBody, language).arg(notification.Percent)};
  case receiver::NotificationKind::MouseBound:
    return {Pick(BoundTitle, language), Pick(BoundBody, language)};
  }
  return {};
}

QString TrayTip(TLngID language, bool connected, const TipReadouts &readouts) {
  QString tip = QLatin1String(TrayTipTitle);
  if (!connected) return tip;
  QStringList parts;
  const QString battery = readouts.Battery.trimmed();
  if (!battery.isEmpty()) parts << Pick(BatteryWord, language) + QLatin1Char(' ') + battery;
  const QString cpi = readouts.Cpi.trimmed();
  if (!cpi.isEmpty())
    parts << WindowTerm(receiver::TermId::tmCPI, language) + QLatin1Char(' ') +
                 CpiSetting(cpi, language);
  if (!parts.isEmpty()) tip += QLatin1Char('\n') + parts.join(Pick(Separator, language));
  return tip;
}

} // namespace app
