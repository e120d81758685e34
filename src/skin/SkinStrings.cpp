#include "skin/SkinStrings.h"

#include <QApplication>
#include <QMessageBox>

namespace skin {

namespace {

SkinStrings &current() {
  static SkinStrings strings;
  return strings;
}

void messageBox(const QString &text) {
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), text,
                        QMessageBox::Ok);
}

ErrorReporter &reporter() {
  static ErrorReporter handler = messageBox;
  return handler;
}

} // namespace

const SkinStrings &Strings() {
  return current();
}

void SetStrings(SkinStrings strings) {
  current() = std::move(strings);
}

void ShowSkinError(const QString &text) {
  if (reporter()) reporter()(text);
}

ErrorReporter SetErrorReporter(ErrorReporter handler) {
  return std::exchange(reporter(), std::move(handler));
}

} // namespace skin
