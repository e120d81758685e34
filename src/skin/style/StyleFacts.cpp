#include "skin/style/StyleFacts.h"

#include <array>

namespace skin::style {

namespace {

// In the order of TsuiUIStyle.
constexpr std::array<StyleFacts, 6> Table{{
    /* FromThemeFile */ {false},
    /* MacOS */ {true},
    /* WinXP */ {false},
    /* DeepBlue */ {false},
    /* Protein */ {false},
    /* BlueGlass */ {true},
}};

} // namespace

const StyleFacts &Facts(TsuiUIStyle style) {
  const auto index = static_cast<std::size_t>(style);
  if (style == TsuiUIStyle::FromThemeFile || index >= Table.size())
    return Table[static_cast<std::size_t>(TsuiUIStyle::DeepBlue)];
  return Table[index];
}

} // namespace skin::style
