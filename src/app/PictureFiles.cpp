#include "app/PictureFiles.h"

#include <QDir>
#include <QFileInfo>

namespace app {

std::optional<QString> FindPictureFile(const QString &directory, const QString &fileName) {
  if (directory.isEmpty()) return std::nullopt;
  const QString exact = directory + QLatin1Char('/') + fileName;
  if (QFileInfo::exists(exact)) return exact;
  // Only files (or links to them): a directory or FIFO of a similar name would hide one.
  const QStringList entries = QDir(directory).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  for (const QString &entry : entries)
    if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
      return directory + QLatin1Char('/') + entry;
  return std::nullopt;
}

} // namespace app
