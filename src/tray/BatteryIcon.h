#pragma once

#include "framework/Colors.h"

#include <QIcon>
#include <QImage>

namespace tray {

// What the battery icon shows: the gauge's reading, or that no receiver is in use.
struct BatteryIconState {
  bool Connected = false;
  // The gauge's value of its Max (6 once a receiver answered); the fill is Value / Max.
  int Value = 0;
  int Max = 6;
  // The gauge's colour, 0x00BBGGRR.
  framework::TColor Color = framework::clRed;

  bool operator==(const BatteryIconState &) const = default;
};

// The sizes the icon is drawn for; any other is drawn too, these are the ones checked.
inline constexpr int BatteryIconSizes[] = {16, 22, 24, 32};

// A horizontal battery filling a transparent `side` x `side` square: a white rim around a black
// frame, so that it stands out on light and on dark panels, filled in the reading's colour from
// the left with the rest in a dark shade of it; without a receiver, an empty battery struck
// through in red. Sides below 8 are drawn at 8.
QImage DrawBatteryIcon(const BatteryIconState &state, int side);

// The icon for the notification area, drawn at each size a host asks for.
QIcon BatteryIcon(const BatteryIconState &state);

} // namespace tray
