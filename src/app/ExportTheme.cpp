#include "app/ExportTheme.h"

#include "app/Messages.h"
#include "app/WholeFile.h"
#include "skin/StyleTheme.h"
#include "skin/theme/ThemeFile.h"

#include <ostream>
#include <string>

namespace app {

int RunExportTheme(const Options &options, std::ostream &err) {
  const auto file = skin::theme::WriteThemeFile(skin::BuiltInStyleTheme(options.ExportStyle));
  if (!file) {
    // The built-in tables are ours: this is a fault of the program, not of the user.
    err << ProgramName << ": the style cannot be written as a theme file\n";
    return 1;
  }
  std::string reason;
  if (WriteWholeFile(*options.ExportTheme, *file, reason)) return 0;
  err << ProgramName << ": cannot write "
      << ShownPath(QString::fromStdString(*options.ExportTheme)).toStdString() << ": " << reason
      << '\n';
  return 1;
}

} // namespace app
