#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>

namespace framework {

enum class PictureFormat { Gif, Bmp, Png };

// Larger picture files are refused unread; the program's pictures are a few kilobytes.
inline constexpr std::int64_t MaxPictureFileBytes = 16 * 1024 * 1024;

// The one picture loader of the program, for outside files and our own compiled-in pictures
// (":/..." paths) alike. Only a regular file (or a link to one) is read, so a FIFO or device
// under a picture's name never blocks. The file is decoded by the reader of `format` only, and
// must hold the whole picture its headers announce: a cut file is refused, never shown in part.
// None when the file is missing, not regular, too large, cut or damaged.
std::optional<QImage> LoadPicture(const QString &path, PictureFormat format);

// Whether `bytes` hold every part that the picture's own headers announce: the pixel rows of a
// bitmap (or its run-length stream up to the end marker), every block of a GIF up to its
// trailer, every chunk of a PNG up to IEND. Says nothing about the pixels themselves.
bool PictureIsComplete(QByteArrayView bytes, PictureFormat format);

} // namespace framework
