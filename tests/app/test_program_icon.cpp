#include "app/Artwork.h"

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
                                         IconCase{64, {64, 64}}, IconCase{128, {64, 64}}));

TEST(ProgramIcon, OffersEveryDrawnSize) {
  const QList<QSize> sizes = app::ProgramIcon().availableSizes();
  EXPECT_EQ(sizes, (QList<QSize>{{16, 16}, {22, 22}, {32, 32}, {48, 48}, {64, 64}}));
}

} // namespace
