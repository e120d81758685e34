#include "framework/PictureLoader.h"

#include "framework/files/RegularFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace framework {
namespace {

// The whole content of a regular file, or none: a FIFO or a device is never opened.
std::optional<QByteArray> readRegularFile(const QString &path) {
  if (path.startsWith(QLatin1String(":/"))) { // compiled in
    QFile resource(path);
    if (!resource.open(QIODevice::ReadOnly) || resource.size() > MaxPictureFileBytes)
      return std::nullopt;
    return resource.readAll();
  }
  const QByteArray name = QFile::encodeName(path);
  if (name.isEmpty()) return std::nullopt;
  FileContents file = ReadRegularFile(name.toStdString(), MaxPictureFileBytes);
  if (file.State != FileContents::Status::Read) return std::nullopt;
  return QByteArray::fromStdString(file.Text);
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
  const QSize size = reader.size();
  if (!size.isValid() || std::int64_t{size.width()} * size.height() > MaxPicturePixels)
    return std::nullopt;
  QImage image;
  if (!reader.read(&image) || image.isNull()) return std::nullopt;
  return image;
}

} // namespace framework
