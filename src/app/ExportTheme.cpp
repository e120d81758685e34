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
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    err << ProgramName << ": cannot write " << shown << ": not a regular file\n";
    return 1;
  }
  errno = 0;
  const std::string_view text(reinterpret_cast<const char *>(bytes.data()), bytes.size());
  if (!platform::ReplaceSettingsFile(path, text)) {
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
