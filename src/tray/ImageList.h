#pragma once

#include <QIcon>
#include <QObject>

#include <vector>

namespace tray {

// A list of same-sized pictures that components pick from by index. A QObject, so that
// components referring to it hear when it goes away.
class TImageList : public QObject {
  Q_OBJECT
public:
  explicit TImageList(QObject *owner = nullptr) : QObject(owner) {}

  int Count() const { return static_cast<int>(m_images.size()); }
  int Add(const QIcon &image);
  void Delete(int index);
  void Clear() { m_images.clear(); }
  // An empty icon for an index outside the list.
  QIcon GetIcon(int index) const;

private:
  std::vector<QIcon> m_images;
};

} // namespace tray
