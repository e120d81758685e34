#include "skin/ErrorBox.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace skin {

void ShowErrorBox(QWidget *parent, const QString &text) {
  QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), text,
                  QMessageBox::Ok, parent);
  box.exec();
}

} // namespace skin
