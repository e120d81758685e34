#include "platform/CodePage.h"

#include <QLocale>
#include <QStringList>

namespace platform {

int AnsiCodePage() {
  const QStringList languages = QLocale::system().uiLanguages();
  if (languages.isEmpty()) return 1252;
  return CodePageForLocale(languages.front().toStdString());
}

} // namespace platform
