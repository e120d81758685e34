#pragma once

#include "app/CommandLine.h"

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>

namespace app {

// `--export-theme`: the built-in style as a theme file. Answers the exit status; a failure is
// one line on `err`.
int RunExportTheme(const Options &options, std::ostream &err);

// Puts `bytes` at `path` whole or not at all: a temporary file beside it renamed over it, never
// over anything but a regular file. 0, or 1 after one line on `err`.
int WriteWholeFile(const std::string &path, std::span<const std::uint8_t> bytes, std::ostream &err);

} // namespace app
