#pragma once

#include "framework/Canvas.h"
#include "widgets/aa/TCnAAMask.h"

#include <QImage>

#include <cstdint>
#include <vector>

namespace aatest {

using Rows = std::vector<std::vector<int>>;

// An 8-bit surface with the given values, as the rasteriser would leave it.
inline QImage Surface(const Rows &rows) {
  QImage image(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()),
               QImage::Format_Grayscale8);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      image.scanLine(y)[x] =
          static_cast<std::uint8_t>(rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
  return image;
}

// A mask holding exactly `rows` (quality aqNone reduces 1 x 1).
inline widgets::aa::TCnAAMask Mask(const Rows &rows) {
  widgets::aa::TCnAAMask mask;
  mask.SetQuality(widgets::aa::TAAQuality::aqNone);
  mask.SetSize(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
  mask.Reduce(Surface(rows));
  return mask;
}

inline Rows Values(const widgets::aa::TCnAAMask &mask) {
  Rows rows(static_cast<std::size_t>(mask.Height()));
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x)
      rows[static_cast<std::size_t>(y)].push_back(mask.Value(x, y));
  return rows;
}

// A 32-bit image of one colour.
inline QImage Filled(int width, int height, framework::TColor color) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(framework::ToQRgb(color));
  return image;
}

inline framework::TColor At(const QImage &image, int x, int y) {
  return framework::FromQRgb(image.pixel(x, y));
}

// Same size and the same colour at every pixel, whatever the alpha.
inline bool SameRgb(const QImage &a, const QImage &b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (At(a, x, y) != At(b, x, y)) return false;
  return true;
}

// The bounding box of the pixels that differ from `background`; empty when none does.
inline QRect InkBox(const QImage &image, framework::TColor background) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (At(image, x, y) != background) box |= QRect(x, y, 1, 1);
  return box;
}

} // namespace aatest
