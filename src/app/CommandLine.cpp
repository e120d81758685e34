#include "app/CommandLine.h"

#include "app/Messages.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace app {

namespace {

constexpr std::array<std::pair<const char *, skin::TsuiUIStyle>, 5> BuiltInStyles = {{
    {"MacOS", skin::TsuiUIStyle::MacOS},
    {"WinXP", skin::TsuiUIStyle::WinXP},
    {"DeepBlue", skin::TsuiUIStyle::DeepBlue},
    {"Protein", skin::TsuiUIStyle::Protein},
    {"BlueGlass", skin::TsuiUIStyle::BlueGlass},
}};

bool SameLetters(std::string_view a, std::string_view b) {
  return std::ranges::equal(
      a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

std::optional<skin::TsuiUIStyle> BuiltInStyleNamed(const std::string &name) {
  for (const auto &[styleName, style] : BuiltInStyles)
    if (SameLetters(name, styleName)) return style;
  return std::nullopt;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string> &arguments) {
  ParsedCommandLine parsed;
  Options &o = parsed.Values;
  const auto fail = [&](std::string message) {
    if (parsed.Error.empty()) parsed.Error = std::move(message);
  };
  std::optional<std::string> style;
  for (const std::string &argument : arguments) {
    if (argument == "--list") {
      o.List = true;
    } else if (argument == "--watch") {
      o.Watch = true;
    } else if (argument == "--json") {
      o.Json = true;
    } else if (argument == "--hidden") {
      o.Hidden = true;
    } else if (argument == "--help" || argument == "-h") {
      o.Help = true;
    } else if (argument == "--simulate") {
      o.Simulate = std::string();
    } else if (argument.starts_with("--simulate=")) {
      o.Simulate = argument.substr(11);
      if (o.Simulate->empty()) fail("--simulate= needs a file name");
    } else if (argument.starts_with("--trace=")) {
      o.Trace = argument.substr(8);
      if (o.Trace->empty()) fail("--trace= needs a file name");
    } else if (argument.starts_with("--export-theme=")) {
      o.ExportTheme = argument.substr(15);
      if (o.ExportTheme->empty()) fail("--export-theme= needs a file name");
    } else if (argument.starts_with("--style=")) {
      style = argument.substr(8);
    } else if (argument == "--export-theme" || argument == "--style") {
      fail(argument + " needs a value: " + argument + (argument == "--style" ? "=NAME" : "=FILE"));
    } else if (argument == "--trace") {
      fail("--trace needs a file name: --trace=FILE");
    } else {
      fail("unknown option: " + Quoted(argument));
    }
  }
  if (o.Hidden && o.List) fail("--hidden does not go with --list");
  if ((o.Watch || o.Json) && !o.List)
    fail(std::string(o.Watch ? "--watch" : "--json") + " only goes with --list");
  if (style && !o.ExportTheme) fail("--style only goes with --export-theme");
  if (style) {
    if (const auto named = BuiltInStyleNamed(*style))
      o.ExportStyle = *named;
    else
      fail("unknown style: " + Quoted(*style) + " (MacOS, WinXP, DeepBlue, Protein or BlueGlass)");
  }
  if (o.ExportTheme && (o.List || o.Simulate || o.Trace))
    fail("--export-theme goes with --style only");
  return parsed;
}

std::string UsageText() {
  return "Usage: quelvane [--hidden] [--simulate[=FILE]] [--trace=FILE]\n"
         "       quelvane --list [--watch] [--json] [--simulate[=FILE]] [--trace=FILE]\n"
         "       quelvane --export-theme=FILE [--style=NAME]\n"
         "\n"
         "  --hidden          start with the window in the tray (minimised without one)\n"
         "  --list            print every HID interface and whether it is a supported receiver\n"
         "  --watch           with --list: print the list again whenever it changes\n"
         "  --json            with --list: one JSON array per listing\n"
         "  --simulate[=FILE] run on simulated devices (built-in scenario or FILE)\n"
         "  --trace=FILE      write report traffic, scans and state changes to FILE\n"
         "  --export-theme=FILE\n"
         "                    write a built-in style as a theme file, to start a theme from\n"
         "  --style=NAME      with --export-theme: MacOS, WinXP, DeepBlue, Protein (default) or\n"
         "                    BlueGlass\n"
         "  --help            show this text\n";
}

} // namespace app
