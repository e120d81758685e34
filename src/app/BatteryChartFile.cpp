#include "app/BatteryChartFile.h"

#include "app/Messages.h"
#include "app/WholeFile.h"
#include "framework/Canvas.h"

#include <QBuffer>

#include <cstdint>
#include <span>

namespace app {

QImage BatteryChartPicture(const widgets::chart::BatteryChartData &data, skin::TsuiUIStyle style) {
  QImage picture(ChartFileWidth, ChartFileHeight, QImage::Format_RGB32);
  framework::Canvas canvas(picture);
  widgets::chart::DrawBatteryChart(canvas, data, widgets::chart::StyleChartColors(nullptr, style),
                                   true);
  return picture;
}

bool WriteBatteryChartPng(const std::string &path, const widgets::chart::BatteryChartData &data,
                          skin::TsuiUIStyle style, std::string &message) {
  const QString shown = ShownPath(QString::fromStdString(path));
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) ||
      !BatteryChartPicture(data, style).save(&buffer, "PNG")) {
    message = "cannot draw the chart for " + shown.toStdString();
    return false;
  }
  std::string reason;
  const auto *bytes = reinterpret_cast<const std::uint8_t *>(png.constData());
  if (WriteWholeFile(path, std::span(bytes, static_cast<std::size_t>(png.size())), reason))
    return true;
  message = "cannot write " + shown.toStdString() + ": " + reason;
  return false;
}

} // namespace app
