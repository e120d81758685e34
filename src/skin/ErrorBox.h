#pragma once

#include <QString>

class QWidget;

namespace skin {

// The error message box with one OK button that a refused property value shows; modal.
void ShowErrorBox(QWidget *parent, const QString &text);

} // namespace skin
