#include "skin/theme/ThemeNumbers.h"

#include <array>
#include <utility>

namespace skin::theme {

namespace {

// Well beyond every built-in style, well short of overflowing the window's arithmetic: a border
// as wide as a title bar is high, corners and offsets no wider than a title bar's pictures, and a
// minimum width that still fits a screen.
constexpr std::array<std::pair<std::string_view, NumberRange>, 7> Ranges = {{
    {"FormBorderWidthInt", {-1, 32}},
    {"FormRoundCornerInt", {-1, 255}},
    {"FormBottomRoundCornerInt", {-1, 255}},
    {"FormMinWidthInt", {-1, 4096}},
    {"TitleBarButtonLeftOffsetInt", {-256, 256}},
    {"TitleBarButtonRightOffsetInt", {-256, 256}},
    {"TitleBarButtonTopInt", {-256, 256}},
}};

} // namespace

std::optional<NumberRange> ThemeNumberRange(std::string_view name) {
  for (const auto &[key, range] : Ranges)
    if (key == name) return range;
  return std::nullopt;
}

} // namespace skin::theme
