#include "skin/DefaultStyle.h"

#include "skin/TsuiForm.h"

#include <QWidget>

namespace skin {

TsuiUIStyle DefaultStyle(const QObject *owner) {
  const auto *widget = qobject_cast<const QWidget *>(owner);
  if (!widget) return TsuiUIStyle::DeepBlue;
  const QWidget *form = widget->window();
  if (const auto *frame = form->findChild<const TsuiForm *>(QString(), Qt::FindDirectChildrenOnly))
    return frame->UIStyle();
  return TsuiUIStyle::DeepBlue;
}

} // namespace skin
