#pragma once

#include <QString>

#include <optional>

namespace app {

// The path of `fileName` in `directory`: the exact name if it exists, else the first entry (in
// name order) that matches it ignoring case, as the names match on the system they come from.
// None without a directory: an empty one (the current directory was deleted) is not "/".
std::optional<QString> FindPictureFile(const QString &directory, const QString &fileName);

} // namespace app
