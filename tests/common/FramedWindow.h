#pragma once

#include "skin/TsuiForm.h"

#include <QWidget>

namespace skin::test {

// A frameless window of the given size taken over by a skinned frame.
struct FramedWindow {
  explicit FramedWindow(QSize size) : form(*TsuiForm::Create(&window)) {
    window.resize(size);
    form.FormResized();
  }
  QWidget window;
  TsuiForm &form;
};

} // namespace skin::test
