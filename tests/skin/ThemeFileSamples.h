#pragma once

#include "skin/theme/BitmapFile.h"
#include "skin/theme/ThemeFile.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace skin::test {

using Bytes = std::vector<std::uint8_t>;

// A small picture whose every pixel differs, so that a flipped or shifted row shows.
inline Bytes SampleBitmap(int width = 6, int height = 2) {
  std::vector<std::uint32_t> pixels;
  for (int i = 0; i < width * height; ++i)
    pixels.push_back(0x102030u * static_cast<std::uint32_t>(i + 1) & 0xFFFFFFu);
  return theme::WriteBitmapFile24(width, height, pixels);
}

// One entry of every kind, in this order.
inline std::vector<theme::ThemeEntry> SampleEntries() {
  return {theme::ThemeEntry::Image("ButtonImage", SampleBitmap()),
          theme::ThemeEntry::Integer("FormMinWidthInt", 130),
          theme::ThemeEntry::Boolean("ButtonTransparentBool", true),
          theme::ThemeEntry::Text("Author", "someone")};
}

inline Bytes SampleFile() {
  return *theme::WriteThemeFile(SampleEntries());
}

// Writes `bytes` to the file `path` and answers the path.
inline std::string WriteFile(const std::string &path, const Bytes &bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char *>(bytes.data()), static_cast<long>(bytes.size()));
  return path;
}

inline std::uint32_t U32(const Bytes &b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

inline void SetU32(Bytes &b, std::size_t at, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i)
    b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Entry header fields, relative to the entry header.
inline constexpr std::size_t KindAt = 64, DataAt = 65, SizeAt = 69, NextAt = 73;

// File offset of the header of entry `index` (from 0) of a well-formed file.
inline std::size_t EntryOffset(const Bytes &file, int index) {
  std::size_t at = U32(file, theme::FirstEntryOffset);
  for (int i = 0; i < index; ++i)
    at = U32(file, at + NextAt);
  return at;
}

} // namespace skin::test
