#pragma once

#include <string_view>

namespace platform {

// The system's ANSI code page: GetACP() on Windows; on Linux derived from the user's interface
// language as Qt reads it (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG).
int AnsiCodePage();

// The code page for one language or locale name, in either spelling: "zh_TW.UTF-8",
// "zh-Hant-HK", "ja". Traditional Chinese (Taiwan, Hong Kong, Macao, or the Hant script) is 950,
// other Chinese 936, Japanese 932, Korean 949, anything else 1252.
int CodePageForLocale(std::string_view locale);

} // namespace platform
