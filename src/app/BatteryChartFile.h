#pragma once

#include "skin/SkinTypes.h"
#include "widgets/chart/BatteryChart.h"

#include <QImage>

#include <string>

namespace app {

// The chart a file gets: the window's chart with its title above it.
inline constexpr int ChartFileWidth = 400;
inline constexpr int ChartFileHeight = 222;

// The battery chart of `data` in the look of `style`, titled, as a picture.
QImage BatteryChartPicture(const widgets::chart::BatteryChartData &data, skin::TsuiUIStyle style);

// Writes that picture as a PNG file through WriteWholeFile. False, with why in `message` (the
// file's name included), when nothing was written.
bool WriteBatteryChartPng(const std::string &path, const widgets::chart::BatteryChartData &data,
                          skin::TsuiUIStyle style, std::string &message);

} // namespace app
