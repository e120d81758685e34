#include "skin/style/StyleReads.h"

#include "skin/style/StyleTable.h"

#include <limits>

namespace skin::style {

namespace {

bool IsKind(StyleEntry entry, EntryKind kind) {
  const std::optional<EntryInfo> info = FindEntry(entry);
  return info && info->Kind == kind;
}

} // namespace

ResolvedStyle ResolveStyle(const ThemeEntries *theme, TsuiUIStyle style) {
  if (style != TsuiUIStyle::FromThemeFile) return {false, style};
  if (theme && theme->Loaded()) return {true, TsuiUIStyle::FromThemeFile};
  return {false, TsuiUIStyle::DeepBlue};
}

bool GetStyleImage(TsuiUIStyle style, StyleEntry entry, QImage &bitmap, BitmapCache &cache) {
  const std::string resource = ImageResource(style, entry);
  if (resource.empty()) return false;
  QImage picture = cache.Bitmap(resource);
  if (picture.isNull()) return false;
  bitmap = std::move(picture);
  return true;
}

bool GetStyleImagePart(TsuiUIStyle style, StyleEntry entry, QImage &bitmap, int part, int count,
                       BitmapCache &cache) {
  if (count == 0) return GetStyleImage(style, entry, bitmap, cache);
  QImage strip;
  if (!GetStyleImage(style, entry, strip, cache)) return false;
  QImage cut = CutStrip(strip, part, count);
  if (cut.isNull()) return false;
  bitmap = std::move(cut);
  return true;
}

framework::TColor GetStyleColor(TsuiUIStyle style, StyleEntry entry) {
  if (!IsKind(entry, EntryKind::Colour)) return 0;
  return static_cast<framework::TColor>(EntryValue(style, entry).value_or(0));
}

int GetStyleInt(TsuiUIStyle style, StyleEntry entry) {
  if (!IsKind(entry, EntryKind::Integer)) return -1;
  return static_cast<int>(EntryValue(style, entry).value_or(-1));
}

bool GetStyleBool(TsuiUIStyle style, StyleEntry entry) {
  if (!IsKind(entry, EntryKind::Boolean)) return false;
  return EntryValue(style, entry).value_or(0) != 0;
}

QImage GetStyleBitmap(TsuiUIStyle style, std::string_view element, BitmapCache &cache) {
  const int ordinal = static_cast<int>(style);
  if (ordinal < static_cast<int>(TsuiUIStyle::MacOS) ||
      ordinal > static_cast<int>(TsuiUIStyle::BlueGlass))
    return {};
  return cache.Bitmap(std::string(StylePrefixes[StyleIndex(ordinal)]) + std::string(element));
}

QImage CutStrip(const QImage &strip, int part, int count) {
  if (count <= 0 || part < 1 || part > count) return {};
  const int w = strip.width() / count;
  if (w == 0) return {};
  return strip.copy(w * (part - 1), 0, w, strip.height());
}

StyleReader::StyleReader(const ThemeEntries *theme, TsuiUIStyle style, BitmapCache &cache)
    : m_theme(theme), m_resolved(ResolveStyle(theme, style)), m_cache(&cache) {}

bool StyleReader::Image(StyleEntry entry, QImage &bitmap) const {
  if (m_resolved.UseTheme) return IsKind(entry, EntryKind::Image) && m_theme->Image(entry, bitmap);
  return GetStyleImage(m_resolved.Style, entry, bitmap, *m_cache);
}

bool StyleReader::ImagePart(StyleEntry entry, QImage &bitmap, int part, int count) const {
  if (!m_resolved.UseTheme)
    return GetStyleImagePart(m_resolved.Style, entry, bitmap, part, count, *m_cache);
  if (count == 0) return Image(entry, bitmap);
  QImage strip;
  if (!Image(entry, strip)) return false;
  QImage cut = CutStrip(strip, part, count);
  if (cut.isNull()) return false;
  bitmap = std::move(cut);
  return true;
}

framework::TColor StyleReader::Color(StyleEntry entry) const {
  if (!m_resolved.UseTheme) return GetStyleColor(m_resolved.Style, entry);
  const std::int64_t value = m_theme->Number(entry);
  if (value == -1 || value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<framework::TColor>::max())
    return AbsentColor;
  // A system colour stored as a signed 32-bit number comes back negative.
  return static_cast<framework::TColor>(value);
}

int StyleReader::Int(StyleEntry entry) const {
  if (!m_resolved.UseTheme) return GetStyleInt(m_resolved.Style, entry);
  const std::int64_t value = m_theme->Number(entry);
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return -1;
  return static_cast<int>(value);
}

bool StyleReader::Bool(StyleEntry entry) const {
  if (!m_resolved.UseTheme) return GetStyleBool(m_resolved.Style, entry);
  return m_theme->Bool(entry);
}

QImage StyleReader::Bitmap(std::string_view element) const {
  if (m_resolved.UseTheme) return {};
  return GetStyleBitmap(m_resolved.Style, element, *m_cache);
}

} // namespace skin::style
