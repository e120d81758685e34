#include "framework/PictureLoader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace framework {
namespace {

// The whole content of a regular file, or none. The type is checked before opening, so that a
// FIFO or a device is never opened, and again on the open file, for one swapped in meanwhile.
std::optional<QByteArray> readRegularFile(const QString &path) {
  if (path.startsWith(QLatin1String(":/"))) { // compiled in
    QFile resource(path);
    if (!resource.open(QIODevice::ReadOnly) || resource.size() > MaxPictureFileBytes)
      return std::nullopt;
    return resource.readAll();
  }
  const QByteArray name = QFile::encodeName(path);
  struct stat info = {};
  if (name.isEmpty() || ::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
    return std::nullopt;
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > MaxPictureFileBytes)
    return std::nullopt;
  QByteArray content;
  char chunk[65536];
  while (true) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) return content;
    // The file may grow while it is read.
    if (content.size() + got > MaxPictureFileBytes) return std::nullopt;
    content.append(chunk, got);
  }
}

const char *readerName(PictureFormat format) {
  switch (format) {
  case PictureFormat::Gif:
    return "gif";
  case PictureFormat::Bmp:
    return "bmp";
  case PictureFormat::Png:
    break;
  }
  return "png";
}

} // namespace

std::optional<QImage> LoadPicture(const QString &path, PictureFormat format) {
  std::optional<QByteArray> content = readRegularFile(path);
  if (!content) return std::nullopt;
  const std::span<const std::uint8_t> bytes(
      reinterpret_cast<const std::uint8_t *>(content->constData()),
      static_cast<std::size_t>(content->size()));
  if (!PictureIsComplete(bytes, format)) return std::nullopt;
  QBuffer buffer(&*content);
  if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
  QImageReader reader(&buffer, readerName(format));
  // The format names the reader; contents that reader cannot read fail rather than being
  // guessed at.
  reader.setAutoDetectImageFormat(false);
  QImage image;
  if (!reader.read(&image) || image.isNull()) return std::nullopt;
  return image;
}

} // namespace framework
