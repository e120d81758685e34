#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace skin::style {

// The style bitmaps as data: names, sizes per built-in style and strip part counts. Plain C++ so
// that the art generator and the tests share it with the program.

// Built-in styles in ordinal order (MacOS = 1 ... BlueGlass = 5); arrays below are indexed by
// ordinal - 1.
inline constexpr std::size_t BuiltInStyleCount = 5;

constexpr int StyleIndex(int styleOrdinal) {
  return styleOrdinal - 1;
}

inline constexpr std::array<const char *, BuiltInStyleCount> StylePrefixes = {
    "MACOS_", "WINXP_", "DEEPBLUE_", "PROTEIN_", "BLUEGLASS_"};

// A zero size means the style has no such bitmap.
struct BitmapSize {
  int Width = 0;
  int Height = 0;
  constexpr bool Present() const { return Width > 0 && Height > 0; }
  constexpr bool operator==(const BitmapSize &) const = default;
};

struct BitmapElement {
  const char *Name;
  std::array<BitmapSize, BuiltInStyleCount> Sizes;
  // Equal-width states side by side; 1 for a single picture.
  int Parts = 1;
};

inline constexpr BitmapSize NoBitmap{};

// clang-format off
inline constexpr std::array<BitmapElement, 23> BitmapCatalogue = {{
    //                      MacOS      WinXP      DeepBlue   Protein    BlueGlass
    {"BUTTON",             {{{252, 23}, {54, 21},  {222, 21}, {222, 21}, {231, 27}}}, 3},
    {"CHECKBOX",           {{{60, 17},  {52, 13},  {52, 13},  {52, 13},  {52, 13}}}},
    {"RADIOBUTTON",        {{{64, 17},  {52, 13},  {52, 13},  {52, 13},  {52, 13}}}},
    {"TITLEBTN",           {{{306, 17}, {378, 21}, {342, 19}, {342, 19}, {342, 19}}}, 18},
    {"TITLE_LEFT",         {{{48, 23},  {35, 29},  {97, 32},  {441, 23}, {162, 33}}}},
    {"TITLE_CLIENT",       {{{49, 23},  {37, 29},  {98, 32},  {1, 23},   {179, 33}}}},
    {"TITLE_RIGHT",        {{{48, 23},  {35, 29},  {97, 32},  {1, 23},   {101, 33}}}},
    {"PROGRESSBAR",        {{{13, 10},  {6, 10},   {1, 10},   {1, 10},   {1, 10}}}},
    {"TRACKBAR_BAR",       {{{45, 5},   {45, 8},   {45, 4},   {45, 4},   {45, 4}}}},
    {"TRACKBAR_SLIDER",    {{{11, 20},  {11, 21},  {11, 20},  {11, 20},  {11, 20}}}},
    {"TRACKBAR_SLIDER_V",  {{{19, 11},  {22, 11},  {18, 11},  {18, 11},  {18, 11}}}},
    {"SCROLLBAR_BUTTON",   {{{96, 22},  {96, 17},  {96, 16},  {96, 16},  {102, 16}}}},
    {"SCROLLBAR_TRACK",    {{{33, 16},  {21, 16},  {21, 16},  {21, 16},  {21, 16}}}},
    {"CHECKLIST",          {{{40, 11},  {44, 11},  {44, 11},  {44, 11},  {44, 11}}}},
    {"SCROLLBUTTON",       {{{72, 18},  {72, 18},  NoBitmap,     NoBitmap,     NoBitmap}}},
    {"TAB",                {{{36, 27},  {18, 18},  {12, 17},  {18, 17},  {18, 17}}}},
    {"TAB_LINE",           {{{17, 7},   {8, 1},    {5, 5},    {10, 5},   {10, 5}}}},
    {"SIDECHENNEL_HANDLE", {{{7, 84},   {8, 86},   {8, 83},   {8, 83},   {8, 86}}}},
    {"SIDECHENNEL_BAR",    {{{1, 21},   {1, 21},   {1, 20},   {1, 21},   {1, 21}}}},
    {"COMBOBOX_BUTTON",    {{{16, 17},  {16, 18},  NoBitmap,     NoBitmap,     NoBitmap}}},
    {"FORM_BACKGROUND",    {{{8, 8},    NoBitmap,     NoBitmap,     {8, 8},    NoBitmap}}},
    {"MENU_BAR",           {{{1, 22},   NoBitmap,     NoBitmap,     NoBitmap,     NoBitmap}}},
    {"MENU_SELECT",        {{{1, 21},   NoBitmap,     NoBitmap,     NoBitmap,     NoBitmap}}},
}};
// clang-format on

// Bitmaps that belong to no style: their resource name is the name itself.
struct SharedBitmap {
  const char *Name;
  BitmapSize Size;
};

inline constexpr std::array<SharedBitmap, 2> SharedBitmaps = {{
    {"MORE_SCROLLBUTTON", {72, 17}}, // the scroll buttons of DeepBlue, Protein and BlueGlass
    {"MENU_CHECKED", {16, 16}},      // white is its transparent colour
}};

inline std::string ResourceName(const BitmapElement &element, int styleIndex) {
  return std::string(StylePrefixes[styleIndex]) + element.Name;
}

// What a resource name stands for. Element is null and StyleIndex -1 for a shared bitmap.
struct CatalogueEntry {
  const BitmapElement *Element = nullptr;
  int StyleIndex = -1;
  BitmapSize Size;
  int Parts = 1;
};

// Finds a bitmap by its resource name (e.g. "PROTEIN_TITLEBTN"); nothing for a name the catalogue
// does not hold, including an element the style lacks.
constexpr std::optional<CatalogueEntry> FindBitmap(std::string_view resource) {
  for (const SharedBitmap &shared : SharedBitmaps)
    if (resource == shared.Name) return CatalogueEntry{nullptr, -1, shared.Size, 1};
  for (std::size_t s = 0; s < BuiltInStyleCount; ++s) {
    const std::string_view prefix = StylePrefixes[s];
    if (!resource.starts_with(prefix)) continue;
    const std::string_view element = resource.substr(prefix.size());
    for (const BitmapElement &e : BitmapCatalogue)
      if (element == e.Name && e.Sizes[s].Present())
        return CatalogueEntry{&e, static_cast<int>(s), e.Sizes[s], e.Parts};
  }
  return std::nullopt;
}

static_assert(FindBitmap("PROTEIN_TITLEBTN")->Size == BitmapSize{342, 19});
static_assert(!FindBitmap("DEEPBLUE_SCROLLBUTTON"));

} // namespace skin::style
