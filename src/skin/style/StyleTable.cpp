#include "skin/style/StyleTable.h"

namespace skin::style {

namespace {

constexpr framework::TColor White = 0xFFFFFF;
constexpr framework::TColor ProteinStripe = 0xEEEEEE;

// In the order of TsuiUIStyle.
constexpr std::array<StyleFacts, 6> Table{{
    /* FromThemeFile */ {false, false, 0x8D7A68, false, {}},
    /* MacOS */ {true, true, 0x7F7F7F, false, {}},
    /* WinXP */ {false, false, 0x8D7A68, false, {}},
    /* DeepBlue */ {false, false, 0x8D7A68, false, {}},
    /* Protein */
    {false,
     false,
     0x8D7A68,
     true,
     {White, White, White, ProteinStripe, White, White, White, ProteinStripe}},
    /* BlueGlass */ {true, true, 0x8D7A68, false, {}},
}};

} // namespace

const StyleFacts &Facts(TsuiUIStyle style) {
  const auto index = static_cast<std::size_t>(style);
  if (style == TsuiUIStyle::FromThemeFile || index >= Table.size())
    return Table[static_cast<std::size_t>(TsuiUIStyle::DeepBlue)];
  return Table[index];
}

} // namespace skin::style
