#include "widgets/chart/BatteryChartView.h"

namespace widgets::chart {

BatteryChartView::BatteryChartView(QWidget *parent) : framework::RenderedControl(parent) {
  SetOpaque(true);
}

void BatteryChartView::SetData(BatteryChartData value) {
  m_data = std::move(value);
  Invalidate();
}

void BatteryChartView::SetColors(const ChartColors &colors) {
  m_colors = colors;
  Invalidate();
}

void BatteryChartView::Render(framework::Canvas &canvas) {
  DrawBatteryChart(canvas, m_data, m_colors, false);
}

} // namespace widgets::chart
