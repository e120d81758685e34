#include "skin/style/StyleFacts.h"

#include <array>

namespace skin::style {

namespace {

// In the order of TsuiUIStyle.
constexpr std::array<StyleFacts, 6> Table{{
    /* FromThemeFile */ {false, 21, 5, 8684164, false, framework::clWhite},
    /* MacOS */ {true, 20, 12, 0, true, framework::clBlack},
    /* WinXP */ {false, 21, 5, 8684164, false, framework::clWhite},
    /* DeepBlue */ {false, 21, 5, 8684164, false, framework::clWhite},
    /* Protein */ {false, 21, 5, 8684164, false, framework::clWhite},
    /* BlueGlass */ {true, 21, 5, 8684164, false, framework::clWhite},
}};

} // namespace

const StyleFacts &Facts(TsuiUIStyle style) {
  const auto index = static_cast<std::size_t>(style);
  if (style == TsuiUIStyle::FromThemeFile || index >= Table.size())
    return Table[static_cast<std::size_t>(TsuiUIStyle::DeepBlue)];
  return Table[index];
}

} // namespace skin::style
