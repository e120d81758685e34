#pragma once

#include "SkinTestHelpers.h"
#include "ThemeFileSamples.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiFileTheme.h"

#include <QKeyEvent>
#include <QTemporaryDir>

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
    WriteFile(path.toStdString(), *theme::WriteThemeFile(entries));
    theme.SetThemeFile(path);
  }
  QTemporaryDir dir;
  int files = 0;
  TsuiFileTheme theme;
};

// An opaque button of one flat colour, so that caption pixels stand out.
struct FlatButton {
  explicit FlatButton(QWidget *parent) : button(parent) {
    button.SetFileTheme(&theme.theme);
    button.SetUIStyle(TsuiUIStyle::FromThemeFile);
    button.setGeometry(0, 0, 80, 27);
    button.SetFont({QStringLiteral("MS Sans Serif"), -13, true, false, false, framework::clBlue});
  }
  ButtonThemeFile theme{ButtonThemeFile::Strip(QSize(20, 20), Qt::black, Qt::black, Qt::black)};
  TsuiButton button;
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

} // namespace skin::test
