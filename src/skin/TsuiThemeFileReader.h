#pragma once

#include "skin/theme/ThemeFile.h"

#include <QImage>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace skin {

// One theme file, read and checked whole: every picture decoded at once, so that a picture Qt
// cannot decode refuses the file like any other damage instead of failing later while drawing.
class TsuiThemeFileReader {
public:
  // Throws theme::EInvalidSkinFile for a file that cannot be read or is refused.
  static std::unique_ptr<TsuiThemeFileReader> Load(const std::string &path);
  static std::unique_ptr<TsuiThemeFileReader> FromBytes(std::span<const std::uint8_t> bytes);

  // Null when there is no image entry of that name.
  QImage Image(std::string_view name) const;
  std::optional<std::int32_t> Integer(std::string_view name) const;
  std::optional<bool> Boolean(std::string_view name) const;
  std::optional<std::string> Text(std::string_view name) const;

  const theme::ThemeContents &Contents() const { return m_contents; }

private:
  TsuiThemeFileReader() = default;

  theme::ThemeContents m_contents;
  std::map<std::string, QImage, std::less<>> m_images;
};

} // namespace skin
