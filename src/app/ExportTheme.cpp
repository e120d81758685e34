#include "app/ExportTheme.h"

#include "app/Messages.h"
#include "platform/settings/SettingsFile.h"
#include "skin/StyleTheme.h"
#include "skin/theme/ThemeFile.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <string_view>

#include <sys/stat.h>

namespace app {

int WriteWholeFile(const std::string &path, std::span<const std::uint8_t> bytes,
                   std::ostream &err) {
  const std::string shown = ShownPath(QString::fromStdString(path)).toStdString();
  struct stat st {};
  const bool existed = ::stat(path.c_str(), &st) == 0;
  if (existed && !S_ISREG(st.st_mode)) {
    err << ProgramName << ": cannot write " << shown << ": not a regular file\n";
    return 1;
  }
  errno = 0;
  const std::string_view text(reinterpret_cast<const char *>(bytes.data()), bytes.size());
  bool written = platform::ReplaceSettingsFile(path, text);
  // The replacement keeps an old file's permissions but makes a new one private; a theme is
  // meant to be shared, so a new one gets what the user's mask allows.
  if (written && !existed) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    written = ::chmod(path.c_str(), 0666 & ~mask) == 0;
  }
  if (!written) {
    const int error = errno;
    err << ProgramName << ": cannot write " << shown;
    if (error != 0) err << ": " << std::strerror(error);
    err << '\n';
    return 1;
  }
  return 0;
}

int RunExportTheme(const Options &options, std::ostream &err) {
  const auto file = skin::theme::WriteThemeFile(skin::BuiltInStyleTheme(options.ExportStyle));
  if (!file) {
    // The built-in tables are ours: this is a fault of the program, not of the user.
    err << ProgramName << ": the style cannot be written as a theme file\n";
    return 1;
  }
  return WriteWholeFile(*options.ExportTheme, *file, err);
}

} // namespace app
