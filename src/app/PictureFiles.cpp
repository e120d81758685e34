#include "app/PictureFiles.h"

#include <QDir>
#include <QFileInfo>

namespace app {

std::optional<QString> PictureFiles::Find(const QString &directory, const QString &fileName) {
  if (directory.isEmpty()) return std::nullopt;
  const QString exact = directory + QLatin1Char('/') + fileName;
  // Only files (or links to them): a directory or FIFO of the same or a similar name would hide
  // one.
  if (QFileInfo(exact).isFile()) return exact;
  if (!m_files || m_listed != directory) {
    m_files = QDir(directory).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    m_listed = directory;
  }
  for (const QString &entry : *m_files)
    if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
      return directory + QLatin1Char('/') + entry;
  return std::nullopt;
}

} // namespace app
