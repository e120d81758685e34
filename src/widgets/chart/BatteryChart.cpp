#include "widgets/chart/BatteryChart.h"

#include "framework/Fonts.h"
#include "receiver/BatteryPercent.h"
#include "skin/style/StyleReads.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartTexts.h"
#include "widgets/chart/ChartTrace.h"

#include <QFontMetrics>

#include <algorithm>

namespace widgets::chart {
namespace {

using framework::Canvas;
using framework::TColor;
using framework::TRect;

constexpr int TitleHeight = 22;
constexpr int MarkHeight = 4;
constexpr int TopMargin = MarkHeight + 4;
constexpr int RightMargin = 14;
constexpr int LabelGap = 4;
constexpr int TickLength = 3;
constexpr int LabelSpacing = 10; // between two time labels at least
constexpr int LineWidth = 2;

QFont labelFont() {
  return framework::MakeFont(QStringLiteral("Tahoma"), -11);
}

QFont titleFont() {
  return framework::MakeFont(QStringLiteral("Tahoma"), -13, true);
}

QString percentLabel(int percent) {
  return QStringLiteral("%1%").arg(percent);
}

// Fills the part of `r` inside `clip`.
void fillClipped(Canvas &canvas, TRect r, const TRect &clip, TColor color) {
  r.Left = std::max(r.Left, clip.Left);
  r.Top = std::max(r.Top, clip.Top);
  r.Right = std::min(r.Right, clip.Right);
  r.Bottom = std::min(r.Bottom, clip.Bottom);
  if (r.IsEmpty()) return;
  canvas.SetBrushColor(color);
  canvas.FillRect(r);
}

// Times and percentages to pixels of the well's inside.
class Scale {
public:
  Scale(const TRect &inner, std::int64_t from, std::int64_t to)
      : m_inner(inner), m_from(from), m_span(std::max<std::int64_t>(1, to - from)) {}

  int X(std::int64_t t) const {
    const std::int64_t offset = std::clamp<std::int64_t>(t - m_from, 0, m_span);
    return m_inner.Left + static_cast<int>(offset * (m_inner.Width() - 1) / m_span);
  }
  // The top row of a line of LineWidth rows.
  int Y(int percent) const {
    const int lowest = m_inner.Bottom - LineWidth;
    return lowest - (lowest - m_inner.Top) * std::clamp(percent, 0, 100) / 100;
  }

private:
  TRect m_inner;
  std::int64_t m_from;
  std::int64_t m_span;
};

void drawDottedRow(Canvas &canvas, int y, const TRect &inner) {
  for (int x = inner.Left; x < inner.Right; x += 2)
    canvas.SetPixel(x, y, GridColor);
}

void drawDottedColumn(Canvas &canvas, int x, const TRect &inner, TColor color, int on, int off) {
  for (int y = inner.Top; y < inner.Bottom; y += on + off)
    fillClipped(canvas, {x, y, x + 1, y + on}, inner, color);
}

void drawLevelLabels(Canvas &canvas, const TRect &plot, const Scale &scale, const TRect &inner) {
  const int height = canvas.TextExtent(QStringLiteral("0")).height();
  for (const int percent : {0, 25, 50, 75, 100}) {
    const int y = scale.Y(percent);
    if (percent != 0 && percent != 100) drawDottedRow(canvas, y, inner);
    if (percent % 50 != 0) continue;
    const int top = std::clamp(y + LineWidth / 2 - height / 2, 0, plot.Bottom - height);
    canvas.TextRect({0, top, plot.Left - LabelGap, top + height}, percentLabel(percent),
                    {framework::TextAlign::Right, framework::TextLayout::Top, false,
                     framework::Mnemonic::Literal});
  }
}

void drawTimeAxis(Canvas &canvas, const ChartTrace &trace, const BatteryChartData &data,
                  const TRect &plot, const TRect &inner, const Scale &scale,
                  const ChartColors &colors) {
  const QString widest = data.Language == receiver::TLngID::Eng ? QStringLiteral("28 Sep")
                                                                : QStringLiteral(u"12月28日");
  const int spacing = canvas.TextExtent(widest).width() + LabelSpacing;
  const TimeAxis axis = ChooseTimeAxis(trace.From, trace.To, data.UtcOffsetSeconds, inner.Width(),
                                       spacing, data.Language);
  const int height = canvas.TextExtent(QStringLiteral("0")).height();
  const int top = plot.Bottom + TickLength + 1;
  int freeFrom = 0; // labels never overlap: one that would is left out
  for (const AxisTick &tick : axis.Ticks) {
    const int x = scale.X(tick.UnixSeconds);
    drawDottedColumn(canvas, x, inner, GridColor, 1, 1);
    fillClipped(canvas, {x, plot.Bottom, x + 1, plot.Bottom + TickLength},
                {0, 0, canvas.Width(), canvas.Height()}, colors.Border);
    const int width = canvas.TextExtent(tick.Label).width();
    const int left = std::clamp(x - width / 2, 0, std::max(0, canvas.Width() - width));
    if (left < freeFrom) continue;
    canvas.TextRect({left, top, left + width, top + height}, tick.Label,
                    {framework::TextAlign::Left, framework::TextLayout::Top, false,
                     framework::Mnemonic::Literal});
    freeFrom = left + width + LabelGap;
  }
}

void drawChanges(Canvas &canvas, const ChartTrace &trace, const BatteryChartData &data,
                 const TRect &plot, const TRect &inner, const Scale &scale,
                 const ChartColors &colors) {
  for (const std::int64_t t : data.BatteryChanges) {
    if (t < trace.From || t > trace.To) continue;
    const int x = scale.X(t);
    drawDottedColumn(canvas, x, inner, ChangeLineColor, 3, 2);
    // A small triangle pointing down at the well.
    for (int row = 0; row < MarkHeight; ++row) {
      const int half = MarkHeight - 1 - row;
      const int y = plot.Top - MarkHeight + row;
      fillClipped(canvas, {x - half, y, x + half + 1, y + 1}, {0, 0, canvas.Width(), plot.Top},
                  colors.Mark);
    }
  }
}

void drawLine(Canvas &canvas, const ChartTrace &trace, const TRect &inner, const Scale &scale) {
  const LevelStep *previous = nullptr;
  for (const LevelStep &step : trace.Steps) {
    const TColor color = receiver::BatteryPercentColor(step.Percent);
    const int x0 = scale.X(step.From);
    const int x1 = std::max(scale.X(step.To), x0 + 1);
    const int y = scale.Y(step.Percent);
    if (previous && previous->To == step.From) {
      const int from = scale.Y(previous->Percent);
      fillClipped(canvas, {x0, std::min(from, y), x0 + LineWidth, std::max(from, y) + LineWidth},
                  inner, color);
    }
    fillClipped(canvas, {x0, y, x1, y + LineWidth}, inner, color);
    previous = &step;
  }
}

} // namespace

ChartColors StyleChartColors(const skin::style::ThemeEntries *theme, skin::TsuiUIStyle style) {
  using skin::style::StyleEntry;
  const skin::style::StyleReader reader(theme, style);
  const skin::style::StyleReader builtIn(nullptr, reader.Resolved().Style);
  const auto colour = [&](StyleEntry entry) {
    const TColor c = reader.Color(entry);
    return c == skin::style::AbsentColor ? builtIn.Color(entry) : c;
  };
  return {colour(StyleEntry::FormBackgroundColor), colour(StyleEntry::ControlFontColor),
          colour(StyleEntry::ControlBorderColor), colour(StyleEntry::MenuSelectedBorderColor)};
}

TRect PlotRect(QSize size, bool withTitle) {
  const QFontMetrics metrics(labelFont());
  const int left = metrics.horizontalAdvance(percentLabel(100)) + 2 * LabelGap;
  const int top = TopMargin + (withTitle ? TitleHeight : 0);
  const int bottom = size.height() - metrics.height() - TickLength - LabelGap;
  return {left, top, std::max(left, size.width() - RightMargin), std::max(top, bottom)};
}

void DrawBatteryChart(Canvas &canvas, const BatteryChartData &data, const ChartColors &colors,
                      bool withTitle) {
  const QSize size(canvas.Width(), canvas.Height());
  canvas.SetBrushColor(colors.Background);
  canvas.FillRect({0, 0, size.width(), size.height()});
  if (withTitle) {
    canvas.SetFont(titleFont());
    canvas.SetFontColor(colors.Text);
    canvas.TextRect({0, 0, size.width(), TitleHeight}, HistoryTitle(data.Language),
                    {framework::TextAlign::Center, framework::TextLayout::Center, true,
                     framework::Mnemonic::Literal});
  }

  const TRect plot = PlotRect(size, withTitle);
  if (plot.Width() < 3 || plot.Height() < 3) return;
  canvas.SetBrushColor(WellColor);
  canvas.FillRect(plot);
  canvas.SetPenColor(colors.Border);
  canvas.FrameRect(plot);
  const TRect inner{plot.Left + 1, plot.Top + 1, plot.Right - 1, plot.Bottom - 1};

  canvas.SetFont(labelFont());
  const ChartTrace trace = TraceOf(data.Records, data.Now);
  if (trace.Steps.empty()) {
    canvas.SetFontColor(ChangeLineColor);
    canvas.TextRect(inner, NoHistoryText(data.Language),
                    {framework::TextAlign::Center, framework::TextLayout::Center, true,
                     framework::Mnemonic::Literal});
    return;
  }
  const Scale scale(inner, trace.From, trace.To);
  canvas.SetFontColor(colors.Text);
  drawLevelLabels(canvas, plot, scale, inner);
  drawTimeAxis(canvas, trace, data, plot, inner, scale, colors);
  drawChanges(canvas, trace, data, plot, inner, scale, colors);
  drawLine(canvas, trace, inner, scale);
}

} // namespace widgets::chart
