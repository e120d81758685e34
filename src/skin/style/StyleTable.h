#pragma once

#include "framework/Colors.h"
#include "skin/SkinTypes.h"

#include <array>

namespace skin::style {

// What a built-in style decides for the controls drawn so far, as data: controls ask the table
// and never test the style themselves.
struct StyleFacts {
  // The capsule styles draw their buttons over the parent's background.
  bool ButtonTransparent = false;
  // The capsule styles mark the focus with a bold caption instead of a dotted rectangle.
  bool ButtonFocusBold = false;
  framework::TColor ControlBorderColor = 0;
  // An 8 x 8 tile of one colour per row behind the form's controls; without it, the form colour.
  bool FormTiled = false;
  std::array<framework::TColor, 8> FormTileRows{};
};

// FromThemeFile without a theme answers as DeepBlue.
const StyleFacts &Facts(TsuiUIStyle style);

} // namespace skin::style
