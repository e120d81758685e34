#pragma once

#include "SkinTestHelpers.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cmath>

namespace skin::test {

inline QColor Rgb(framework::TColor c) {
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// The window as it shows: the frame with the panel and its title bar over it.
inline QImage Shown(QWidget &window) {
  return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Runs `action`, which must open a modal message box; answers the box's icon and text and
// closes it. An action that opens none answers an empty text.
template <class Action> std::pair<QMessageBox::Icon, QString> ErrorBoxOf(Action action) {
  std::pair<QMessageBox::Icon, QString> seen{QMessageBox::NoIcon, QString()};
  QTimer::singleShot(0, [&] {
    if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
      seen = {box->icon(), box->text()};
      box->accept();
    }
  });
  action();
  QApplication::processEvents(); // the timer, if no box ran a loop of its own
  return seen;
}

// A region built pixel by pixel from circle tests: the expected window shape.
inline QRegion RegionByPixels(QSize size, int top, int bottom) {
  const int w = size.width(), h = size.height();
  const auto inCorner = [](int x, int y, int cx, int cy, int r) {
    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
    return dx * dx + dy * dy <= double(r) * r;
  };
  QRegion region;
  for (int y = 0; y < h; ++y) {
    int start = -1;
    for (int x = 0; x <= w; ++x) {
      bool in = x < w;
      if (in && y < top && x < top) in = inCorner(x, y, top, top, top);
      if (in && y < top && x >= w - top) in = inCorner(x, y, w - top, top, top);
      if (in && y >= h - bottom && x < bottom) in = inCorner(x, y, bottom, h - bottom, bottom);
      if (in && y >= h - bottom && x >= w - bottom)
        in = inCorner(x, y, w - bottom, h - bottom, bottom);
      if (in && start < 0) start = x;
      if (!in && start >= 0) {
        region += QRect(start, y, x - start, 1);
        start = -1;
      }
    }
  }
  return region;
}

} // namespace skin::test
