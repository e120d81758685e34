#pragma once

#include "skin/SkinTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace app {

struct Options {
  bool List = false;
  bool Watch = false;
  bool Json = false;
  bool Help = false;
  // Start with the window in the tray.
  bool Hidden = false;
  bool Status = false;
  // Print the battery periods from the battery history.
  bool History = false;
  // --plot=FILE (with --history): the battery chart written as a PNG file.
  std::optional<std::string> Plot;
  bool Version = false;
  // --simulate gives an empty text (the built-in scenario), --simulate=FILE the file.
  std::optional<std::string> Simulate;
  std::optional<std::string> Trace;
  // --export-theme=FILE writes the built-in style ExportStyle (--style=NAME) as a theme file.
  std::optional<std::string> ExportTheme;
  skin::TsuiUIStyle ExportStyle = skin::TsuiUIStyle::Protein;
  // --style=NAME without --export-theme: the window in that built-in look instead of its own.
  std::optional<skin::TsuiUIStyle> Style;
  // --theme=FILE: the window and its tray menu in the look of that theme file.
  std::optional<std::string> Theme;
  // Qt's -platform is on the command line: Qt is told where to show the window.
  bool QtPlatform = false;
};

struct ParsedCommandLine {
  Options Values;
  std::string Error; // empty when the command line is valid
};

// `arguments` excludes the program name. Qt's own options (-platform NAME, -style NAME, …, with
// one dash) are passed over: Qt takes them from the same command line.
ParsedCommandLine ParseCommandLine(const std::vector<std::string> &arguments);

// The help: the synopsis, then every option as the parser describes it.
std::string UsageText();
// "quelvane 1.6".
std::string VersionText();

// The built-in style of that name, in any letter case; nothing for another name.
std::optional<skin::TsuiUIStyle> BuiltInStyleNamed(const std::string &name);

// Exit status for a command line that cannot be understood.
inline constexpr int UsageErrorStatus = 2;

} // namespace app
