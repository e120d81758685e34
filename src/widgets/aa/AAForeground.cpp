#include "widgets/aa/AAForeground.h"

#include "framework/Canvas.h"
#include "widgets/aa/AARandom.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace widgets::aa {

namespace {

void Reset(QImage &foreground, QSize size) {
  if (foreground.size() != size || foreground.format() != QImage::Format_RGB32)
    foreground = QImage(size, QImage::Format_RGB32);
}

int Noisy(int channel, int noise, AARandom &rnd) {
  return std::clamp(channel + rnd(noise) - noise / 2, 0, 255);
}

} // namespace

void GradientForeground(QImage &foreground, QSize size, TGradualStyle style,
                        framework::TColor startColor, framework::TColor endColor) {
  Reset(foreground, size);
  if (foreground.isNull()) return;
  const bool horizontal = style == gsLeftToRight || style == gsRightToLeft || style == gsCenterToLR;
  const bool centre = style == gsCenterToLR || style == gsCenterToTB;
  const bool forward = style == gsLeftToRight || style == gsTopToBottom;
  const int length = horizontal ? size.width() : size.height();
  const int n = centre ? (length + 1) / 2 : length;
  const framework::TColor c1 = framework::ColorToRGB(forward ? startColor : endColor);
  const framework::TColor c2 = framework::ColorToRGB(forward ? endColor : startColor);

  std::vector<std::uint32_t> ramp(static_cast<std::size_t>(length));
  const auto channel = [n](int a, int b, int i) { return a + i * (b - a) / n; };
  for (int i = 0; i < n; ++i)
    ramp[static_cast<std::size_t>(i)] = framework::ToQRgb(
        framework::RGBColor(channel(framework::GetRValue(c1), framework::GetRValue(c2), i),
                            channel(framework::GetGValue(c1), framework::GetGValue(c2), i),
                            channel(framework::GetBValue(c1), framework::GetBValue(c2), i)));
  if (centre)
    for (int i = 0; i < n; ++i)
      ramp[static_cast<std::size_t>(length - 1 - i)] = ramp[static_cast<std::size_t>(i)];

  for (int y = 0; y < size.height(); ++y) {
    auto *row = reinterpret_cast<std::uint32_t *>(foreground.scanLine(y));
    if (horizontal)
      std::copy(ramp.begin(), ramp.end(), row);
    else
      std::fill(row, row + size.width(), ramp[static_cast<std::size_t>(y)]);
  }
}

QImage OpaquePicture(const QImage &picture, framework::TColor back) {
  if (picture.isNull() || !picture.hasAlphaChannel())
    return picture.convertToFormat(QImage::Format_RGB32);
  QImage flat(picture.size(), QImage::Format_RGB32);
  flat.fill(framework::ToQRgb(back));
  QPainter painter(&flat);
  painter.drawImage(0, 0, picture);
  return flat;
}

void TextureForeground(QImage &foreground, QSize size, framework::TColor fontColor,
                       const QImage &picture, TTextureMode mode) {
  Reset(foreground, size);
  if (foreground.isNull()) return;
  foreground.fill(framework::ToQRgb(fontColor));
  const QImage source = OpaquePicture(picture, fontColor);
  if (source.isNull()) return;
  framework::Canvas canvas(foreground);
  const framework::TRect all{0, 0, size.width(), size.height()};
  switch (mode) {
  case tmTiled:
    canvas.TileDraw(all, source);
    break;
  case tmStretched:
    canvas.StretchDraw(all, source);
    break;
  case tmCenter:
    canvas.Draw((size.width() - source.width()) / 2, (size.height() - source.height()) / 2, source);
    break;
  case tmNormal:
    canvas.Draw(0, 0, source);
    break;
  }
}

void NoiseForeground(QImage &foreground, QSize size, framework::TColor fontColor, int noise,
                     AARandom &rnd) {
  Reset(foreground, size);
  if (foreground.isNull()) return;
  const framework::TColor rgb = framework::ColorToRGB(fontColor);
  for (int y = 0; y < size.height(); ++y) {
    auto *row = reinterpret_cast<std::uint32_t *>(foreground.scanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      const int r = Noisy(framework::GetRValue(rgb), noise, rnd);
      const int g = Noisy(framework::GetGValue(rgb), noise, rnd);
      const int b = Noisy(framework::GetBValue(rgb), noise, rnd);
      row[x] = framework::ToQRgb(framework::RGBColor(r, g, b));
    }
  }
}

void AddNoise(QImage &foreground, int noise, AARandom &rnd) {
  for (int y = 0; y < foreground.height(); ++y) {
    auto *row = reinterpret_cast<std::uint32_t *>(foreground.scanLine(y));
    for (int x = 0; x < foreground.width(); ++x) {
      std::uint32_t pixel = 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8)
        pixel |= static_cast<std::uint32_t>(
                     Noisy(static_cast<int>((row[x] >> shift) & 0xFF), noise, rnd))
                 << shift;
      row[x] = pixel;
    }
  }
}

} // namespace widgets::aa
