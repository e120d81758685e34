#pragma once

#include "framework/Rendered.h"
#include "widgets/chart/BatteryChart.h"

namespace widgets::chart {

// The battery chart as a drawn control, without a title: the window around it has one.
class BatteryChartView : public framework::RenderedControl {
  Q_OBJECT
public:
  explicit BatteryChartView(QWidget *parent = nullptr);

  const BatteryChartData &Data() const { return m_data; }
  void SetData(BatteryChartData value);
  const ChartColors &Colors() const { return m_colors; }
  void SetColors(const ChartColors &colors);

protected:
  void Render(framework::Canvas &canvas) override;

private:
  BatteryChartData m_data;
  ChartColors m_colors;
};

} // namespace widgets::chart
