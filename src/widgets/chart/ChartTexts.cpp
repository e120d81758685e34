#include "widgets/chart/ChartTexts.h"

#include <array>

namespace widgets::chart {
namespace {

using receiver::TLngID;
using Texts = std::array<const char16_t *, 3>;

constexpr Texts Title = {u"Battery history", u"電量記錄", u"电量记录"};
constexpr Texts MenuCaption = {u"Battery &history", u"電量記錄", u"电量记录"};
constexpr Texts NoHistory = {u"No history yet", u"尚無記錄", u"尚无记录"};
constexpr std::array<const char *, 12> EnglishMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

QString pick(const Texts &texts, TLngID language) {
  return QString::fromUtf16(texts[static_cast<std::size_t>(language)]);
}

QString englishMonth(int month) {
  return QLatin1String(EnglishMonths[static_cast<std::size_t>((month + 11) % 12)]);
}

} // namespace

QString HistoryTitle(TLngID language) {
  return pick(Title, language);
}

QString HistoryMenuCaption(TLngID language) {
  return pick(MenuCaption, language);
}

QString NoHistoryText(TLngID language) {
  return pick(NoHistory, language);
}

QString HourLabel(int hour) {
  return QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0'));
}

QString DayLabel(int month, int day, TLngID language) {
  if (language == TLngID::Eng) return QStringLiteral("%1 %2").arg(day).arg(englishMonth(month));
  return QStringLiteral(u"%1月%2日").arg(month).arg(day);
}

QString MonthLabel(int month, TLngID language) {
  if (language == TLngID::Eng) return englishMonth(month);
  return QStringLiteral(u"%1月").arg(month);
}

QString YearLabel(std::int64_t year, TLngID language) {
  if (language == TLngID::Eng) return QString::number(year);
  return QStringLiteral(u"%1年").arg(year);
}

} // namespace widgets::chart
