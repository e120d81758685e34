#include "AATestHelpers.h"
#include "framework/Fonts.h"
#include "widgets/aa/AARandom.h"

#include <gtest/gtest.h>

#include <set>

using namespace widgets::aa;
using aatest::Mask;
using aatest::Rows;
using aatest::Surface;
using aatest::Values;

namespace {

struct ReductionCase {
  const char *name;
  TAAQuality quality;
  Rows surface;
  Rows expected;
};

class Reduction : public testing::TestWithParam<ReductionCase> {};

TEST_P(Reduction, ReducesEveryBlockWithItsIntegerWeights) {
  const ReductionCase &c = GetParam();
  TCnAAMask mask;
  mask.SetQuality(c.quality);
  mask.SetSize(static_cast<int>(c.expected.front().size()), static_cast<int>(c.expected.size()));
  mask.Reduce(Surface(c.surface));
  EXPECT_EQ(Values(mask), c.expected);
}

const Rows Ramp4x4 = {
    {0, 16, 32, 48}, {64, 80, 96, 112}, {128, 144, 160, 176}, {192, 208, 224, 240}};

INSTANTIATE_TEST_SUITE_P(
    Qualities, Reduction,
    testing::Values(
        ReductionCase{"HighFull", TAAQuality::aqHigh, Rows(4, std::vector<int>(4, 255)), {{255}}},
        ReductionCase{"HighSumShiftedBy4", TAAQuality::aqHigh, Ramp4x4, {{120}}},
        ReductionCase{"HighJustBelowOne",
                      TAAQuality::aqHigh,
                      {{15, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
                      {{0}}},
        // 7 full weights and 2 halved corners: 255 * 7 + 127 * 2 = 2039, >> 3 = 254.
        ReductionCase{
            "NormalFull", TAAQuality::aqNormal, Rows(3, std::vector<int>(3, 255)), {{254}}},
        ReductionCase{"NormalTopRightCountsHalf",
                      TAAQuality::aqNormal,
                      {{0, 0, 255}, {0, 0, 0}, {0, 0, 0}},
                      {{15}}},
        ReductionCase{"NormalBottomLeftCountsHalf",
                      TAAQuality::aqNormal,
                      {{0, 0, 0}, {0, 0, 0}, {255, 0, 0}},
                      {{15}}},
        ReductionCase{"NormalTopLeftCountsWhole",
                      TAAQuality::aqNormal,
                      {{255, 0, 0}, {0, 0, 0}, {0, 0, 0}},
                      {{31}}},
        ReductionCase{"NormalBottomRightCountsWhole",
                      TAAQuality::aqNormal,
                      {{0, 0, 0}, {0, 0, 0}, {0, 0, 255}},
                      {{31}}},
        // Each halved value is shifted before adding: 1 >> 1 is 0, not half of a sum.
        ReductionCase{"NormalHalvesShiftBeforeAdding",
                      TAAQuality::aqNormal,
                      {{7, 0, 1}, {0, 0, 0}, {1, 0, 0}},
                      {{0}}},
        ReductionCase{
            "NormalTwoBlocks",
            TAAQuality::aqNormal,
            {{255, 255, 255, 0, 0, 0}, {255, 255, 255, 0, 80, 0}, {255, 255, 255, 0, 0, 0}},
            {{254, 10}}},
        ReductionCase{"LowSumShiftedBy2", TAAQuality::aqLow, {{10, 20}, {30, 41}}, {{25}}},
        ReductionCase{"LowBlocksInOrder",
                      TAAQuality::aqLow,
                      {{0, 0, 200, 200}, {0, 0, 200, 200}, {4, 4, 9, 9}, {4, 4, 9, 9}},
                      {{0, 200}, {4, 9}}},
        ReductionCase{"NoneKeepsValues",
                      TAAQuality::aqNone,
                      {{0, 1, 254}, {255, 128, 7}},
                      {{0, 1, 254}, {255, 128, 7}}}),
    [](const testing::TestParamInfo<ReductionCase> &p) { return std::string(p.param.name); });

TEST(AAMask, RowsArePaddedAndALineOutsideIsRefused) {
  TCnAAMask mask;
  mask.SetSize(5, 2);
  EXPECT_EQ(mask.Stride(), 8);
  EXPECT_NO_THROW(mask.ScanLine(1));
  for (const int y : {-1, 2}) {
    try {
      mask.ScanLine(y);
      ADD_FAILURE() << "row " << y << " was handed out";
    } catch (const AAError &e) {
      EXPECT_STREQ(e.what(), "Invalid line!");
    }
  }
}

TEST(AAMask, QualitySetsTheScale) {
  TCnAAMask mask;
  EXPECT_EQ(mask.Quality(), TAAQuality::aqNormal);
  EXPECT_EQ(mask.Scale(), 3);
  for (const auto &[quality, scale] : {std::pair{TAAQuality::aqHigh, 4},
                                       {TAAQuality::aqNormal, 3},
                                       {TAAQuality::aqLow, 2},
                                       {TAAQuality::aqNone, 1}}) {
    mask.SetQuality(quality);
    EXPECT_EQ(mask.Scale(), scale);
  }
}

std::set<int> Levels(const TCnAAMask &mask) {
  std::set<int> levels;
  for (const auto &row : Values(mask))
    levels.insert(row.begin(), row.end());
  return levels;
}

TEST(AAMask, TheRasteriserHandsHardEdgesAndTheSmoothingIsOurs) {
  const QFont font = framework::MakeFont(QStringLiteral("MS Sans Serif"), -13, true);
  TCnAAMask mask;
  mask.SetQuality(TAAQuality::aqNone);
  mask.DrawMask(font, 0, QStringLiteral("83%"), QSize(30, 16), QPoint());
  EXPECT_EQ(Levels(mask), (std::set<int>{0, 255})); // no grey from the font engine

  mask.SetQuality(TAAQuality::aqNormal);
  mask.DrawMask(font, 0, QStringLiteral("83%"), QSize(30, 16), QPoint());
  const std::set<int> levels = Levels(mask);
  EXPECT_GT(levels.size(), 4u);
  EXPECT_LE(*levels.rbegin(), 254); // the most a 3 x 3 block can give

  mask.DrawMask(font, 0, QStringLiteral(" "), QSize(5, 16), QPoint());
  EXPECT_EQ(Levels(mask), (std::set<int>{0}));
}

struct TransformCase {
  const char *name;
  void (*apply)(TCnAAMask &);
  Rows before;
  Rows after;
};

class Transform : public testing::TestWithParam<TransformCase> {};

TEST_P(Transform, GivesExactValues) {
  const TransformCase &c = GetParam();
  TCnAAMask mask = Mask(c.before);
  c.apply(mask);
  EXPECT_EQ(Values(mask), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, Transform,
    testing::Values(
        // (|90 - 10| + |70 - 30| + |80 - 20| + |200 - 0|) >> 2 = 95; the edges stay.
        TransformCase{"OutlineCentre",
                      [](TCnAAMask &m) { m.Outline(); },
                      {{0, 10, 20}, {30, 99, 70}, {80, 90, 200}},
                      {{0, 10, 20}, {30, 95, 70}, {80, 90, 200}}},
        TransformCase{"OutlineFlatInsideIsZero",
                      [](TCnAAMask &m) { m.Outline(); },
                      {{9, 9, 9, 9}, {9, 9, 9, 9}, {9, 9, 9, 9}},
                      {{9, 9, 9, 9}, {9, 0, 0, 9}, {9, 9, 9, 9}}},
        TransformCase{"OutlineTwoRowsUnchanged",
                      [](TCnAAMask &m) { m.Outline(); },
                      {{0, 255, 0}, {255, 0, 255}},
                      {{0, 255, 0}, {255, 0, 255}}},
        TransformCase{"MirrorHorz",
                      [](TCnAAMask &m) { m.MirrorHorz(); },
                      {{1, 2, 3}, {4, 5, 6}},
                      {{3, 2, 1}, {6, 5, 4}}},
        TransformCase{"MirrorVert",
                      [](TCnAAMask &m) { m.MirrorVert(); },
                      {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}},
                      {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}}},
        // Left border: offsets (0,0,0,1,2) then (-1,-1,0,1,2); one row repeats five times.
        TransformCase{"BlurLeftBorder",
                      [](TCnAAMask &m) { m.Blur(100); },
                      {{250, 0, 0, 0, 0, 0}},
                      {{150, 100, 50, 0, 0, 0}}},
        // Right border: offsets (-2,-1,0,1,1) then (-2,-1,0,0,0).
        TransformCase{"BlurRightBorder",
                      [](TCnAAMask &m) { m.Blur(100); },
                      {{0, 0, 0, 0, 0, 250}},
                      {{0, 0, 0, 50, 100, 150}}},
        TransformCase{"BlurTopBorder",
                      [](TCnAAMask &m) { m.Blur(100); },
                      {{250}, {0}, {0}, {0}, {0}, {0}},
                      {{150}, {100}, {50}, {0}, {0}, {0}}},
        // Windows reaching past a mask under 4 pixels are kept inside it.
        TransformCase{"BlurOnePixel", [](TCnAAMask &m) { m.Blur(100); }, {{77}}, {{77}}},
        TransformCase{"BlurTwoPixels", [](TCnAAMask &m) { m.Blur(100); }, {{0, 250}}, {{100, 150}}},
        TransformCase{"BlurThreeByTwo",
                      [](TCnAAMask &m) { m.Blur(100); },
                      {{0, 0, 250}, {0, 0, 0}},
                      {{30, 60, 90}, {20, 40, 60}}},
        // Round(sum / 25): 70 / 25 = 2.8 -> 3, 105 / 25 = 4.2 -> 4.
        TransformCase{"BlurRounds", [](TCnAAMask &m) { m.Blur(100); }, {{0, 7}}, {{3, 4}}},
        // k = Round(127.5) = 128: 0 + floor(100 * 128 / 256), 250 + floor(-100 * 128 / 256).
        TransformCase{
            "BlurHalfStrength", [](TCnAAMask &m) { m.Blur(50); }, {{0, 250}}, {{50, 200}}},
        // k = Round(25.5) = 26 (halves to even); floor(-10.16) is -11.
        TransformCase{
            "BlurStrengthTenFloors", [](TCnAAMask &m) { m.Blur(10); }, {{0, 250}}, {{10, 239}}},
        TransformCase{"SprayRangeZeroKeepsAll",
                      [](TCnAAMask &m) {
                        AARandom rnd;
                        m.Spray(0, rnd);
                      },
                      {{1, 2, 3}, {4, 5, 6}},
                      {{1, 2, 3}, {4, 5, 6}}},
        TransformCase{"SprayStaysInsideAOnePixelMask",
                      [](TCnAAMask &m) {
                        AARandom rnd;
                        m.Spray(100, rnd);
                      },
                      {{42}},
                      {{42}}}),
    [](const testing::TestParamInfo<TransformCase> &p) { return std::string(p.param.name); });

TEST(AAMask, SprayTakesValuesFromTheMaskItself) {
  Rows rows(6, std::vector<int>(7));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 7; ++x)
      rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = 10 * y + x;
  TCnAAMask mask = Mask(rows);
  AARandom rnd(7);
  mask.Spray(3, rnd);
  std::set<int> original;
  for (const auto &row : rows)
    original.insert(row.begin(), row.end());
  bool moved = false;
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 7; ++x) {
      EXPECT_TRUE(original.count(mask.Value(x, y)));
      moved = moved || mask.Value(x, y) != 10 * y + x;
    }
  EXPECT_TRUE(moved);
}

} // namespace
