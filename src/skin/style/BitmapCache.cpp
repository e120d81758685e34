#include "skin/style/BitmapCache.h"

#include <QImageReader>

namespace skin::style {

BitmapCache::BitmapCache(QString root) : m_root(std::move(root)) {}

QImage BitmapCache::Bitmap(std::string_view resource) {
  const std::optional<CatalogueEntry> entry = FindBitmap(resource);
  if (!entry) return {};
  auto &set = m_sets[entry->StyleIndex < 0 ? BuiltInStyleCount
                                           : static_cast<std::size_t>(entry->StyleIndex)];
  if (const auto known = set.find(resource); known != set.end()) return known->second;

  const QString name =
      QString::fromLatin1(resource.data(), static_cast<qsizetype>(resource.size()));
  QImageReader reader(m_root + QLatin1Char('/') + name + QStringLiteral(".bmp"), "bmp");
  // Guessing would load every image plugin (and their libraries) before the bitmap reader is
  // tried: the built-in pictures are always bitmaps.
  reader.setAutoDetectImageFormat(false);
  QImage picture = reader.read();
  // One pixel format for all, so that cutting and key colours need not care how a file was saved.
  if (!picture.isNull()) picture = picture.convertToFormat(QImage::Format_RGB32);
  // A picture that cannot be read is remembered too: painting must not retry it every time.
  return set.emplace(std::string(resource), picture).first->second;
}

std::size_t BitmapCache::Loaded() const {
  std::size_t count = 0;
  for (const auto &set : m_sets)
    count += set.size();
  return count;
}

void BitmapCache::Clear() {
  for (auto &set : m_sets)
    set.clear();
}

BitmapCache &BuiltInBitmaps() {
  static BitmapCache cache(QStringLiteral(":/skin"));
  return cache;
}

} // namespace skin::style
