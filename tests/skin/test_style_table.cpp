#include "SkinTestHelpers.h"
#include "skin/style/StyleReads.h"
#include "skin/style/StyleTable.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace skin;
using namespace skin::style;
using skin::test::FakeTheme;

namespace {

constexpr std::array<TsuiUIStyle, 5> BuiltIn{TsuiUIStyle::MacOS, TsuiUIStyle::WinXP,
                                             TsuiUIStyle::DeepBlue, TsuiUIStyle::Protein,
                                             TsuiUIStyle::BlueGlass};

// The table as published, one entry a line: number, key, kind, then MacOS, WinXP, DeepBlue,
// Protein and BlueGlass. Images give the resource name, "-" for none.
constexpr const char *Expected = R"(
1 ButtonImage image MACOS_BUTTON WINXP_BUTTON DEEPBLUE_BUTTON PROTEIN_BUTTON BLUEGLASS_BUTTON
2 ButtonTransparentBool boolean true false false false true
3 CheckBoxImage image MACOS_CHECKBOX WINXP_CHECKBOX DEEPBLUE_CHECKBOX PROTEIN_CHECKBOX BLUEGLASS_CHECKBOX
4 RadioButtonImage image MACOS_RADIOBUTTON WINXP_RADIOBUTTON DEEPBLUE_RADIOBUTTON PROTEIN_RADIOBUTTON BLUEGLASS_RADIOBUTTON
5 TitleBarButtonImage image MACOS_TITLEBTN WINXP_TITLEBTN DEEPBLUE_TITLEBTN PROTEIN_TITLEBTN BLUEGLASS_TITLEBTN
6 TitleBarButtonTransparentBool boolean false false false true true
7 TitleBarButtonLeftOffsetInt integer 3 2 0 0 4
8 TitleBarButtonRightOffsetInt integer -2 -2 0 0 -3
9 TitleBarButtonTopInt integer 4 5 2 2 6
10 TitleBarLeftImage image MACOS_TITLE_LEFT WINXP_TITLE_LEFT DEEPBLUE_TITLE_LEFT PROTEIN_TITLE_LEFT BLUEGLASS_TITLE_LEFT
11 TitleBarClientImage image MACOS_TITLE_CLIENT WINXP_TITLE_CLIENT DEEPBLUE_TITLE_CLIENT PROTEIN_TITLE_CLIENT BLUEGLASS_TITLE_CLIENT
12 TitleBarRightImage image MACOS_TITLE_RIGHT WINXP_TITLE_RIGHT DEEPBLUE_TITLE_RIGHT PROTEIN_TITLE_RIGHT BLUEGLASS_TITLE_RIGHT
13 FormMinWidthInt integer 130 150 130 130 270
14 FormRoundCornerInt integer 0 13 0 0 11
15 FormBackgroundColor colour 0xE7E7E7 0xDEEBEF 0xE8E8E8 0xFBFBFB 0xE7E7E7
16 FormBorderColor colour 0x7F7F7F 0xC82C00 0x000000 0x000000 0x000000
17 FormBorderWidthInt integer 1 3 1 1 1
18 MenuSelectedBorderColor colour 0xC47339 0xC66931 0xA04A44 0xC4302D 0xEC5E5E
19 MenuSelectedBackgroundColor colour 0xC47339 0xEFD3C6 0xA04A44 0xC4302D 0xEC5E5E
20 MenuSelectedFontColor colour 0xFFFFFF 0x000000 0xFFFFFF 0xFFFFFF 0xFFFFFF
21 MenuBackgroundColor colour 0x000000 0xFFFFFF 0xFFFFFF 0xFFFFFF 0xE7E7E7
22 MenuFontColor colour 0x000000 0x000000 0x000000 0x000000 0x000000
23 MenuBarColor colour 0x000000 0xCED3D6 0xCED3D6 0xCED3D6 0xCED3D6
24 ProgressBarImage image MACOS_PROGRESSBAR WINXP_PROGRESSBAR DEEPBLUE_PROGRESSBAR PROTEIN_PROGRESSBAR BLUEGLASS_PROGRESSBAR
25 ControlBorderColor colour 0x7F7F7F 0x686868 0x000000 0x000000 0x000000
26 ControlBackgroundColor colour 0xE7E7E7 0xDEEBEF 0xE8E8E8 0xFBFBFB 0xE7E7E7
27 ControlFontColor colour 0x000000 0xCF4602 0x000000 0x000000 0x000000
28 TrackBarBarImage image MACOS_TRACKBAR_BAR WINXP_TRACKBAR_BAR DEEPBLUE_TRACKBAR_BAR PROTEIN_TRACKBAR_BAR BLUEGLASS_TRACKBAR_BAR
29 TrackBarSliderImage image MACOS_TRACKBAR_SLIDER WINXP_TRACKBAR_SLIDER DEEPBLUE_TRACKBAR_SLIDER PROTEIN_TRACKBAR_SLIDER BLUEGLASS_TRACKBAR_SLIDER
30 TrackBarSliderVImage image MACOS_TRACKBAR_SLIDER_V WINXP_TRACKBAR_SLIDER_V DEEPBLUE_TRACKBAR_SLIDER_V PROTEIN_TRACKBAR_SLIDER_V BLUEGLASS_TRACKBAR_SLIDER_V
31 ScrollBarBackgroundColor colour 0xC9C9C9 0xF9F9F9 0xF5F5F5 0xF5F5F5 0xF4F4F4
32 ScrollBarButtonImage image MACOS_SCROLLBAR_BUTTON WINXP_SCROLLBAR_BUTTON DEEPBLUE_SCROLLBAR_BUTTON PROTEIN_SCROLLBAR_BUTTON BLUEGLASS_SCROLLBAR_BUTTON
33 ScrollBarSliderImage image MACOS_SCROLLBAR_TRACK WINXP_SCROLLBAR_TRACK DEEPBLUE_SCROLLBAR_TRACK PROTEIN_SCROLLBAR_TRACK BLUEGLASS_SCROLLBAR_TRACK
34 CheckListBoxImage image MACOS_CHECKLIST WINXP_CHECKLIST DEEPBLUE_CHECKLIST PROTEIN_CHECKLIST BLUEGLASS_CHECKLIST
35 ToolBarButtonBorderColor colour 0x474747 0xC66931 0x474747 0x474747 0x474747
36 ToolBarButtonBackgroundColor colour 0xEFEFEF 0xEFD3C6 0xEFEFEF 0xEFEFEF 0xEFEFEF
37 ToolBarButtonDownBackgroundColor colour 0xD8D8D8 0xE1AC93 0xD8D8D8 0xD8D8D8 0xD8D8D8
38 ScrollButtonImage image MACOS_SCROLLBUTTON WINXP_SCROLLBUTTON MORE_SCROLLBUTTON MORE_SCROLLBUTTON MORE_SCROLLBUTTON
39 TabControlTabImage image MACOS_TAB WINXP_TAB DEEPBLUE_TAB PROTEIN_TAB BLUEGLASS_TAB
40 TabControlBarImage image MACOS_TAB_LINE WINXP_TAB_LINE DEEPBLUE_TAB_LINE PROTEIN_TAB_LINE BLUEGLASS_TAB_LINE
41 SideChannelHandleImage image MACOS_SIDECHENNEL_HANDLE WINXP_SIDECHENNEL_HANDLE DEEPBLUE_SIDECHENNEL_HANDLE PROTEIN_SIDECHENNEL_HANDLE BLUEGLASS_SIDECHENNEL_HANDLE
42 SideChannelBarImage image MACOS_SIDECHENNEL_BAR WINXP_SIDECHENNEL_BAR DEEPBLUE_SIDECHENNEL_BAR PROTEIN_SIDECHENNEL_BAR BLUEGLASS_SIDECHENNEL_BAR
43 TitleBarMinimizedImage image - - - - -
44 TitleBarFontColor colour 0x000000 0xFFFFFF 0xFFFFFF 0xFFFFFF 0xFFFFFF
45 FormLeftBorderImage image - - - - -
46 FormBottomBorderImage image - - - - -
47 FormBottomRoundCornerInt integer 0 0 0 0 0
48 MenuMenuBarColor colour 0xE7E7E7 0xDEEBEF 0xE8E8E8 0xFBFBFB 0xE7E7E7
)";

struct Row {
  int Number = 0;
  std::string Key;
  std::string Kind;
  std::array<std::string, 5> Values;
};

std::vector<Row> ExpectedRows() {
  std::vector<Row> rows;
  std::istringstream in(Expected);
  Row row;
  while (in >> row.Number >> row.Key >> row.Kind) {
    for (std::string &v : row.Values)
      in >> v;
    rows.push_back(row);
  }
  return rows;
}

std::string KindName(EntryKind kind) {
  constexpr const char *Names[] = {"image", "colour", "integer", "boolean"};
  return Names[static_cast<int>(kind)];
}

// How an entry reads through each of the typed reads, as text comparable with the table.
std::string Read(TsuiUIStyle style, StyleEntry entry, const std::string &kind) {
  if (kind == "image") {
    const std::string name = ImageResource(style, entry);
    return name.empty() ? "-" : name;
  }
  if (kind == "boolean") return GetStyleBool(style, entry) ? "true" : "false";
  if (kind == "integer") return std::to_string(GetStyleInt(style, entry));
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%06X", GetStyleColor(style, entry));
  return hex;
}

} // namespace

TEST(StyleTable, EveryEntryOfEveryStyleIsAsPublished) {
  const std::vector<Row> rows = ExpectedRows();
  ASSERT_EQ(rows.size(), 48u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Row &row = rows[i];
    const auto entry = static_cast<StyleEntry>(row.Number);
    ASSERT_EQ(row.Number, static_cast<int>(i) + 1);
    ASSERT_EQ(Entries()[i].Entry, entry);
    EXPECT_EQ(Entries()[i].Key, row.Key);
    EXPECT_EQ(KindName(Entries()[i].Kind), row.Kind) << row.Key;
    ASSERT_TRUE(FindEntry(row.Key)) << row.Key;
    EXPECT_EQ(FindEntry(row.Key)->Entry, entry);
    for (std::size_t s = 0; s < BuiltIn.size(); ++s)
      EXPECT_EQ(Read(BuiltIn[s], entry, row.Kind), row.Values[s])
          << row.Key << " in style " << static_cast<int>(BuiltIn[s]);
  }
  EXPECT_FALSE(FindEntry("buttonimage")) << "keys are matched exactly";
}

TEST(StyleTable, ReadsOfTheWrongKindOrStyleAreNeutral) {
  const auto outside = static_cast<TsuiUIStyle>(6);
  QImage untouched(3, 2, QImage::Format_RGB32);
  untouched.fill(Qt::green);
  for (const EntryInfo &info : Entries()) {
    for (TsuiUIStyle style : {BuiltIn[0], BuiltIn[3], TsuiUIStyle::FromThemeFile, outside}) {
      const bool builtIn = style != TsuiUIStyle::FromThemeFile && style != outside;
      if (!builtIn || info.Kind != EntryKind::Colour) {
        EXPECT_EQ(GetStyleColor(style, info.Entry), 0u) << info.Key;
      }
      if (!builtIn || info.Kind != EntryKind::Integer) {
        EXPECT_EQ(GetStyleInt(style, info.Entry), -1) << info.Key;
      }
      if (!builtIn || info.Kind != EntryKind::Boolean) {
        EXPECT_FALSE(GetStyleBool(style, info.Entry)) << info.Key;
      }
      if (!builtIn || info.Kind != EntryKind::Image) {
        QImage bitmap = untouched;
        EXPECT_FALSE(GetStyleImagePart(style, info.Entry, bitmap, 1, 3)) << info.Key;
        EXPECT_EQ(bitmap, untouched) << info.Key;
      }
    }
  }
  for (const auto beyond : {static_cast<StyleEntry>(0), static_cast<StyleEntry>(49)}) {
    EXPECT_FALSE(FindEntry(beyond));
    EXPECT_EQ(GetStyleInt(TsuiUIStyle::MacOS, beyond), -1);
    EXPECT_EQ(ImageResource(TsuiUIStyle::MacOS, beyond), "");
  }
}

TEST(StyleTable, AThemeServesOnlyTheThemeStyleAndOnlyWhenLoaded) {
  FakeTheme loaded, empty;
  empty.loaded = false;
  struct Case {
    const ThemeEntries *theme;
    TsuiUIStyle style;
    ResolvedStyle want;
  };
  const Case cases[] = {
      {nullptr, TsuiUIStyle::MacOS, {false, TsuiUIStyle::MacOS}},
      {nullptr, TsuiUIStyle::FromThemeFile, {false, TsuiUIStyle::DeepBlue}},
      {&empty, TsuiUIStyle::FromThemeFile, {false, TsuiUIStyle::DeepBlue}},
      {&loaded, TsuiUIStyle::FromThemeFile, {true, TsuiUIStyle::FromThemeFile}},
      {&loaded, TsuiUIStyle::Protein, {false, TsuiUIStyle::Protein}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(ResolveStyle(c.theme, c.style), c.want)
        << static_cast<int>(c.style) << (c.theme == &loaded ? " loaded" : "");
}

TEST(StyleTable, WithoutAThemeTheThemeStyleReadsExactlyAsDeepBlue) {
  FakeTheme empty;
  empty.loaded = false;
  for (const ThemeEntries *theme :
       {static_cast<const ThemeEntries *>(nullptr), static_cast<const ThemeEntries *>(&empty)}) {
    const StyleReader themed(theme, TsuiUIStyle::FromThemeFile);
    const StyleReader deepBlue(nullptr, TsuiUIStyle::DeepBlue);
    for (const EntryInfo &info : Entries()) {
      EXPECT_EQ(themed.Color(info.Entry), deepBlue.Color(info.Entry)) << info.Key;
      EXPECT_EQ(themed.Int(info.Entry), deepBlue.Int(info.Entry)) << info.Key;
      EXPECT_EQ(themed.Bool(info.Entry), deepBlue.Bool(info.Entry)) << info.Key;
    }
    EXPECT_EQ(themed.Resolved().Style, TsuiUIStyle::DeepBlue);
  }
}

TEST(StyleTable, ALoadedThemeAnswersWithItsOwnEntriesAndNeutralOnesWhereItHasNone) {
  FakeTheme theme;
  theme.numbers[StyleEntry::ControlBorderColor] = 0x123456;
  theme.numbers[StyleEntry::FormBorderColor] = -16777201; // the button face, stored signed
  theme.numbers[StyleEntry::FormMinWidthInt] = 99;
  theme.bools[StyleEntry::ButtonTransparentBool] = true;
  QImage strip(9, 2, QImage::Format_RGB32);
  strip.fill(Qt::red);
  strip.setPixel(6, 0, qRgb(0, 0, 255));
  theme.images[StyleEntry::ButtonImage] = strip;

  const StyleReader reader(&theme, TsuiUIStyle::FromThemeFile);
  EXPECT_EQ(reader.Color(StyleEntry::ControlBorderColor), 0x123456u);
  EXPECT_EQ(reader.Color(StyleEntry::FormBorderColor), framework::clBtnFace);
  EXPECT_EQ(reader.Color(StyleEntry::MenuFontColor), AbsentColor);
  EXPECT_EQ(reader.Int(StyleEntry::FormMinWidthInt), 99);
  EXPECT_EQ(reader.Int(StyleEntry::FormBorderWidthInt), -1);
  EXPECT_TRUE(reader.Bool(StyleEntry::ButtonTransparentBool));
  EXPECT_FALSE(reader.Bool(StyleEntry::TitleBarButtonTransparentBool));
  QImage part;
  ASSERT_TRUE(reader.ImagePart(StyleEntry::ButtonImage, part, 3, 3));
  EXPECT_EQ(part.size(), QSize(3, 2));
  EXPECT_EQ(part.pixel(0, 0), qRgb(0, 0, 255));
  QImage untouched;
  EXPECT_FALSE(reader.Image(StyleEntry::CheckBoxImage, untouched));
  EXPECT_TRUE(untouched.isNull());
  EXPECT_TRUE(reader.Bitmap("FORM_BACKGROUND").isNull());
}
