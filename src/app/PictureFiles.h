#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace app {

// Finds the optional pictures' files. A folder's entries are read once, at the first name that
// is not there exactly, and kept while the next names are looked for in the same folder: a start
// looks for six names in a current directory that may be large.
class PictureFiles {
public:
  // The path of `fileName` in `directory`: the exact name if it exists, else the first file (in
  // name order) whose name matches it ignoring case, as the names match on the system they come
  // from. None without a directory: an empty one (the current directory was deleted) is not "/".
  std::optional<QString> Find(const QString &directory, const QString &fileName);

private:
  QString m_listed;
  std::optional<QStringList> m_files;
};

} // namespace app
