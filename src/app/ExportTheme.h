#pragma once

#include "app/CommandLine.h"

#include <iosfwd>

namespace app {

// `--export-theme`: the built-in style as a theme file. Answers the exit status; a failure is
// one line on `err`.
int RunExportTheme(const Options &options, std::ostream &err);

} // namespace app
