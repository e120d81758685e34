#pragma once

#include "skin/SkinTypes.h"
#include "skin/theme/ThemeFile.h"

#include <QImage>

#include <cstdint>
#include <vector>

namespace skin {

// A built-in style as theme file entries, in table order: every entry the style has under its key
// name; bitmaps as 24-bit bitmap files, colours and integers as 32-bit integers, booleans.
// Nothing for FromThemeFile.
std::vector<theme::ThemeEntry> BuiltInStyleTheme(TsuiUIStyle style);

// A 24-bit bitmap file of the picture's colours (alpha dropped); empty for a null picture or
// one beyond the theme file limits.
std::vector<std::uint8_t> BitmapFileOf(const QImage &picture);

} // namespace skin
