// The battery icon at every level of six, of a gauge that kept its Max 100 and without a receiver,
// at the sizes panels use, on a light and on a dark panel. QUELVANE_UPDATE_GOLDENS=1 draws the
// golden pictures anew.
#include "tray/BatteryIcon.h"

#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using framework::TColor;
using tray::BatteryIconState;

constexpr QRgb LightPanel = qRgb(0xEF, 0xEF, 0xEF);
constexpr QRgb DarkPanel = qRgb(0x2B, 0x2B, 0x2B);
constexpr int Gap = 4;

// Levels 0 to 6 of 6 in the readouts' colours, 5 of 100 (the first battery reading failed and
// the gauge kept its Max), then no receiver.
std::vector<BatteryIconState> States() {
  const TColor colours[] = {framework::clRed,    framework::clRed,  framework::clYellow,
                            framework::clYellow, framework::clLime, framework::clLime,
                            framework::clLime};
  std::vector<BatteryIconState> states;
  for (int level = 0; level <= 6; ++level)
    states.push_back({true, level, 6, colours[level]});
  states.push_back({true, 5, 100, framework::clRed});
  states.push_back({false, 0, 6, framework::clRed});
  return states;
}

// One row per panel, one column per state.
QImage Composed(int side) {
  const std::vector<BatteryIconState> states = States();
  const int cell = side + Gap;
  QImage picture(static_cast<int>(states.size()) * cell + Gap, 2 * cell + Gap,
                 QImage::Format_ARGB32);
  picture.fill(LightPanel);
  QPainter painter(&picture);
  painter.fillRect(0, cell + Gap / 2, picture.width(), picture.height(), QColor(DarkPanel));
  for (int row = 0; row < 2; ++row)
    for (std::size_t column = 0; column < states.size(); ++column)
      painter.drawImage(Gap + static_cast<int>(column) * cell, Gap + row * cell,
                        tray::DrawBatteryIcon(states[column], side));
  return picture;
}

TEST(BatteryIcon, EverySizeMatchesItsGoldenPicture) {
  for (const int side : tray::BatteryIconSizes) {
    SCOPED_TRACE(side);
    const QImage actual = Composed(side);
    const QString golden = QStringLiteral(QUELVANE_TEST_DATA "/battery_icon_%1.png").arg(side);
    if (qEnvironmentVariableIntValue("QUELVANE_UPDATE_GOLDENS") == 1) {
      ASSERT_TRUE(actual.save(golden, "PNG"));
      continue;
    }
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(expected.isNull()) << "no golden picture; scripts/update-goldens.sh draws it";
    if (expected == actual) continue;
    const QString saved =
        QDir::temp().filePath(QStringLiteral("battery_icon_%1.actual.png").arg(side));
    actual.save(saved, "PNG");
    ADD_FAILURE() << "differs from " << golden.toStdString() << "; see " << saved.toStdString();
  }
}

// What stands apart from the panel must span most of the icon on either panel, whatever it shows.
TEST(BatteryIcon, StandsOutOnLightAndDarkPanels) {
  for (const int side : tray::BatteryIconSizes)
    for (const QRgb panel : {LightPanel, DarkPanel})
      for (const BatteryIconState &state : States()) {
        SCOPED_TRACE(testing::Message()
                     << side << " px, panel " << std::hex << panel << std::dec << ", level "
                     << state.Value << " connected " << state.Connected);
        QImage shown(side, side, QImage::Format_ARGB32);
        shown.fill(panel);
        QPainter(&shown).drawImage(0, 0, tray::DrawBatteryIcon(state, side));
        QRect apart;
        for (int y = 0; y < side; ++y)
          for (int x = 0; x < side; ++x)
            if (std::abs(qGray(shown.pixel(x, y)) - qGray(panel)) >= 96) apart |= QRect(x, y, 1, 1);
        EXPECT_GE(apart.width(), side * 7 / 8);
        EXPECT_GE(apart.height(), side / 2);
      }
}

// Hosts ask the icon for the sizes they draw; each is drawn for that size, not scaled.
TEST(BatteryIcon, TheIconIsDrawnAnewForEachSizeAsked) {
  const BatteryIconState state{true, 4, 6, framework::clLime};
  const QIcon icon = tray::BatteryIcon(state);
  for (const int side : tray::BatteryIconSizes) {
    SCOPED_TRACE(side);
    EXPECT_EQ(icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32),
              tray::DrawBatteryIcon(state, side).convertToFormat(QImage::Format_ARGB32));
  }
  // Twice the pixels on a screen scaled by two.
  EXPECT_EQ(icon.pixmap(QSize(16, 16), 2.0).toImage().convertToFormat(QImage::Format_ARGB32),
            tray::DrawBatteryIcon(state, 32).convertToFormat(QImage::Format_ARGB32));
  EXPECT_NE(tray::DrawBatteryIcon({false, 4, 6, framework::clLime}, 22),
            tray::DrawBatteryIcon(state, 22));
}

} // namespace
