#pragma once

#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "receiver/BatteryRecord.h"
#include "receiver/Languages.h"
#include "skin/SkinTypes.h"

#include <QSize>

#include <cstdint>
#include <vector>

namespace skin::style {
class ThemeEntries;
}

namespace widgets::chart {

// What a battery chart shows.
struct BatteryChartData {
  // As stored: the clock may have gone back between two of them.
  std::vector<receiver::BatteryRecord> Records;
  // When a battery was changed or charged, Unix seconds.
  std::vector<std::int64_t> BatteryChanges;
  std::int64_t Now = 0;
  // Local time minus UTC, for the time labels.
  int UtcOffsetSeconds = 0;
  receiver::TLngID Language = receiver::TLngID::Eng;
};

// The colours a look gives the chart around its well; the well itself stays dark in every look,
// as the gauge's battery does, so that the readouts' colours read the same.
struct ChartColors {
  framework::TColor Background = framework::clWhite;
  framework::TColor Text = framework::clBlack;
  framework::TColor Border = framework::clBlack;
  framework::TColor Mark = framework::clRed; // the battery changes above the well
};
// From the form, control and menu colours of the look; a theme's absent colour keeps the
// built-in style's.
ChartColors StyleChartColors(const skin::style::ThemeEntries *theme, skin::TsuiUIStyle style);

inline constexpr framework::TColor WellColor = 0x202020;
inline constexpr framework::TColor GridColor = 0x505050;
inline constexpr framework::TColor ChangeLineColor = framework::clSilver;

// The well the line is drawn in, border included, for a chart of `size`; with a title row above
// when `withTitle`.
framework::TRect PlotRect(QSize size, bool withTitle);

// The whole chart over the canvas: background, title when asked, well, grid, time and level
// labels, battery changes, the level line, or the empty-history text when there is no line.
void DrawBatteryChart(framework::Canvas &canvas, const BatteryChartData &data,
                      const ChartColors &colors, bool withTitle);

} // namespace widgets::chart
