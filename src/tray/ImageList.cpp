#include "tray/ImageList.h"

namespace tray {

int TImageList::Add(const QIcon &image) {
  m_images.push_back(image);
  return Count() - 1;
}

void TImageList::Delete(int index) {
  if (index >= 0 && index < Count()) m_images.erase(m_images.begin() + index);
}

QIcon TImageList::GetIcon(int index) const {
  if (index < 0 || index >= Count()) return QIcon();
  return m_images[static_cast<std::size_t>(index)];
}

} // namespace tray
