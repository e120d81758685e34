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
constexpr Texts LeftUnknown = {u"Battery time left: not known yet", u"電池剩餘時間：尚無法得知",
                               u"电池剩余时间：尚无法得知"};
constexpr Texts LeftUnderADay = {u"Battery: less than a day left", u"電池：剩不到一天",
                                 u"电池：剩不到一天"};
constexpr Texts LeftDay = {u"Battery: about 1 day left", u"電池：約剩 1 天", u"电池：约剩 1 天"};
constexpr Texts LeftDays = {u"Battery: about %1 days left", u"電池：約剩 %1 天",
                            u"电池：约剩 %1 天"};
constexpr Texts LeftWeeks = {u"Battery: about %1 weeks left", u"電池：約剩 %1 週",
                             u"电池：约剩 %1 周"};
constexpr Texts LeftMonths = {u"Battery: about %1 months left", u"電池：約剩 %1 個月",
                              u"电池：约剩 %1 个月"};
constexpr std::int64_t Day = 86400;
constexpr std::int64_t Week = 7 * Day;
constexpr std::int64_t Month = 30 * Day;
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

QString TimeLeftLine(const std::optional<std::int64_t> &secondsLeft, TLngID language) {
  if (!secondsLeft) return Pick(LeftUnknown, language);
  const std::int64_t left = *secondsLeft;
  const auto rounded = [left](std::int64_t unit) { return (left + unit / 2) / unit; };
  if (left < Day) return Pick(LeftUnderADay, language);
  if (left < 2 * Week) {
    const std::int64_t days = rounded(Day);
    return days == 1 ? Pick(LeftDay, language) : Pick(LeftDays, language).arg(days);
  }
  if (left < 2 * Month) return Pick(LeftWeeks, language).arg(rounded(Week));
  return Pick(LeftMonths, language).arg(rounded(Month));
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
  if (!readouts.TimeLeft.isEmpty()) tip += QLatin1Char('\n') + readouts.TimeLeft;
  return tip;
}

} // namespace app
