#include "app/DesktopTexts.h"

#include "platform/TextDecoding.h"

#include <QStringList>

#include <array>

namespace app {
namespace {

using receiver::TLngID;

// One text per language, in TLngID order.
using Texts = std::array<const char16_t *, 3>;

QString pick(const Texts &texts, TLngID language) {
  return QString::fromUtf16(texts[static_cast<std::size_t>(language)]);
}

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

// The window's own word for CPI in that language, without the padding the box needs.
QString cpiWord(TLngID language) {
  const receiver::TTerm &term = receiver::Terms[static_cast<std::size_t>(receiver::TermId::tmCPI)];
  return platform::DecodeText(term.Texts[static_cast<std::size_t>(language)],
                              receiver::LanguageCodePage(language))
      .trimmed();
}

} // namespace

NotificationText NotificationFor(const receiver::Notification &notification, TLngID language) {
  switch (notification.Kind) {
  case receiver::NotificationKind::BatteryLow:
    return {pick(LowTitle, language), pick(LowBody, language).arg(notification.Percent)};
  case receiver::NotificationKind::MouseBound:
    return {pick(BoundTitle, language), pick(BoundBody, language)};
  }
  return {};
}

QString TrayTip(TLngID language, bool connected, const TipReadouts &readouts) {
  QString tip = QLatin1String(TrayTipTitle);
  if (!connected) return tip;
  QStringList parts;
  const QString battery = readouts.Battery.trimmed();
  if (!battery.isEmpty()) parts << pick(BatteryWord, language) + QLatin1Char(' ') + battery;
  const QString cpi = readouts.Cpi.trimmed();
  if (!cpi.isEmpty()) parts << cpiWord(language) + QLatin1Char(' ') + cpi;
  if (!parts.isEmpty()) tip += QLatin1Char('\n') + parts.join(pick(Separator, language));
  return tip;
}

} // namespace app
