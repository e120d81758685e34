#pragma once

#include "SkinTestHelpers.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiFileTheme.h"
#include "skin/theme/BitmapFile.h"
#include "skin/theme/ThemeFile.h"

#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <set>
#include <utility>

namespace skin::test {

// A theme file whose only picture is the button strip (none without one), loaded into a file
// theme: opaque buttons with plain-coloured states.
struct ButtonThemeFile {
  explicit ButtonThemeFile(const QImage &strip = {}, QObject *owner = nullptr) : theme(owner) {
    Load(strip);
  }
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
  // Loads a new file holding `strip`.
  void Load(const QImage &strip) {
    std::vector<theme::ThemeEntry> entries{theme::ThemeEntry::Integer("FormMinWidthInt", 130)};
    if (!strip.isNull()) {
      std::vector<std::uint32_t> pixels;
      for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x)
          pixels.push_back(strip.pixel(x, y) & 0xFFFFFF);
      entries.push_back(theme::ThemeEntry::Image(
          "ButtonImage", theme::WriteBitmapFile24(strip.width(), strip.height(), pixels)));
    }
    const QString path = dir.filePath(QStringLiteral("button%1.skn").arg(++files));
    QFile file(path);
    const auto bytes = theme::WriteThemeFile(entries);
    if (bytes && file.open(QIODevice::WriteOnly))
      file.write(reinterpret_cast<const char *>(bytes->data()), static_cast<qint64>(bytes->size()));
    file.close();
    theme.SetThemeFile(path);
  }
  QTemporaryDir dir;
  int files = 0;
  TsuiFileTheme theme;
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
