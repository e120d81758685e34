#include "skin/theme/ThemeFile.h"

#include "skin/theme/LittleEndian.h"

#include <algorithm>

namespace skin::theme {

namespace {

std::vector<std::uint8_t> ValueBytes(std::int32_t value) {
  std::vector<std::uint8_t> data;
  AppendU32(data, static_cast<std::uint32_t>(value));
  return data;
}

} // namespace

ThemeEntry ThemeEntry::Image(std::string name, std::vector<std::uint8_t> bitmapFile) {
  return {std::move(name), ThemeEntryKind::Image, std::move(bitmapFile)};
}

ThemeEntry ThemeEntry::Integer(std::string name, std::int32_t value) {
  return {std::move(name), ThemeEntryKind::Integer, ValueBytes(value)};
}

ThemeEntry ThemeEntry::Boolean(std::string name, bool value) {
  return {std::move(name), ThemeEntryKind::Boolean, ValueBytes(value ? 1 : 0)};
}

ThemeEntry ThemeEntry::Text(std::string name, std::string_view text) {
  return {std::move(name), ThemeEntryKind::Text,
          std::vector<std::uint8_t>(text.begin(), text.end())};
}

std::int32_t ThemeEntry::Value() const {
  if (Data.size() != 4) return 0; // the reader refuses such entries; a hand-made one reads as 0
  return static_cast<std::int32_t>(ReadU32(Data, 0));
}

const ThemeEntry *ThemeContents::Find(std::string_view name, ThemeEntryKind kind) const {
  const auto it = std::find_if(Entries.begin(), Entries.end(),
                               [&](const ThemeEntry &e) { return e.Name == name; });
  return it != Entries.end() && it->Kind == kind ? &*it : nullptr;
}

const char *ThemeErrorName(ThemeError error) {
  switch (error) {
  case ThemeError::None:
    return "none";
  case ThemeError::FileTooLarge:
    return "file too large";
  case ThemeError::BadSignature:
    return "no theme file signature";
  case ThemeError::BadHeaderLength:
    return "bad header length";
  case ThemeError::EntryOutsideFile:
    return "entry outside the file";
  case ThemeError::EntryInHeader:
    return "entry inside the header";
  case ThemeError::EntryLoop:
    return "entry chain loops";
  case ThemeError::TooManyEntries:
    return "too many entries";
  case ThemeError::UnterminatedName:
    return "entry name without terminating zero";
  case ThemeError::DuplicateName:
    return "duplicate entry name";
  case ThemeError::UnknownKind:
    return "unknown entry kind";
  case ThemeError::DataTooLarge:
    return "entry data too large";
  case ThemeError::DataOutsideFile:
    return "entry data outside the file";
  case ThemeError::DataInHeader:
    return "entry data inside the header";
  case ThemeError::BadValueSize:
    return "number entry not 4 bytes";
  case ThemeError::BadBitmap:
    return "image entry is not a readable bitmap";
  case ThemeError::BitmapTooLarge:
    return "image entry declares an absurd size";
  case ThemeError::NumberOutOfRange:
    return "number outside the range the window can draw";
  case ThemeError::EntriesTooLarge:
    return "entries together too large";
  case ThemeError::PicturesTooLarge:
    return "pictures together too large";
  }
  return "unknown";
}

std::string DescribeRefusal(const ThemeParse &parse) {
  return std::string(ThemeErrorName(parse.Error)) + " at offset " +
         std::to_string(parse.ErrorOffset);
}

bool HasThemeSignature(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < SignatureReadBytes) return false;
  const auto first = bytes.first(SignatureBytes);
  const auto end = std::find(first.begin(), first.end(), std::uint8_t{0});
  return std::string_view(reinterpret_cast<const char *>(first.data()),
                          static_cast<std::size_t>(end - first.begin())) == Signature;
}

} // namespace skin::theme
