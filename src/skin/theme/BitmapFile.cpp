#include "skin/theme/BitmapFile.h"

#include "skin/theme/LittleEndian.h"
#include "skin/theme/ThemeFile.h"

#include <cstddef>

namespace skin::theme {

namespace {

constexpr std::size_t FileHeaderBytes = 14;
constexpr std::size_t CoreHeaderBytes = 12;
constexpr std::size_t InfoHeaderBytes = 40;
// Version 5 is the largest information header there is.
constexpr std::uint32_t MaxInfoHeaderBytes = 124;

constexpr std::uint32_t Rgb = 0;
constexpr std::uint32_t Rle8 = 1;
constexpr std::uint32_t Rle4 = 2;
constexpr std::uint32_t BitFields = 3;

bool KnownDepth(std::uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::int64_t RowBytes(std::int64_t width, std::int64_t bits) {
  return (width * bits + 31) / 32 * 4;
}

struct Checked {
  BitmapCheck Check = BitmapCheck::NotReadable;
  std::int64_t Pixels = 0;
};

Checked Check(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < FileHeaderBytes + CoreHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M')
    return {};
  const std::uint32_t pixelOffset = ReadU32(bytes, 10);
  const std::uint32_t infoBytes = ReadU32(bytes, FileHeaderBytes);

  std::int64_t width = 0, height = 0;
  std::uint32_t planes = 0, bits = 0, compression = Rgb, colours = 0;
  if (infoBytes == CoreHeaderBytes) {
    width = ReadU16(bytes, 18);
    height = ReadU16(bytes, 20);
    planes = ReadU16(bytes, 22);
    bits = ReadU16(bytes, 24);
  } else {
    if (infoBytes < InfoHeaderBytes || infoBytes > MaxInfoHeaderBytes ||
        bytes.size() < FileHeaderBytes + infoBytes)
      return {};
    width = static_cast<std::int32_t>(ReadU32(bytes, 18));
    height = static_cast<std::int32_t>(ReadU32(bytes, 22));
    planes = ReadU16(bytes, 26);
    bits = ReadU16(bytes, 28);
    compression = ReadU32(bytes, 30);
    colours = ReadU32(bytes, 46);
  }
  if (height < 0) height = -height; // rows from the top; int64 holds -INT32_MIN
  if (width <= 0 || height == 0 || planes != 1 || !KnownDepth(bits)) return {};
  // A palette larger than the depth indexes makes the decoder complain about every extra colour.
  if (bits <= 8 && colours > (1u << bits)) return {};
  if (width > MaxBitmapSide || height > MaxBitmapSide || width * height > MaxBitmapPixels)
    return {BitmapCheck::TooLarge};

  const bool rle = compression == Rle8 || compression == Rle4;
  if (compression == Rle8 && bits != 8) return {};
  if (compression == Rle4 && bits != 4) return {};
  if (compression == BitFields && bits != 16 && bits != 32) return {};
  if (!rle && compression != Rgb && compression != BitFields) return {};

  if (pixelOffset < FileHeaderBytes + infoBytes || pixelOffset >= bytes.size()) return {};
  const Checked readable{BitmapCheck::Readable, width * height};
  if (rle) return readable;
  const std::int64_t pixelBytes = RowBytes(width, bits) * height;
  if (pixelBytes > static_cast<std::int64_t>(bytes.size() - pixelOffset)) return {};
  return readable;
}

} // namespace

BitmapCheck CheckBitmapFile(std::span<const std::uint8_t> bytes) {
  return Check(bytes).Check;
}

std::int64_t BitmapPixels(std::span<const std::uint8_t> bytes) {
  return Check(bytes).Pixels;
}

std::vector<std::uint8_t> WriteBitmapFile24(int width, int height,
                                            std::span<const std::uint32_t> pixels) {
  if (width <= 0 || height <= 0 || width > MaxBitmapSide || height > MaxBitmapSide ||
      std::int64_t{width} * height > MaxBitmapPixels ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return {};
  const auto row = static_cast<std::size_t>(RowBytes(width, 24));
  const std::size_t pixelOffset = FileHeaderBytes + InfoHeaderBytes;
  const std::size_t total = pixelOffset + row * static_cast<std::size_t>(height);

  std::vector<std::uint8_t> file;
  file.reserve(total);
  file.push_back('B');
  file.push_back('M');
  AppendU32(file, static_cast<std::uint32_t>(total));
  AppendU32(file, 0);
  AppendU32(file, static_cast<std::uint32_t>(pixelOffset));
  AppendU32(file, InfoHeaderBytes);
  AppendU32(file, static_cast<std::uint32_t>(width));
  AppendU32(file, static_cast<std::uint32_t>(height));
  AppendU16(file, 1);  // planes
  AppendU16(file, 24); // bits per pixel
  AppendU32(file, Rgb);
  AppendU32(file, static_cast<std::uint32_t>(row * static_cast<std::size_t>(height)));
  AppendU32(file, 2835); // 72 dots per inch, in dots per metre
  AppendU32(file, 2835);
  AppendU32(file, 0); // colours used
  AppendU32(file, 0); // important colours

  const auto w = static_cast<std::size_t>(width);
  for (std::size_t y = static_cast<std::size_t>(height); y-- > 0;) {
    for (std::size_t x = 0; x < w; ++x) {
      const std::uint32_t p = pixels[y * w + x];
      file.push_back(static_cast<std::uint8_t>(p));       // blue
      file.push_back(static_cast<std::uint8_t>(p >> 8));  // green
      file.push_back(static_cast<std::uint8_t>(p >> 16)); // red
    }
    file.resize(file.size() + row - 3 * w, 0);
  }
  return file;
}

} // namespace skin::theme
