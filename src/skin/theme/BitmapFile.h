#pragma once

// Bitmap file images ("BM" files) as theme files carry them: their headers checked before any
// decoder sees the bytes, and a plain 24-bit writer.
//
// A file header of 14 bytes ("BM", file size, reserved, offset of the pixels) and an information
// header (12 bytes for the old core header, else 40 or more) with width, height (negative: rows
// from the top), planes (1), bits per pixel and compression. Rows are padded to 4 bytes.

#include <cstdint>
#include <span>
#include <vector>

namespace skin::theme {

enum class BitmapCheck {
  Readable,
  NotReadable, // not a bitmap file, or headers and pixels that do not fit together
  TooLarge,    // declares more than MaxBitmapSide or MaxBitmapPixels
};

// Looks at the headers only, never outside `bytes`. Uncompressed pixels must all lie in the file;
// run-length coded ones cannot be measured before decoding and only need to start in it.
BitmapCheck CheckBitmapFile(std::span<const std::uint8_t> bytes);

// Width times height as the headers declare them; 0 for what CheckBitmapFile does not find
// readable.
std::int64_t BitmapPixels(std::span<const std::uint8_t> bytes);

// A bottom-up 24-bit uncompressed file of `pixels` (0x00RRGGBB, rows from the top). Empty when
// the size is not positive, not within the limits or does not match the pixels.
std::vector<std::uint8_t> WriteBitmapFile24(int width, int height,
                                            std::span<const std::uint32_t> pixels);

} // namespace skin::theme
