#pragma once

#include "framework/PictureFile.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>

namespace framework {

// Larger picture files are refused unread; the program's pictures are a few kilobytes.
inline constexpr std::int64_t MaxPictureFileBytes = 16 * 1024 * 1024;
// Larger pictures are refused before they are decoded: a few bytes of run-length code can declare
// more than Qt's readers allocate, and they say so on standard error when they refuse.
inline constexpr std::int64_t MaxPicturePixels = 4096 * 4096;

// The one picture loader of the program, for outside files and our own compiled-in pictures
// (":/..." paths) alike. Only a regular file (or a link to one) is read, so a FIFO or device
// under a picture's name never blocks. The file is decoded by the reader of `format` only, and
// must hold the whole picture its headers announce: a cut file is refused, never shown in part.
// None when the file is missing, not regular, too large, cut or damaged, or the picture larger
// than MaxPicturePixels.
std::optional<QImage> LoadPicture(const QString &path, PictureFormat format);

} // namespace framework
