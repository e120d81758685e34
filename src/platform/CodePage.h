#pragma once

#include <string_view>

namespace platform {

// The system's ANSI code page as Windows would report it, derived on Linux from the locale the
// process runs in (LC_ALL, then LC_CTYPE, then LANG).
int AnsiCodePage();

// The code page for one locale name such as "zh_TW.UTF-8"; 1252 for anything not listed.
int CodePageForLocale(std::string_view locale);

} // namespace platform
