#include "skin/TsuiFileThemeMgr.h"

#include "skin/style/StyleReads.h"

namespace skin {

bool TsuiFileThemeMgr::GetImage(std::string_view key, QImage &bitmap) const {
  QImage image = m_reader->Image(key);
  if (image.isNull()) return false;
  bitmap = std::move(image);
  return true;
}

bool TsuiFileThemeMgr::GetImagePart(std::string_view key, QImage &bitmap, int part,
                                    int count) const {
  if (count == 0) return GetImage(key, bitmap);
  QImage cut = style::CutStrip(m_reader->Image(key), part, count);
  if (cut.isNull()) return false;
  bitmap = std::move(cut);
  return true;
}

framework::TColor TsuiFileThemeMgr::GetColor(std::string_view key) const {
  const auto value = m_reader->Integer(key);
  return value ? static_cast<framework::TColor>(*value) : style::AbsentColor;
}

int TsuiFileThemeMgr::GetInt(std::string_view key) const {
  return m_reader->Integer(key).value_or(-1);
}

bool TsuiFileThemeMgr::GetBool(std::string_view key) const {
  return m_reader->Boolean(key).value_or(false);
}

} // namespace skin
