#pragma once

#include <optional>
#include <string>

namespace app {

// Why no window can be shown, said before the window system is contacted, so that it reaches the
// user even where Qt could not open a display; none when there may be a display to show it on.
std::optional<std::string> MissingDisplay();

} // namespace app
