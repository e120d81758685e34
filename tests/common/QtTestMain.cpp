#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <gmock/gmock.h>

int main(int argc, char **argv) {
  // Tests assert exact pixels; never depend on a display or the user's desktop.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
  QApplication app(argc, argv);
  // Where the system lacks the window's font families (Windows), the program brings them: the
  // tests then draw with the same files.
  const QDir fonts(qEnvironmentVariable("QUELVANE_TEST_FONTS"));
  if (qEnvironmentVariableIsSet("QUELVANE_TEST_FONTS"))
    for (const QString &name : fonts.entryList(QDir::Files))
      if (QFontDatabase::addApplicationFont(fonts.filePath(name)) < 0)
        qWarning("cannot load the font %s", qPrintable(fonts.filePath(name)));
  testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
