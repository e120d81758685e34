#pragma once

#include "framework/Colors.h"
#include "skin/SkinTypes.h"

namespace skin::style {

// What a built-in style decides beyond its table entries. Styles outside the built-in ones (a
// theme) answer as DeepBlue.
struct StyleFacts {
  // The capsule styles mark the focus with a bold caption instead of a dotted rectangle.
  bool ButtonFocusBold = false;
  // Popup menus: item and separator heights and the separator line. With fixed heights the
  // menu's pictures are made for these heights, so later assignments are ignored.
  int MenuItemHeight = 21;
  int MenuSeparatorHeight = 5;
  framework::TColor MenuSeparatorColor = 8684164;
  bool MenuFixedHeights = false;
  // The title bar's caption on the style's title pictures.
  framework::TColor TitleCaptionColor = framework::clWhite;
};

const StyleFacts &Facts(TsuiUIStyle style);

} // namespace skin::style
