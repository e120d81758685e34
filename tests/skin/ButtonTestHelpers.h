#pragma once

#include "SkinTestHelpers.h"
#include "skin/TsuiButton.h"
#include "skin/style/ThemeEntries.h"

#include <QKeyEvent>

#include <set>
#include <utility>

namespace skin::test {

// A theme whose only entry is the button strip: opaque buttons with plain-coloured states.
class ButtonTheme : public style::ThemeEntries {
public:
  explicit ButtonTheme(QImage strip = {}) : m_strip(std::move(strip)) {}
  // Three states of `size`, each one colour.
  static QImage Strip(QSize size, QColor normal, QColor over, QColor pressed) {
    QImage strip(size.width() * 3, size.height(), QImage::Format_RGB32);
    const QColor colours[] = {normal, over, pressed};
    for (int part = 0; part < 3; ++part)
      for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
          strip.setPixelColor(part * size.width() + x, y, colours[part]);
    return strip;
  }
  bool Loaded() const override { return true; }
  bool Image(style::StyleEntry entry, QImage &bitmap) const override {
    if (entry != style::StyleEntry::ButtonImage || m_strip.isNull()) return false;
    bitmap = m_strip;
    return true;
  }
  std::int64_t Number(style::StyleEntry) const override { return -1; }
  bool Bool(style::StyleEntry) const override { return false; }

private:
  QImage m_strip;
};

inline void Key(QWidget &target, QEvent::Type type, int key,
                Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = {}) {
  QKeyEvent event(type, key, modifiers, text);
  QApplication::sendEvent(&target, &event);
}

// A shown, active window, so that focus and visibility are real.
inline void ShowActive(QWidget &window) {
  window.show();
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  QApplication::processEvents();
}

// The pixels of one colour in an image.
inline std::set<std::pair<int, int>> PixelsOf(const QImage &image, QColor colour) {
  std::set<std::pair<int, int>> found;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == colour) found.emplace(x, y);
  return found;
}

} // namespace skin::test
