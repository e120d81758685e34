#include "skin/style/StyleTable.h"

#include "skin/style/BitmapCatalogue.h"

namespace skin::style {

namespace {

using enum StyleEntry;
using enum EntryKind;

constexpr std::size_t Styles = BuiltInStyleCount;

// An image entry names the style prefix plus Suffix, or, without a suffix, a whole resource name
// per style (empty: the style has none).
struct ImageRow {
  StyleEntry Entry;
  std::string_view Key;
  std::string_view Suffix;
  std::array<std::string_view, Styles> Named{};
};

struct ValueRow {
  StyleEntry Entry;
  std::string_view Key;
  EntryKind Kind;
  std::array<std::int64_t, Styles> Values;
};

constexpr std::string_view More = "MORE_SCROLLBUTTON";

// clang-format off
constexpr std::array<ImageRow, 22> ImageRows{{
    {ButtonImage,            "ButtonImage",            "BUTTON"},
    {CheckBoxImage,          "CheckBoxImage",          "CHECKBOX"},
    {RadioButtonImage,       "RadioButtonImage",       "RADIOBUTTON"},
    {TitleBarButtonImage,    "TitleBarButtonImage",    "TITLEBTN"},
    {TitleBarLeftImage,      "TitleBarLeftImage",      "TITLE_LEFT"},
    {TitleBarClientImage,    "TitleBarClientImage",    "TITLE_CLIENT"},
    {TitleBarRightImage,     "TitleBarRightImage",     "TITLE_RIGHT"},
    {ProgressBarImage,       "ProgressBarImage",       "PROGRESSBAR"},
    {TrackBarBarImage,       "TrackBarBarImage",       "TRACKBAR_BAR"},
    {TrackBarSliderImage,    "TrackBarSliderImage",    "TRACKBAR_SLIDER"},
    {TrackBarSliderVImage,   "TrackBarSliderVImage",   "TRACKBAR_SLIDER_V"},
    {ScrollBarButtonImage,   "ScrollBarButtonImage",   "SCROLLBAR_BUTTON"},
    {ScrollBarSliderImage,   "ScrollBarSliderImage",   "SCROLLBAR_TRACK"},
    {CheckListBoxImage,      "CheckListBoxImage",      "CHECKLIST"},
    {ScrollButtonImage,      "ScrollButtonImage",      {},
     {"MACOS_SCROLLBUTTON", "WINXP_SCROLLBUTTON", More, More, More}},
    {TabControlTabImage,     "TabControlTabImage",     "TAB"},
    {TabControlBarImage,     "TabControlBarImage",     "TAB_LINE"},
    {SideChannelHandleImage, "SideChannelHandleImage", "SIDECHENNEL_HANDLE"},
    {SideChannelBarImage,    "SideChannelBarImage",    "SIDECHENNEL_BAR"},
    {TitleBarMinimizedImage, "TitleBarMinimizedImage", {}},
    {FormLeftBorderImage,    "FormLeftBorderImage",    {}},
    {FormBottomBorderImage,  "FormBottomBorderImage",  {}},
}};

constexpr std::array<ValueRow, 26> ValueRows{{
    //                                                           MacOS     WinXP     DeepBlue  Protein   BlueGlass
    {ButtonTransparentBool,            "ButtonTransparentBool",            Boolean, {true,     false,    false,    false,    true}},
    {TitleBarButtonTransparentBool,    "TitleBarButtonTransparentBool",    Boolean, {false,    false,    false,    true,     true}},
    {TitleBarButtonLeftOffsetInt,      "TitleBarButtonLeftOffsetInt",      Integer, {3,        2,        0,        0,        4}},
    {TitleBarButtonRightOffsetInt,     "TitleBarButtonRightOffsetInt",     Integer, {-2,       -2,       0,        0,        -3}},
    {TitleBarButtonTopInt,             "TitleBarButtonTopInt",             Integer, {4,        5,        2,        2,        6}},
    {FormMinWidthInt,                  "FormMinWidthInt",                  Integer, {130,      150,      130,      130,      270}},
    {FormRoundCornerInt,               "FormRoundCornerInt",               Integer, {0,        13,       0,        0,        11}},
    {FormBackgroundColor,              "FormBackgroundColor",              Colour,  {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {FormBorderColor,                  "FormBorderColor",                  Colour,  {0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000}},
    {FormBorderWidthInt,               "FormBorderWidthInt",               Integer, {1,        3,        1,        1,        1}},
    {MenuSelectedBorderColor,          "MenuSelectedBorderColor",          Colour,  {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {MenuSelectedBackgroundColor,      "MenuSelectedBackgroundColor",      Colour,  {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {MenuSelectedFontColor,            "MenuSelectedFontColor",            Colour,  {0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
    {MenuBackgroundColor,              "MenuBackgroundColor",              Colour,  {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}},
    {MenuFontColor,                    "MenuFontColor",                    Colour,  {0x000000, 0x000000, 0x000000, 0x000000, 0x000000}},
    {MenuBarColor,                     "MenuBarColor",                     Colour,  {0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}},
    {ControlBorderColor,               "ControlBorderColor",               Colour,  {0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000}},
    {ControlBackgroundColor,           "ControlBackgroundColor",           Colour,  {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {ControlFontColor,                 "ControlFontColor",                 Colour,  {0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000}},
    {ScrollBarBackgroundColor,         "ScrollBarBackgroundColor",         Colour,  {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4}},
    {ToolBarButtonBorderColor,         "ToolBarButtonBorderColor",         Colour,  {0x474747, 0xC66931, 0x474747, 0x474747, 0x474747}},
    {ToolBarButtonBackgroundColor,     "ToolBarButtonBackgroundColor",     Colour,  {0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF}},
    {ToolBarButtonDownBackgroundColor, "ToolBarButtonDownBackgroundColor", Colour,  {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}},
    {TitleBarFontColor,                "TitleBarFontColor",                Colour,  {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
    {FormBottomRoundCornerInt,         "FormBottomRoundCornerInt",         Integer, {0,        0,        0,        0,        0}},
    {MenuMenuBarColor,                 "MenuMenuBarColor",                 Colour,  {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
}};
// clang-format on

static_assert(ImageRows.size() + ValueRows.size() == StyleEntryCount);

// Where entry n lives: its row in one of the two tables, by number.
struct Place {
  const ImageRow *Image = nullptr;
  const ValueRow *Value = nullptr;
};

constexpr std::array<Place, StyleEntryCount + 1> Places = [] {
  std::array<Place, StyleEntryCount + 1> places{};
  for (const ImageRow &row : ImageRows)
    places[static_cast<std::size_t>(row.Entry)].Image = &row;
  for (const ValueRow &row : ValueRows)
    places[static_cast<std::size_t>(row.Entry)].Value = &row;
  return places;
}();

constexpr std::array<EntryInfo, StyleEntryCount> AllEntries = [] {
  std::array<EntryInfo, StyleEntryCount> all{};
  for (std::size_t n = 1; n <= StyleEntryCount; ++n) {
    const Place &p = Places[n];
    all[n - 1] = p.Image ? EntryInfo{p.Image->Entry, p.Image->Key, Image}
                         : EntryInfo{p.Value->Entry, p.Value->Key, p.Value->Kind};
  }
  return all;
}();

const Place *PlaceOf(StyleEntry entry) {
  const auto n = static_cast<int>(entry);
  if (n < 1 || n > StyleEntryCount) return nullptr;
  return &Places[static_cast<std::size_t>(n)];
}

// Index into the per-style columns; nothing outside the built-in styles.
std::optional<std::size_t> Column(TsuiUIStyle style) {
  const int ordinal = static_cast<int>(style);
  if (ordinal < static_cast<int>(TsuiUIStyle::MacOS) ||
      ordinal > static_cast<int>(TsuiUIStyle::BlueGlass))
    return std::nullopt;
  return static_cast<std::size_t>(StyleIndex(ordinal));
}

} // namespace

const std::array<EntryInfo, StyleEntryCount> &Entries() {
  return AllEntries;
}

std::optional<EntryInfo> FindEntry(StyleEntry entry) {
  const Place *place = PlaceOf(entry);
  if (!place) return std::nullopt;
  return AllEntries[static_cast<std::size_t>(entry) - 1];
}

std::optional<EntryInfo> FindEntry(std::string_view key) {
  for (const EntryInfo &info : AllEntries)
    if (info.Key == key) return info;
  return std::nullopt;
}

std::string ImageResource(TsuiUIStyle style, StyleEntry entry) {
  const Place *place = PlaceOf(entry);
  const std::optional<std::size_t> column = Column(style);
  if (!place || !place->Image || !column) return {};
  const ImageRow &row = *place->Image;
  if (row.Suffix.empty()) return std::string(row.Named[*column]);
  return std::string(StylePrefixes[*column]) + std::string(row.Suffix);
}

std::optional<std::int64_t> EntryValue(TsuiUIStyle style, StyleEntry entry) {
  const Place *place = PlaceOf(entry);
  const std::optional<std::size_t> column = Column(style);
  if (!place || !place->Value || !column) return std::nullopt;
  return place->Value->Values[*column];
}

} // namespace skin::style
