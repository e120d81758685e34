#pragma once

#include "common/FramedWindow.h"
#include "skin/style/StyleReads.h"
#include "skin/style/ThemeEntries.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <cstdint>
#include <map>
#include <set>
#include <utility>

namespace skin::test {

inline QImage Solid(QSize size, QColor color) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

// The pixels of one colour in an image.
inline std::set<std::pair<int, int>> PixelsOf(const QImage &image, QColor colour) {
  std::set<std::pair<int, int>> found;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == colour) found.emplace(x, y);
  return found;
}

// Part `part` of the style's 18-part title-button strip.
inline QImage TitleButtonPart(TsuiUIStyle style, int part) {
  QImage picture;
  style::GetStyleImagePart(style, style::StyleEntry::TitleBarButtonImage, picture, part, 18);
  return picture;
}

inline void Enter(QWidget &widget) {
  QEnterEvent event(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
  QApplication::sendEvent(&widget, &event);
}

inline void Mouse(QWidget &widget, QEvent::Type type, QPoint at) {
  QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

// A theme holding exactly the entries a test gives it, loaded unless told otherwise.
class FakeTheme : public style::ThemeEntries {
public:
  bool Loaded() const override { return loaded; }
  bool Image(style::StyleEntry entry, QImage &bitmap) const override {
    const auto found = images.find(entry);
    if (found == images.end()) return false;
    bitmap = found->second;
    return true;
  }
  std::int64_t Number(style::StyleEntry entry) const override {
    const auto found = numbers.find(entry);
    return found == numbers.end() ? -1 : found->second;
  }
  bool Bool(style::StyleEntry entry) const override {
    const auto found = bools.find(entry);
    return found != bools.end() && found->second;
  }

  bool loaded = true;
  std::map<style::StyleEntry, QImage> images;
  std::map<style::StyleEntry, std::int64_t> numbers;
  std::map<style::StyleEntry, bool> bools;
};

} // namespace skin::test
