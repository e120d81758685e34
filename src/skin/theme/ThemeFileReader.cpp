#include "skin/theme/BitmapFile.h"
#include "skin/theme/LittleEndian.h"
#include "skin/theme/ThemeFile.h"
#include "skin/theme/ThemeNumbers.h"

#include <algorithm>
#include <set>

namespace skin::theme {

namespace {

constexpr std::size_t KindAt = NameBytes;
constexpr std::size_t DataOffsetAt = KindAt + 1;
constexpr std::size_t DataSizeAt = DataOffsetAt + 4;
constexpr std::size_t NextAt = DataSizeAt + 4;
static_assert(NextAt + 4 == EntryHeaderBytes);

ThemeParse Fail(ThemeError error, std::size_t offset) {
  ThemeParse r;
  r.Error = error;
  r.ErrorOffset = offset;
  return r;
}

} // namespace

ThemeError CheckEntryData(std::string_view name, ThemeEntryKind kind,
                          std::span<const std::uint8_t> data) {
  if (data.size() > MaxEntryBytes) return ThemeError::DataTooLarge;
  switch (kind) {
  case ThemeEntryKind::Integer: {
    if (data.size() != 4) return ThemeError::BadValueSize;
    const auto value = static_cast<std::int32_t>(ReadU32(data, 0));
    const std::optional<NumberRange> range = ThemeNumberRange(name);
    return !range || (value >= range->Lowest && value <= range->Highest)
               ? ThemeError::None
               : ThemeError::NumberOutOfRange;
  }
  case ThemeEntryKind::Boolean:
    return data.size() == 4 ? ThemeError::None : ThemeError::BadValueSize;
  case ThemeEntryKind::Image:
    switch (CheckBitmapFile(data)) {
    case BitmapCheck::Readable:
      return ThemeError::None;
    case BitmapCheck::TooLarge:
      return ThemeError::BitmapTooLarge;
    case BitmapCheck::NotReadable:
      return ThemeError::BadBitmap;
    }
    return ThemeError::BadBitmap;
  case ThemeEntryKind::Text:
    return ThemeError::None;
  }
  return ThemeError::UnknownKind;
}

ThemeError EntryTotals::Add(ThemeEntryKind kind, std::span<const std::uint8_t> data) {
  // Both stay far from overflowing: at most MaxEntries entries of MaxEntryBytes and
  // MaxBitmapPixels each.
  const std::size_t bytes = Bytes + EntryHeaderBytes + data.size();
  const std::int64_t pixels = Pixels + (kind == ThemeEntryKind::Image ? BitmapPixels(data) : 0);
  if (MinHeaderBytes + bytes > MaxEntriesBytes) return ThemeError::EntriesTooLarge;
  if (pixels > MaxThemePixels) return ThemeError::PicturesTooLarge;
  Bytes = bytes;
  Pixels = pixels;
  return ThemeError::None;
}

ThemeParse ParseThemeFile(std::span<const std::uint8_t> bytes) {
  const std::size_t size = bytes.size();
  if (size > MaxFileBytes) return Fail(ThemeError::FileTooLarge, 0);
  if (!HasThemeSignature(bytes)) return Fail(ThemeError::BadSignature, 0);
  if (size < MinHeaderBytes) return Fail(ThemeError::BadHeaderLength, HeaderLengthOffset);
  const std::uint32_t headerBytes = ReadU32(bytes, HeaderLengthOffset);
  if (headerBytes < MinHeaderBytes || headerBytes > size)
    return Fail(ThemeError::BadHeaderLength, HeaderLengthOffset);

  ThemeParse result;
  std::set<std::uint32_t> visited;
  std::set<std::string, std::less<>> names;
  EntryTotals totals;
  // Where the offset of the entry at hand was read: a link that goes astray is reported there.
  std::size_t link = FirstEntryOffset;
  for (std::uint32_t at = ReadU32(bytes, link); at != 0;) {
    if (at < headerBytes) return Fail(ThemeError::EntryInHeader, link);
    if (at > size || size - at < EntryHeaderBytes) return Fail(ThemeError::EntryOutsideFile, link);
    if (!visited.insert(at).second) return Fail(ThemeError::EntryLoop, link);
    if (visited.size() > MaxEntries) return Fail(ThemeError::TooManyEntries, at);

    const auto header = bytes.subspan(at, EntryHeaderBytes);
    const auto nameField = header.first(NameBytes);
    const auto zero = std::find(nameField.begin(), nameField.end(), std::uint8_t{0});
    if (zero == nameField.end()) return Fail(ThemeError::UnterminatedName, at);
    std::string name(nameField.begin(), zero);
    if (header[KindAt] > static_cast<std::uint8_t>(ThemeEntryKind::Text))
      return Fail(ThemeError::UnknownKind, at);
    const auto kind = static_cast<ThemeEntryKind>(header[KindAt]);
    const std::uint32_t dataAt = ReadU32(header, DataOffsetAt);
    const std::uint32_t dataSize = ReadU32(header, DataSizeAt);
    if (dataSize > MaxEntryBytes) return Fail(ThemeError::DataTooLarge, at);
    if (dataAt > size || size - dataAt < dataSize) return Fail(ThemeError::DataOutsideFile, at);
    if (dataAt < headerBytes) return Fail(ThemeError::DataInHeader, at);
    const auto data = bytes.subspan(dataAt, dataSize);
    if (const ThemeError e = CheckEntryData(name, kind, data); e != ThemeError::None)
      return Fail(e, at);
    if (!names.insert(name).second) return Fail(ThemeError::DuplicateName, at);
    if (const ThemeError e = totals.Add(kind, data); e != ThemeError::None) return Fail(e, at);

    result.Contents.Entries.push_back({std::move(name), kind, {data.begin(), data.end()}});
    link = at + NextAt;
    at = ReadU32(header, NextAt);
  }
  return result;
}

} // namespace skin::theme
