#pragma once

#include <optional>
#include <string>

namespace skin::theme {

// Where a theme file named `name` is: the name as it is, else the file name in the program's
// folder (which stands in for the system folders other platforms search). Nothing when neither
// exists. Whatever exists counts, so that a folder or a device in the way is refused when read
// instead of being passed over in silence.
std::optional<std::string> FindThemeFile(const std::string &name, const std::string &programFolder);

} // namespace skin::theme
