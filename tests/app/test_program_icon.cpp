#include "app/Artwork.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

struct IconCase {
  int asked;
  QSize shown;
};

class ProgramIconSizes : public testing::TestWithParam<IconCase> {};

TEST_P(ProgramIconSizes, ComeFromTheNearestLargerDrawingAndAreNeverBlownUp) {
  const QIcon icon = app::ProgramIcon();
  const QPixmap pixmap = icon.pixmap(QSize(GetParam().asked, GetParam().asked));
  EXPECT_EQ(pixmap.size(), GetParam().shown);
  EXPECT_EQ(icon.actualSize(QSize(GetParam().asked, GetParam().asked)), GetParam().shown);
  // Drawn, not empty: the middle of every size is opaque.
  EXPECT_EQ(qAlpha(pixmap.toImage().pixel(pixmap.width() / 2, pixmap.height() / 2)), 255);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProgramIconSizes,
                         testing::Values(IconCase{16, {16, 16}}, IconCase{20, {20, 20}},
                                         IconCase{22, {22, 22}}, IconCase{48, {48, 48}},
                                         IconCase{64, {64, 64}}, IconCase{128, {128, 128}},
                                         IconCase{256, {128, 128}}));

TEST(ProgramIcon, OffersEveryDrawnSize) {
  const QList<QSize> sizes = app::ProgramIcon().availableSizes();
  EXPECT_EQ(sizes, (QList<QSize>{{16, 16}, {22, 22}, {32, 32}, {48, 48}, {64, 64}, {128, 128}}));
}

TEST(ProgramIcon, PaintsAtThePaintersDevicePixels) {
  // A tray at a scale of 2 paints its 22-pixel place with the 44-pixel picture, not the 22 one
  // enlarged.
  const QIcon icon = app::ProgramIcon();
  QImage painted(44, 44, QImage::Format_ARGB32_Premultiplied);
  painted.setDevicePixelRatio(2);
  painted.fill(Qt::transparent);
  {
    QPainter painter(&painted);
    icon.paint(&painter, QRect(0, 0, 22, 22));
  }
  const QImage wanted =
      icon.pixmap(QSize(44, 44)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  painted.setDevicePixelRatio(1);
  EXPECT_EQ(painted, wanted);
}

} // namespace
