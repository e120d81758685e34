#pragma once

#include <optional>
#include <string>
#include <vector>

namespace app {

struct Options {
  bool List = false;
  bool Watch = false;
  bool Json = false;
  bool Help = false;
  // --simulate gives an empty text (the built-in scenario), --simulate=FILE the file.
  std::optional<std::string> Simulate;
  std::optional<std::string> Trace;
};

struct ParsedCommandLine {
  Options Values;
  std::string Error; // empty when the command line is valid
};

// `arguments` excludes the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string> &arguments);

std::string UsageText();

// Exit status for a command line that cannot be understood.
inline constexpr int UsageErrorStatus = 2;

} // namespace app
