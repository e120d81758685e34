#include "framework/PictureFile.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace framework {
namespace {

// Wider or taller bitmaps are refused before any size arithmetic; no reader would allocate them.
constexpr std::int64_t MaxSide = 1 << 16;

// Bounds-checked little- and big-endian reads; out of range reads as "absent".
class Bytes {
public:
  explicit Bytes(std::span<const std::uint8_t> data) : m_data(data) {}
  std::int64_t size() const { return static_cast<std::int64_t>(m_data.size()); }
  bool has(std::int64_t offset, std::int64_t count) const {
    return offset >= 0 && count >= 0 && offset <= size() && count <= size() - offset;
  }
  std::optional<std::uint32_t> u8(std::int64_t at) const {
    if (!has(at, 1)) return std::nullopt;
    return m_data[static_cast<std::size_t>(at)];
  }
  std::optional<std::uint32_t> le(std::int64_t at, int count) const {
    if (!has(at, count)) return std::nullopt;
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
      value = (value << 8) | m_data[static_cast<std::size_t>(at + i)];
    return value;
  }
  std::optional<std::uint32_t> be32(std::int64_t at) const {
    if (!has(at, 4)) return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
      value = (value << 8) | m_data[static_cast<std::size_t>(at + i)];
    return value;
  }
  bool startsWith(std::int64_t at, std::string_view text) const {
    const auto length = static_cast<std::int64_t>(text.size());
    return has(at, length) &&
           std::equal(text.begin(), text.end(), m_data.begin() + at,
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
  }

private:
  std::span<const std::uint8_t> m_data;
};

// A run-length stream (RLE8 or RLE4) must reach its end-of-bitmap marker inside the file.
bool rleComplete(const Bytes &b, std::int64_t at, bool fourBit) {
  while (true) {
    const auto count = b.u8(at);
    const auto code = b.u8(at + 1);
    if (!count || !code) return false;
    at += 2;
    if (*count > 0) continue; // a run: count pixels of one value
    if (*code == 1) return true;
    if (*code == 0) continue; // end of line
    if (*code == 2) {         // delta: two more bytes
      at += 2;
      continue;
    }
    // Absolute mode: `code` pixels follow, padded to a 16-bit boundary.
    std::int64_t length = fourBit ? (*code + 1) / 2 : *code;
    length += length & 1;
    if (!b.has(at, length)) return false;
    at += length;
  }
}

bool bmpComplete(const Bytes &b) {
  constexpr std::uint32_t Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6;
  if (!b.startsWith(0, "BM")) return false;
  const auto offBits = b.le(10, 4);
  const auto headerSize = b.le(14, 4);
  if (!offBits || !headerSize) return false;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::optional<std::uint32_t> bitCount;
  std::uint32_t compression = Rgb;
  std::int64_t paletteEntry = 4;
  std::int64_t colorsUsed = 0;
  if (*headerSize == 12) { // the old core header
    const auto w = b.le(18, 2), h = b.le(20, 2);
    bitCount = b.le(24, 2);
    if (!w || !h) return false;
    width = *w;
    height = *h;
    paletteEntry = 3;
  } else if (*headerSize >= 40) {
    const auto w = b.le(18, 4), h = b.le(22, 4), c = b.le(30, 4), used = b.le(46, 4);
    bitCount = b.le(28, 2);
    if (!w || !h || !c || !used) return false;
    width = static_cast<std::int32_t>(*w);
    height = static_cast<std::int32_t>(*h);
    compression = *c;
    colorsUsed = *used;
  } else {
    return false;
  }
  const std::int64_t rows = height < 0 ? -height : height;
  if (!bitCount || width <= 0 || rows == 0 || width > MaxSide || rows > MaxSide) return false;
  const std::int64_t bits = *bitCount;
  if (bits == 0 || bits > 32) return false;
  if (bits <= 8) {
    const std::int64_t colors = colorsUsed != 0 ? colorsUsed : (std::int64_t{1} << bits);
    if (!b.has(14 + *headerSize, colors * paletteEntry)) return false;
  }
  switch (compression) {
  case Rgb:
  case BitFields:
  case AlphaBitFields: {
    const std::int64_t stride = (width * bits + 31) / 32 * 4;
    return b.has(*offBits, stride * rows);
  }
  case Rle8:
    return bits == 8 && rleComplete(b, *offBits, false);
  case Rle4:
    return bits == 4 && rleComplete(b, *offBits, true);
  default:
    return false;
  }
}

// Sub-blocks: a size byte, that many bytes, until a zero size.
std::optional<std::int64_t> skipSubBlocks(const Bytes &b, std::int64_t at) {
  while (true) {
    const auto size = b.u8(at);
    if (!size) return std::nullopt;
    ++at;
    if (*size == 0) return at;
    if (!b.has(at, *size)) return std::nullopt;
    at += *size;
  }
}

bool gifComplete(const Bytes &b) {
  if (!b.startsWith(0, "GIF87a") && !b.startsWith(0, "GIF89a")) return false;
  const auto screenFlags = b.u8(10);
  if (!screenFlags) return false;
  std::int64_t at = 13;
  if (*screenFlags & 0x80) at += 3 * (std::int64_t{1} << ((*screenFlags & 7) + 1));
  bool image = false;
  while (true) {
    const auto introducer = b.u8(at);
    if (!introducer) return false;
    ++at;
    std::optional<std::int64_t> next;
    if (*introducer == 0x3B) return image;
    if (*introducer == 0x21) {
      next = skipSubBlocks(b, at + 1); // after the label
    } else if (*introducer == 0x2C) {
      const auto flags = b.u8(at + 8);
      if (!flags) return false;
      at += 9;
      if (*flags & 0x80) at += 3 * (std::int64_t{1} << ((*flags & 7) + 1));
      next = skipSubBlocks(b, at + 1); // after the LZW code size
      image = true;
    }
    if (!next) return false;
    at = *next;
  }
}

bool pngComplete(const Bytes &b) {
  if (!b.startsWith(0, "\x89PNG\r\n\x1A\n")) return false;
  std::int64_t at = 8;
  while (true) {
    const auto length = b.be32(at);
    if (!length || !b.has(at + 8, std::int64_t{*length} + 4)) return false;
    if (b.startsWith(at + 4, "IEND")) return true;
    at += 12 + std::int64_t{*length};
  }
}

} // namespace

bool PictureIsComplete(std::span<const std::uint8_t> bytes, PictureFormat format) {
  const Bytes b(bytes);
  switch (format) {
  case PictureFormat::Gif:
    return gifComplete(b);
  case PictureFormat::Bmp:
    return bmpComplete(b);
  case PictureFormat::Png:
    break;
  }
  return pngComplete(b);
}

} // namespace framework
