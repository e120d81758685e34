#pragma once

#include <cstdint>
#include <span>

namespace framework {

enum class PictureFormat { Gif, Bmp, Png };

// Whether `bytes` hold every part that the picture's own headers announce: the pixel rows of a
// bitmap (or its run-length stream up to the end marker), every block of a GIF up to its
// trailer, every chunk of a PNG up to IEND. Says nothing about the pixels themselves. Plain
// C++, for the fuzz target.
bool PictureIsComplete(std::span<const std::uint8_t> bytes, PictureFormat format);

} // namespace framework
