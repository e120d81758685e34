#pragma once

#include "framework/Canvas.h"

#include <QImage>

#include <array>
#include <optional>

namespace skin::style {

// Drawing operations the skinned controls share.

// The transparent colour of a picture that names it in its bottom-left pixel; none for a null
// picture.
std::optional<framework::TColor> BottomLeftKey(const QImage &picture);

// A capsule filling `r`: ends rounded with a radius of half the height (8 at most), a vertical
// gradient through three colours (top, middle, bottom) and a one-pixel outline. Pixels outside the
// rounded ends stay untouched.
void DrawCapsule(framework::Canvas &canvas, const framework::TRect &r,
                 const std::array<framework::TColor, 3> &gradient, framework::TColor outline);

// Draws `picture`, three equal columns side by side, across `r`: the outer columns unscaled at the
// left and right ends, the middle one stretched between them. Magenta is transparent, or with
// `keyFromPixel` the colour of the top-left pixel (`cornerFromTop`) or of the bottom-left one.
void DrawThreePart(const QImage &picture, framework::Canvas &canvas, const framework::TRect &r,
                   bool cornerFromTop, bool keyFromPixel);

// A dotted frame on the border pixels of `r`: every other pixel, starting at the top-left one.
void DrawFocusRect(framework::Canvas &canvas, const framework::TRect &r, framework::TColor color);

} // namespace skin::style
