#include "skin/TsuiFileThemeMgr.h"

namespace skin {

void TsuiFileThemeMgr::GetImage(std::string_view key, QImage &bitmap) const {
  QImage image = m_reader->Image(key);
  if (!image.isNull()) bitmap = std::move(image);
}

void TsuiFileThemeMgr::GetImagePart(std::string_view key, QImage &bitmap, int part,
                                    int count) const {
  if (count == 0) return GetImage(key, bitmap);
  const QImage image = m_reader->Image(key);
  if (image.isNull() || count < 0 || part < 1 || part > count) return;
  const int width = image.width() / count;
  if (width == 0) return;
  bitmap = image.copy(width * (part - 1), 0, width, image.height());
}

framework::TColor TsuiFileThemeMgr::GetColor(std::string_view key) const {
  return static_cast<framework::TColor>(m_reader->Integer(key).value_or(Absent));
}

int TsuiFileThemeMgr::GetInt(std::string_view key) const {
  return m_reader->Integer(key).value_or(Absent);
}

bool TsuiFileThemeMgr::GetBool(std::string_view key) const {
  return m_reader->Boolean(key).value_or(false);
}

} // namespace skin
