#pragma once

#include "framework/Colors.h"
#include "skin/SkinTypes.h"
#include "skin/style/BitmapCache.h"
#include "skin/style/StyleEntry.h"
#include "skin/style/ThemeEntries.h"

#include <QImage>

#include <string_view>

namespace skin::style {

struct ResolvedStyle {
  bool UseTheme = false;
  TsuiUIStyle Style = TsuiUIStyle::DeepBlue;
  bool operator==(const ResolvedStyle &) const = default;
};

// FromThemeFile reads the theme when one is loaded and is DeepBlue otherwise.
ResolvedStyle ResolveStyle(const ThemeEntries *theme, TsuiUIStyle style);

// Reads of the built-in styles. A style outside MacOS to BlueGlass, or an entry of another kind,
// reads neutral: the bitmap stays unchanged (the answer is false), colour 0, integer -1, false.
bool GetStyleImage(TsuiUIStyle style, StyleEntry entry, QImage &bitmap,
                   BitmapCache &cache = BuiltInBitmaps());
// Part `part` (from 1) of the entry's image cut into `count` equal parts; count 0 takes it whole.
bool GetStyleImagePart(TsuiUIStyle style, StyleEntry entry, QImage &bitmap, int part, int count,
                       BitmapCache &cache = BuiltInBitmaps());
framework::TColor GetStyleColor(TsuiUIStyle style, StyleEntry entry);
int GetStyleInt(TsuiUIStyle style, StyleEntry entry);
bool GetStyleBool(TsuiUIStyle style, StyleEntry entry);

// A style's picture that no entry names ("FORM_BACKGROUND", "MENU_BAR", ...); null where the
// style has none.
QImage GetStyleBitmap(TsuiUIStyle style, std::string_view element,
                      BitmapCache &cache = BuiltInBitmaps());

// Part `part` (from 1) of `count` equal-width states side by side; the columns left over by the
// division are ignored. Null when there is no such part.
QImage CutStrip(const QImage &strip, int part, int count);

// A theme's colour or integer that is absent.
inline constexpr framework::TColor AbsentColor = 0xFFFFFFFF;

// What a control draws with: the theme's entries when its style resolves to the theme, the
// built-in style's otherwise.
class StyleReader {
public:
  StyleReader(const ThemeEntries *theme, TsuiUIStyle style, BitmapCache &cache = BuiltInBitmaps());

  const ResolvedStyle &Resolved() const { return m_resolved; }
  bool Image(StyleEntry entry, QImage &bitmap) const;
  bool ImagePart(StyleEntry entry, QImage &bitmap, int part, int count) const;
  // AbsentColor for a theme without the entry.
  framework::TColor Color(StyleEntry entry) const;
  int Int(StyleEntry entry) const;
  bool Bool(StyleEntry entry) const;
  // A theme holds entries only: its pictures by name are none.
  QImage Bitmap(std::string_view element) const;

private:
  const ThemeEntries *m_theme;
  ResolvedStyle m_resolved;
  BitmapCache *m_cache;
};

} // namespace skin::style
