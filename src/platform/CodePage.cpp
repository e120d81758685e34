#include "platform/CodePage.h"

#include <array>
#include <cstdlib>
#include <utility>

namespace platform {

int CodePageForLocale(std::string_view locale) {
  static constexpr std::array<std::pair<std::string_view, int>, 7> prefixes = {{
      {"zh_TW", 950},
      {"zh_HK", 950},
      {"zh_MO", 950},
      {"zh_CN", 936},
      {"zh_SG", 936},
      {"ja", 932},
      {"ko", 949},
  }};
  for (const auto &[prefix, codePage] : prefixes) {
    if (!locale.starts_with(prefix)) continue;
    // "ja" must not match "jam"; a language alone or followed by _, . or @ is the whole name.
    const std::string_view rest = locale.substr(prefix.size());
    if (rest.empty() || rest.front() == '_' || rest.front() == '.' || rest.front() == '@')
      return codePage;
  }
  return 1252;
}

int AnsiCodePage() {
  // The first non-empty variable wins, as for the C library's own LC_CTYPE lookup.
  for (const char *name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char *value = std::getenv(name);
    if (value != nullptr && *value != '\0') return CodePageForLocale(value);
  }
  return 1252;
}

} // namespace platform
