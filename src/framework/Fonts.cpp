#include "framework/Fonts.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace framework {

namespace {

const QString SansFamily = QStringLiteral("DejaVu Sans");
const QString CjkFamily = QStringLiteral("WenQuanYi Micro Hei");

} // namespace

QString MapFontFamily(const QString &name) {
  const QString lower = name.trimmed().toLower();
  if (lower.isEmpty() || lower == QLatin1String("ms sans serif") ||
      lower == QLatin1String("tahoma") || lower == QLatin1String("ms shell dlg") ||
      lower == QLatin1String("ms shell dlg 2") || lower == QLatin1String("arial") ||
      lower == QLatin1String("verdana"))
    return SansFamily;
  return name;
}

QFont MakeFont(const QString &name, int height, bool bold, bool italic, bool antialias) {
  QFont font;
  font.setFamilies({MapFontFamily(name), CjkFamily});
  font.setBold(bold);
  font.setItalic(italic);
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setStyleStrategy(antialias ? QFont::PreferAntialias : QFont::NoAntialias);
  if (height == 0) height = -11;
  if (height < 0) {
    font.setPixelSize(-height);
  } else {
    // A positive height includes the internal leading: scale the character height so that the
    // whole cell comes out at the requested size.
    font.setPixelSize(height);
    const int cell = QFontMetrics(font).height();
    if (cell > 0)
      font.setPixelSize(
          std::max(1, static_cast<int>(std::lround(static_cast<double>(height) * height / cell))));
  }
  return font;
}

QFont MakeFont(const FontDesc &desc, bool antialias) {
  QFont font = MakeFont(desc.Name, desc.Height, desc.Bold, desc.Italic, antialias);
  font.setUnderline(desc.Underline);
  return font;
}

} // namespace framework
