#include "skin/StyleTheme.h"

#include "skin/style/StyleReads.h"
#include "skin/style/StyleTable.h"
#include "skin/theme/BitmapFile.h"

#include <string>

namespace skin {

std::vector<std::uint8_t> BitmapFileOf(const QImage &picture) {
  if (picture.isNull()) return {};
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(rgb.width()) * static_cast<std::size_t>(rgb.height()));
  for (int y = 0; y < rgb.height(); ++y) {
    const auto *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x)
      pixels.push_back(row[x] & 0xFFFFFFu);
  }
  return theme::WriteBitmapFile24(rgb.width(), rgb.height(), pixels);
}

std::vector<theme::ThemeEntry> BuiltInStyleTheme(TsuiUIStyle style) {
  using style::EntryKind;
  std::vector<theme::ThemeEntry> entries;
  if (style == TsuiUIStyle::FromThemeFile) return entries;
  for (const style::EntryInfo &info : style::Entries()) {
    std::string key(info.Key);
    switch (info.Kind) {
    case EntryKind::Image: {
      QImage picture;
      // Entries without a picture in this style stay out of the file.
      if (style::GetStyleImage(style, info.Entry, picture))
        entries.push_back(theme::ThemeEntry::Image(std::move(key), BitmapFileOf(picture)));
      break;
    }
    case EntryKind::Colour:
      entries.push_back(theme::ThemeEntry::Integer(
          std::move(key), static_cast<std::int32_t>(style::GetStyleColor(style, info.Entry))));
      break;
    case EntryKind::Integer:
      entries.push_back(
          theme::ThemeEntry::Integer(std::move(key), style::GetStyleInt(style, info.Entry)));
      break;
    case EntryKind::Boolean:
      entries.push_back(
          theme::ThemeEntry::Boolean(std::move(key), style::GetStyleBool(style, info.Entry)));
      break;
    }
  }
  return entries;
}

} // namespace skin
