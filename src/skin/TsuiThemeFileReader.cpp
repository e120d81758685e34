#include "skin/TsuiThemeFileReader.h"

#include "framework/files/RegularFile.h"
#include "framework/text/Json.h"

#include <string_view>
#include <unordered_map>

namespace skin {

using theme::EInvalidSkinFile;
using theme::ThemeEntryKind;

std::unique_ptr<TsuiThemeFileReader> TsuiThemeFileReader::Load(const std::string &path) {
  // Never blocks on a FIFO and never reads past the limit, whatever the name points at.
  const framework::FileContents file = framework::ReadRegularFile(path, theme::MaxFileBytes);
  using Status = framework::FileContents::Status;
  switch (file.State) {
  case Status::Read:
    break;
  case Status::Missing:
    throw EInvalidSkinFile(path + ": gone before it could be read");
  case Status::NotRegular:
    throw EInvalidSkinFile(path + ": not a regular file");
  case Status::TooLarge:
    throw EInvalidSkinFile(path + ": " + theme::ThemeErrorName(theme::ThemeError::FileTooLarge));
  case Status::Unreadable:
    throw EInvalidSkinFile(path + ": cannot be read");
  }
  const auto *bytes = reinterpret_cast<const std::uint8_t *>(file.Text.data());
  try {
    return FromBytes({bytes, file.Text.size()});
  } catch (const EInvalidSkinFile &e) {
    throw EInvalidSkinFile(path + ": " + e.Detail());
  }
}

std::unique_ptr<TsuiThemeFileReader>
TsuiThemeFileReader::FromBytes(std::span<const std::uint8_t> bytes) {
  theme::ThemeParse parse = theme::ParseThemeFile(bytes);
  if (parse.Error != theme::ThemeError::None) throw EInvalidSkinFile(DescribeRefusal(parse));
  std::unique_ptr<TsuiThemeFileReader> reader(new TsuiThemeFileReader);
  reader->m_contents = std::move(parse.Contents);
  // Entries may point at one picture's data: it is decoded once and the picture shared.
  std::unordered_map<std::string_view, QImage> decoded;
  for (const theme::ThemeEntry &entry : reader->m_contents.Entries) {
    if (entry.Kind != ThemeEntryKind::Image) continue;
    const std::string_view data(reinterpret_cast<const char *>(entry.Data.data()),
                                entry.Data.size());
    auto [picture, fresh] = decoded.try_emplace(data);
    if (fresh)
      picture->second =
          QImage::fromData(entry.Data.data(), static_cast<int>(entry.Data.size()), "BMP");
    // The name comes from the file: quoted, it cannot rewrite a terminal line it is shown on.
    if (picture->second.isNull())
      throw EInvalidSkinFile("image entry " + framework::text::JsonString(entry.Name) +
                             " cannot be decoded");
    reader->m_images.emplace(entry.Name, picture->second);
  }
  return reader;
}

QImage TsuiThemeFileReader::Image(std::string_view name) const {
  const auto it = m_images.find(name);
  return it == m_images.end() ? QImage() : it->second;
}

std::optional<std::int32_t> TsuiThemeFileReader::Integer(std::string_view name) const {
  const theme::ThemeEntry *entry = m_contents.Find(name, ThemeEntryKind::Integer);
  if (!entry) return std::nullopt;
  return entry->Value();
}

std::optional<bool> TsuiThemeFileReader::Boolean(std::string_view name) const {
  const theme::ThemeEntry *entry = m_contents.Find(name, ThemeEntryKind::Boolean);
  if (!entry) return std::nullopt;
  return entry->Value() != 0;
}

std::optional<std::string> TsuiThemeFileReader::Text(std::string_view name) const {
  const theme::ThemeEntry *entry = m_contents.Find(name, ThemeEntryKind::Text);
  if (!entry) return std::nullopt;
  return std::string(entry->Data.begin(), entry->Data.end());
}

} // namespace skin
