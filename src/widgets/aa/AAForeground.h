#pragma once

#include "framework/Colors.h"
#include "widgets/aa/AATypes.h"

#include <QImage>
#include <QSize>

namespace widgets::aa {

class AARandom;

// The fills of the foreground bitmap, each built at the mask's size as a 24-bit image.

// A ramp from one colour to the other along the width or the height; the centre styles mirror it
// so both ends carry the end colour.
void GradientForeground(QImage &foreground, QSize size, TGradualStyle style,
                        framework::TColor startColor, framework::TColor endColor);
// The font colour with the picture drawn over it as `mode` places it.
void TextureForeground(QImage &foreground, QSize size, framework::TColor fontColor,
                       const QImage &picture, TTextureMode mode);
// The font colour with every channel moved by rnd(noise) - noise / 2, clamped.
void NoiseForeground(QImage &foreground, QSize size, framework::TColor fontColor, int noise,
                     AARandom &rnd);
// The same change applied to every channel byte of an existing foreground.
void AddNoise(QImage &foreground, int noise, AARandom &rnd);

// A picture with its transparency flattened onto `back`, ready to be drawn pixel for pixel.
QImage OpaquePicture(const QImage &picture, framework::TColor back);

} // namespace widgets::aa
