#pragma once

#include "skin/TsuiThemeFileReader.h"

#include <memory>
#include <string>

namespace app {

// `--theme`: the theme file read whole and checked, before any window exists. Null when it cannot
// be used, with `error` naming the file and the reason in one line.
std::unique_ptr<skin::TsuiThemeFileReader> LoadUserTheme(const std::string &path,
                                                         std::string &error);

} // namespace app
