#include "framework/Colors.h"

#include <QColor>

namespace framework {

QColor ToQColor(TColor c) {
  return QColor::fromRgb(ToQRgb(c));
}

TColor FromQColor(const QColor &c) {
  return FromQRgb(c.rgb());
}

} // namespace framework
