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

// An 8-bit run-length bitmap of that size whose pixels are all left undrawn: a few bytes that
// declare as many pixels as wanted.
inline Bytes RunLengthBitmap(int width, int height) {
  Bytes bmp = SampleBitmap(1, 1);
  bmp.resize(54);
  SetU32(bmp, 18, static_cast<std::uint32_t>(width));
  SetU32(bmp, 22, static_cast<std::uint32_t>(height));
  bmp[28] = 8;
  SetU32(bmp, 30, 1);            // run-length coded, 8 bits
  bmp.insert(bmp.end(), {0, 1}); // end of bitmap
  return bmp;
}

// A file of `count` entries of one kind that all point at one copy of `data`.
inline Bytes SharedDataFile(theme::ThemeEntryKind kind, const Bytes &data, std::size_t count) {
  std::vector<theme::ThemeEntry> entries;
  for (std::size_t i = 0; i < count; ++i)
    entries.push_back(theme::ThemeEntry::Text("E" + std::to_string(i), ""));
  Bytes file = *theme::WriteThemeFile(entries);
  const auto dataAt = static_cast<std::uint32_t>(file.size());
  file.insert(file.end(), data.begin(), data.end());
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = EntryOffset(file, static_cast<int>(i));
    file[at + KindAt] = static_cast<std::uint8_t>(kind);
    SetU32(file, at + DataAt, dataAt);
    SetU32(file, at + SizeAt, static_cast<std::uint32_t>(data.size()));
  }
  return file;
}

} // namespace skin::test
