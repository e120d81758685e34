#pragma once

#include "framework/Canvas.h"
#include "framework/Colors.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

namespace skin {

// Everything an item's look depends on that belongs to the menu.
struct MenuLook {
  int ItemHeight = 21;
  int SeparatorHeight = 21;
  int BarWidth = 0;
  framework::TColor BarColor = framework::clBtnFace;
  framework::TColor Color = framework::clWhite;
  framework::TColor SeparatorColor = 8421504;
  framework::TColor SelectedBorderColor = framework::clHighlight;
  framework::TColor SelectedColor = framework::clHighlight;
  framework::TColor SelectedFontColor = framework::clWhite;
  framework::TColor FontColor = framework::clWhite;
  // The style's form background: a flat menu's frame shows it.
  framework::TColor FormColor = framework::clBtnFace;
  QFont Font;
  // The style's item pictures, where it has them: the bar and the selection are stretched from
  // their top rows instead of filled.
  QImage BarBitmap;
  QImage SelectBitmap;
  QImage CheckMark; // white is transparent
  bool RightToLeft = false;
};

// One item as it is to be drawn.
struct MenuItemState {
  QString Caption; // "&" underlines the next character
  QString ShortCut;
  bool Separator = false;
  bool Selected = false;
  bool Enabled = true;
  bool Checked = false;
  bool Default = false;
  QImage Image; // null without a valid image
};

// A disabled item's caption, selected or not.
inline constexpr framework::TColor DisabledMenuFontColor = 8421504;

// Caption and shortcut are measured in the menu's font as written, "&" included. An item is
// as tall as the menu says, or taller where its font needs it: a large desktop font never clips.
QSize MeasureMenuItem(const MenuLook &look, const MenuItemState &item);

// Paints the whole item rectangle `r`.
void DrawMenuItem(framework::Canvas &canvas, const framework::TRect &r, const MenuLook &look,
                  const MenuItemState &item);

} // namespace skin
