#pragma once

#include "receiver/Languages.h"

#include <QString>

namespace widgets::chart {

// The battery history's words in each language.
QString HistoryTitle(receiver::TLngID language);
// The tray menu item that opens the history, with its accelerator where the language has one.
QString HistoryMenuCaption(receiver::TLngID language);
QString NoHistoryText(receiver::TLngID language);

// Time axis labels; `month` 1..12, `day` 1..31.
QString HourLabel(int hour);
QString DayLabel(int month, int day, receiver::TLngID language);
QString MonthLabel(int month, receiver::TLngID language);
QString YearLabel(std::int64_t year, receiver::TLngID language);

} // namespace widgets::chart
