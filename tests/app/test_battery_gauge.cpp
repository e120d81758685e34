#include "app/FormLayout.h"
#include "widgets/TProgBar.h"

#include <QObject>
#include <QString>
#include <gtest/gtest.h>

// The battery gauge as the main window describes it.

using namespace widgets;
using framework::TColor;

namespace {

constexpr TColor BatteryBackground = 0x1B192C;

TColor At(const TProgBar &bar, int x, int y) {
  return framework::FromQRgb(bar.Buffer().pixel(x, y));
}

void ExpectColour(const TProgBar &bar, TColor colour, std::initializer_list<QPoint> points) {
  for (const QPoint p : points)
    EXPECT_EQ(At(bar, p.x(), p.y()), colour) << "at " << p.x() << ", " << p.y();
}

struct Handler {
  void OnShow(QObject *, QString &) {}
};

} // namespace

TEST(BatteryGauge, BatteryGaugeExtentsFollowTheLevel) {
  const int expected[] = {0, 17, 34, 52, 69, 86, 103};
  for (int level = 0; level <= 6; ++level)
    EXPECT_EQ(TProgBar::BarExtent(103, level, 0, 6), expected[level]) << level;
  EXPECT_EQ(TProgBar::BarExtent(103, 50, 0, 100), 52) << "51.5 rounds to the even neighbour";

  TProgBar bar;
  app::layout::pbMseBattery(bar);
  EXPECT_EQ(At(bar, 12, 52), framework::clRed) << "Max 100, Value 50: extent 52";
  EXPECT_EQ(At(bar, 12, 51), BatteryBackground);

  bar.SetMax(6);
  for (int level = 1; level <= 5; ++level) {
    bar.SetValue(level);
    const int top = 104 - expected[level];
    EXPECT_EQ(At(bar, 12, top), framework::clRed) << level;
    EXPECT_EQ(At(bar, 5, top), framework::clRed) << level;
    EXPECT_EQ(At(bar, 12, top - 1), BatteryBackground) << level;
  }

  bar.SetValue(0);
  for (int y = 3; y <= 101; ++y)
    EXPECT_EQ(At(bar, 12, y), BatteryBackground) << "no bar and no grid line at row " << y;

  bar.SetValue(6);
  for (int y = 3; y <= 101; ++y)
    EXPECT_NE(At(bar, 12, y), BatteryBackground) << "full bar, row " << y;
}

TEST(BatteryGauge, GridRowsStartOnTheInnerBottomRowAndStopAtTheBarTop) {
  TProgBar bar;
  app::layout::pbMseBattery(bar);
  bar.SetFrameStyleOuter(TFrameStyle::fsNone);
  bar.SetFrameStyleInner(TFrameStyle::fsNone);
  bar.SetMax(6);
  bar.SetValue(3); // bar rows 52..103
  for (int y = 52; y <= 103; ++y) {
    const bool gridRow = (103 - y) % 10 == 0;
    EXPECT_EQ(At(bar, 1, y), gridRow ? framework::clBlack : framework::clRed) << y;
    EXPECT_EQ(At(bar, 22, y), gridRow ? framework::clBlack : framework::clRed) << y;
  }
  EXPECT_EQ(At(bar, 12, 43), BatteryBackground) << "no grid line above the bar";
  EXPECT_EQ(At(bar, 23, 103), framework::clBlack) << "margin band";

  for (int dist : {0, 1}) {
    bar.SetGridDist(dist);
    EXPECT_EQ(At(bar, 12, 103), framework::clRed) << "grid distance " << dist;
    EXPECT_EQ(At(bar, 12, 93), framework::clRed) << "grid distance " << dist;
  }
}

TEST(BatteryGauge, RaisedFramesOfTheBatteryGauge) {
  TProgBar bar;
  app::layout::pbMseBattery(bar);
  const TColor margin = 0xFF00FF;
  bar.SetColorMargin(margin);
  bar.SetFrameStyleInner(TFrameStyle::fsNone);
  // Outer frame on (0, 0, 24, 105); its corners keep the margin colour.
  const TColor white = framework::clWhite, black = framework::clBlack, grey = framework::clGray;
  ExpectColour(bar, white, {QPoint(1, 2), QPoint(1, 102), QPoint(1, 1), QPoint(21, 1)});
  ExpectColour(bar, black, {QPoint(1, 104), QPoint(22, 104), QPoint(23, 104), QPoint(23, 1)});
  ExpectColour(bar, grey,
               {QPoint(0, 0), QPoint(0, 103), QPoint(22, 50), QPoint(12, 103), QPoint(1, 103)});
  ExpectColour(bar, margin, {QPoint(0, 104), QPoint(23, 0)});

  // Inner frame on (1, 1, 23, 104): its corner pixels are the only margin colour inside.
  bar.SetFrameStyleOuter(TFrameStyle::fsNone);
  bar.SetFrameStyleInner(TFrameStyle::fsRaised);
  ExpectColour(bar, margin, {QPoint(1, 103), QPoint(22, 1), QPoint(0, 0)}); // (0, 0): outside
  ExpectColour(bar, white, {QPoint(2, 2)});
  ExpectColour(bar, black, {QPoint(12, 103), QPoint(22, 50)});
  ExpectColour(bar, grey, {QPoint(21, 50), QPoint(12, 102)});

  // Lowered exchanges dark and light.
  bar.SetFrameStyleInner(TFrameStyle::fsLowered);
  ExpectColour(bar, black, {QPoint(2, 2)});
  ExpectColour(bar, white, {QPoint(12, 103)});
  bar.SetColorScheme(TColorScheme::csSystem);
  EXPECT_EQ(bar.FrameColorShadow(), framework::clBtnShadow);
  EXPECT_EQ(bar.FrameColorLight(), framework::clBtnHighlight);
  EXPECT_EQ(At(bar, 12, 103), framework::ColorToRGB(framework::clBtnHighlight));
}

TEST(BatteryGauge, AssignCopiesEveryGaugeProperty) {
  TProgBar source;
  app::layout::pbMseBattery(source);
  source.SetShowColorGradient(true);
  source.SetColorScheme(TColorScheme::csSystem);
  source.SetTextDecPlaces(-1);
  Handler handler;
  source.SetOnShowValue(TBeforeShowValueEvent::bind<&Handler::OnShow>(&handler));

  TProgBar copy;
  copy.SetBounds(0, 0, 24, 105);
  EXPECT_TRUE(copy.Assign(&source));
  EXPECT_EQ(copy.ColorTable(), source.ColorTable());
  EXPECT_EQ(copy.FrameColorShadow(), framework::clBtnShadow);
  EXPECT_EQ(copy.ColorScheme(), TColorScheme::csSystem);
  EXPECT_EQ(copy.GridDist(), 10);
  EXPECT_EQ(copy.MarginTop(), 1);
  EXPECT_EQ(copy.Direction(), TProgBarDirection::pbdUpward);
  EXPECT_EQ(copy.TextDecPlaces(), -1);
  EXPECT_EQ(copy.TextAngle(), 90);
  EXPECT_EQ(copy.OnShowValue(), source.OnShowValue());
  EXPECT_EQ(copy.Buffer(), source.Buffer());
  EXPECT_EQ(copy.Left(), 0) << "position is not a gauge property";

  TProgBar third;
  EXPECT_TRUE(source.AssignTo(&third));
  EXPECT_EQ(third.Value(), 50.0);
  QObject other;
  EXPECT_FALSE(copy.Assign(&other));
  EXPECT_FALSE(copy.AssignTo(&other));
  EXPECT_FALSE(copy.Assign(nullptr));
}
