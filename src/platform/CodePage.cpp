#include "platform/CodePage.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace platform {

namespace {

bool same(std::string_view a, std::string_view b) {
  return std::ranges::equal(
      a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

int CodePageForLocale(std::string_view locale) {
  // The codeset and modifier ("zh_TW.UTF-8@stroke") say nothing of the language.
  locale = locale.substr(0, std::min(locale.find('.'), locale.find('@')));
  std::vector<std::string_view> parts;
  for (std::size_t start = 0; start <= locale.size();) {
    const std::size_t end = std::min(locale.find_first_of("_-", start), locale.size());
    parts.push_back(locale.substr(start, end - start));
    start = end + 1;
  }
  const std::string_view language = parts.front();
  if (same(language, "ja")) return 932;
  if (same(language, "ko")) return 949;
  if (!same(language, "zh")) return 1252;
  const auto has = [&](std::string_view tag) {
    return std::ranges::any_of(parts.begin() + 1, parts.end(),
                               [&](std::string_view part) { return same(part, tag); });
  };
  if (has("Hans")) return 936;
  if (has("Hant") || has("TW") || has("HK") || has("MO")) return 950;
  return 936;
}

} // namespace platform
