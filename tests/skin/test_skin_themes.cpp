#include "SkinTestHelpers.h"
#include "ThemeFileSamples.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiMainMenu.h"
#include "skin/TsuiPopupMenu.h"
#include "skin/TsuiTitleBar.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

using namespace skin;
using theme::ThemeEntry;

namespace {

// A theme owned by a window, loading files written for the test.
struct ThemedControls : testing::Test {
  void Load(const std::vector<ThemeEntry> &entries) {
    const std::string path = folder.path().toStdString() + "/t" + std::to_string(++files) + ".thm";
    theme->SetThemeFile(
        QString::fromStdString(test::WriteFile(path, *theme::WriteThemeFile(entries))));
    ASSERT_TRUE(theme->Loaded());
  }
  QTemporaryDir folder;
  int files = 0;
  QWidget form;
  std::optional<TsuiFileTheme> theme{std::in_place, &form};
};

} // namespace

TEST_F(ThemedControls, MenuTakesTheThemesColoursOnEveryFileAndFallsBackWhenItGoes) {
  TsuiPopupMenu menu(&form);
  menu.SetUIStyle(TsuiUIStyle::FromThemeFile);
  menu.SetFileTheme(&*theme);
  EXPECT_EQ(menu.SelectedColor(), 0xA04A44u) << "nothing loaded: DeepBlue";
  Load({ThemeEntry::Integer("MenuSelectedBackgroundColor", 0x123456),
        ThemeEntry::Integer("MenuBarColor", 0x010203)});
  EXPECT_EQ(menu.SelectedColor(), 0x123456u);
  EXPECT_EQ(menu.BarColor(), 0x010203u);
  Load({ThemeEntry::Integer("MenuSelectedBackgroundColor", 0x654321)});
  EXPECT_EQ(menu.SelectedColor(), 0x654321u);
  theme.reset();
  EXPECT_EQ(menu.FileTheme(), nullptr);
  EXPECT_EQ(menu.SelectedColor(), 0xA04A44u) << "DeepBlue";
  EXPECT_EQ(menu.BarColor(), 0xCED3D6u);
  menu.SetUIStyle(TsuiUIStyle::FromThemeFile); // reads nothing that is gone
  EXPECT_EQ(menu.SelectedColor(), 0xA04A44u);
}

TEST_F(ThemedControls, TitleCaptionColourComesFromTheThemeAndStaysOnANewFile) {
  TsuiTitleBar bar(&form);
  bar.SetUIStyle(TsuiUIStyle::FromThemeFile);
  Load({ThemeEntry::Integer("ControlFontColor", 0x30000)});
  bar.SetFileTheme(&*theme);
  EXPECT_EQ(bar.Font().Color, 0xFFFFFFu) << "only the theme changed: the colour stays";
  bar.SetUIStyle(TsuiUIStyle::FromThemeFile);
  EXPECT_EQ(bar.Font().Color, 0u) << "no caption colour, a dark control font: black";
  Load({ThemeEntry::Integer("TitleBarFontColor", 0x00FF00)});
  EXPECT_EQ(bar.Font().Color, 0u) << "a new file keeps the caption colour";
  bar.SetUIStyle(TsuiUIStyle::FromThemeFile);
  EXPECT_EQ(bar.Font().Color, 0x00FF00u);
  theme.reset();
  EXPECT_EQ(bar.FileTheme(), nullptr);
  EXPECT_EQ(bar.Font().Color, 0xFFFFFFu) << "DeepBlue, caption colour included";
}

TEST_F(ThemedControls, EveryControlWhoseThemeGoesFallsBackToTheDeepBlueStyle) {
  TsuiPopupMenu menu(&form);
  TsuiTitleBar bar(&form);
  TsuiEdit edit(&form);
  TsuiButton button(&form);
  TsuiMainMenu mainMenu(&form);
  const auto attach = [this](auto &control) {
    control.SetUIStyle(TsuiUIStyle::WinXP);
    control.SetFileTheme(&*theme);
  };
  attach(menu);
  attach(bar);
  attach(edit);
  attach(button);
  attach(mainMenu);
  theme.reset();
  const std::pair<const char *, TsuiUIStyle> styles[] = {
      {"menu", menu.UIStyle()},     {"title bar", bar.UIStyle()},      {"edit", edit.UIStyle()},
      {"button", button.UIStyle()}, {"main menu", mainMenu.UIStyle()},
  };
  for (const auto &[control, style] : styles)
    EXPECT_EQ(style, TsuiUIStyle::DeepBlue) << control;
  EXPECT_EQ(mainMenu.FileTheme(), nullptr);
}
