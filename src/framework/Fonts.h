#pragma once

#include "framework/Colors.h"

#include <QFont>
#include <QString>

namespace framework {

// A font as window descriptions give it. Height follows the old convention: negative is the
// character height in pixels, positive the cell height (character plus internal leading).
struct FontDesc {
  QString Name = QStringLiteral("MS Sans Serif");
  int Height = -11;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  TColor Color = clWindowText;

  bool operator==(const FontDesc &) const = default;
};

// The installed family that stands in for a requested one ("MS Sans Serif" and "Tahoma" are not
// installed on Linux).
QString MapFontFamily(const QString &name);

// Text is drawn without anti-aliasing unless asked, so it looks the same everywhere and
// pixel tests stay exact.
QFont MakeFont(const QString &name, int height, bool bold = false, bool italic = false,
               bool antialias = false);
QFont MakeFont(const FontDesc &desc, bool antialias = false);

} // namespace framework
