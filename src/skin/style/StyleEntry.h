#pragma once

#include <string_view>

namespace skin::style {

// The entries every style answers, under their fixed numbers; a theme file names them by key, which
// is the enumerator's name.
enum class StyleEntry : int {
  ButtonImage = 1,
  ButtonTransparentBool = 2,
  CheckBoxImage = 3,
  RadioButtonImage = 4,
  TitleBarButtonImage = 5,
  TitleBarButtonTransparentBool = 6,
  TitleBarButtonLeftOffsetInt = 7,
  TitleBarButtonRightOffsetInt = 8,
  TitleBarButtonTopInt = 9,
  TitleBarLeftImage = 10,
  TitleBarClientImage = 11,
  TitleBarRightImage = 12,
  FormMinWidthInt = 13,
  FormRoundCornerInt = 14,
  FormBackgroundColor = 15,
  FormBorderColor = 16,
  FormBorderWidthInt = 17,
  MenuSelectedBorderColor = 18,
  MenuSelectedBackgroundColor = 19,
  MenuSelectedFontColor = 20,
  MenuBackgroundColor = 21,
  MenuFontColor = 22,
  MenuBarColor = 23,
  ProgressBarImage = 24,
  ControlBorderColor = 25,
  ControlBackgroundColor = 26,
  ControlFontColor = 27,
  TrackBarBarImage = 28,
  TrackBarSliderImage = 29,
  TrackBarSliderVImage = 30,
  ScrollBarBackgroundColor = 31,
  ScrollBarButtonImage = 32,
  ScrollBarSliderImage = 33,
  CheckListBoxImage = 34,
  ToolBarButtonBorderColor = 35,
  ToolBarButtonBackgroundColor = 36,
  ToolBarButtonDownBackgroundColor = 37,
  ScrollButtonImage = 38,
  TabControlTabImage = 39,
  TabControlBarImage = 40,
  SideChannelHandleImage = 41,
  SideChannelBarImage = 42,
  TitleBarMinimizedImage = 43,
  TitleBarFontColor = 44,
  FormLeftBorderImage = 45,
  FormBottomBorderImage = 46,
  FormBottomRoundCornerInt = 47,
  MenuMenuBarColor = 48,
};

inline constexpr int StyleEntryCount = 48;

// What an entry holds; the same in every style.
enum class EntryKind { Image, Colour, Integer, Boolean };

struct EntryInfo {
  StyleEntry Entry;
  std::string_view Key;
  EntryKind Kind;
};

} // namespace skin::style
