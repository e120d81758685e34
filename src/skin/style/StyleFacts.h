#pragma once

#include "skin/SkinTypes.h"

namespace skin::style {

// What a built-in style decides beyond its table entries. Styles outside the built-in ones (a
// theme) answer as DeepBlue.
struct StyleFacts {
  // The capsule styles mark the focus with a bold caption instead of a dotted rectangle.
  bool ButtonFocusBold = false;
};

const StyleFacts &Facts(TsuiUIStyle style);

} // namespace skin::style
