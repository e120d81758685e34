#pragma once

#include "receiver/BatteryRecord.h"
#include "receiver/Languages.h"
#include "skin/SkinTypes.h"
#include "widgets/chart/BatteryChart.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

namespace skin {
class TsuiForm;
namespace style {
class ThemeEntries;
}
} // namespace skin
namespace widgets::chart {
class BatteryChartView;
}

namespace app {

// Where the battery history window reads the history, each time it is shown. An empty function
// reads as no records and no battery changes; the clock defaults to the system's.
struct BatteryHistorySource {
  std::function<std::vector<receiver::BatteryRecord>()> Records;
  std::function<std::vector<std::int64_t>()> BatteryChanges;
  std::function<std::int64_t()> Now;
};

// Local time minus UTC at `unixSeconds`, for the chart's time labels.
int LocalUtcOffset(std::int64_t unixSeconds);

// What the chart shows of `source` now, in `language`.
widgets::chart::BatteryChartData ReadBatteryHistory(const BatteryHistorySource &source,
                                                    receiver::TLngID language);

// The "Battery history" window: a skinned frame in a given look with its title in the current
// language, the chart below it, closed by its title bar's close button or Escape. Closing only
// hides it; it never ends the program.
class BatteryHistoryWindow final : public QWidget {
  Q_OBJECT
public:
  static constexpr int ChartWidth = 400;
  static constexpr int ChartHeight = 200;

  // `theme` (may be null) must outlive the window.
  BatteryHistoryWindow(skin::TsuiUIStyle style, skin::style::ThemeEntries *theme);
  ~BatteryHistoryWindow() override;

  skin::TsuiForm &Frame() const { return *m_frame; }
  widgets::chart::BatteryChartView &Chart() const { return *m_chart; }

  // The chart's data, its language included, which the title follows.
  void SetData(widgets::chart::BatteryChartData value);
  void SetLanguage(receiver::TLngID language);

protected:
  void keyPressEvent(QKeyEvent *event) override;

private:
  skin::TsuiForm *m_frame = nullptr;
  widgets::chart::BatteryChartView *m_chart = nullptr;
};

} // namespace app
