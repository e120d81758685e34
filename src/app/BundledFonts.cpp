#include "app/BundledFonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>

namespace app {

int LoadBundledFonts() {
  const QDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
  int loaded = 0;
  for (const QString &name :
       folder.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.ttc"), QStringLiteral("*.otf")},
                        QDir::Files, QDir::Name))
    if (QFontDatabase::addApplicationFont(folder.filePath(name)) >= 0) ++loaded;
  return loaded;
}

} // namespace app
