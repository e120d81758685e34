#include "framework/Anchors.h"
#include "framework/Constraints.h"

#include <QWidget>
#include <gtest/gtest.h>

using framework::TAnchorKind;
using framework::TAnchors;

namespace {

constexpr TAnchorKind L = TAnchorKind::akLeft, T = TAnchorKind::akTop, R = TAnchorKind::akRight,
                      B = TAnchorKind::akBottom;

struct AnchorCase {
  const char *name;
  TAnchors anchors;
  QRect after; // control at (10, 20, 30, 40) in a 100 x 200 parent grown to 150 x 260
};

class Anchored : public testing::TestWithParam<AnchorCase> {
protected:
  QWidget parent;
  QWidget control{&parent};
  framework::Anchoring anchoring{control};

  void SetUp() override {
    parent.resize(100, 200);
    // A hidden parent holds its resize events back until it is shown.
    parent.show();
    control.setGeometry(10, 20, 30, 40);
    anchoring.SetAnchors(GetParam().anchors);
  }
};

TEST_P(Anchored, ParentResizeKeepsTheAnchoredDistances) {
  parent.resize(150, 260);
  EXPECT_EQ(control.geometry(), GetParam().after);
  // Back to the old size gives the old place: nothing drifts.
  parent.resize(100, 200);
  EXPECT_EQ(control.geometry(), QRect(10, 20, 30, 40));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Anchored,
    testing::Values(AnchorCase{"LeftTop", {}, {10, 20, 30, 40}},
                    AnchorCase{"RightBottom", {R, B}, {60, 80, 30, 40}},
                    AnchorCase{"AllSidesStretch", {L, T, R, B}, {10, 20, 80, 100}},
                    AnchorCase{"LeftRightTop", {L, R, T}, {10, 20, 80, 40}},
                    // Centre 25 of 100 -> 37 of 150; centre 40 of 200 -> 52 of 260.
                    AnchorCase{"NoneKeepsTheCentreFraction", TAnchors::None(), {22, 32, 30, 40}}),
    [](const auto &c) { return std::string(c.param.name); });

TEST(Anchoring, APlaceSetLaterIsTheOneKept) {
  QWidget parent;
  parent.resize(100, 100);
  parent.show();
  QWidget control(&parent);
  framework::Anchoring anchoring(control);
  anchoring.SetAnchors({R, B});
  control.setGeometry(50, 60, 10, 10);
  parent.resize(120, 130);
  EXPECT_EQ(control.geometry(), QRect(70, 90, 10, 10));
}

TEST(Anchoring, InactiveLeavesTheControlAlone) {
  QWidget parent;
  parent.resize(100, 100);
  parent.show();
  QWidget control(&parent);
  control.setGeometry(5, 5, 10, 10);
  framework::Anchoring anchoring(control);
  anchoring.SetAnchors({L, T, R, B});
  anchoring.SetActive(false);
  parent.resize(200, 200);
  EXPECT_EQ(control.geometry(), QRect(5, 5, 10, 10));
}

struct ClampCase {
  framework::TSizeConstraints limits;
  QSize asked, given;
};

class Clamped : public testing::TestWithParam<ClampCase> {};

TEST_P(Clamped, SizeStaysWithinTheLimitsAndZeroIsUnlimited) {
  EXPECT_EQ(GetParam().limits.Clamp(GetParam().asked), GetParam().given);
}

INSTANTIATE_TEST_SUITE_P(Cases, Clamped,
                         testing::Values(ClampCase{{}, {500, 3}, {500, 3}},
                                         ClampCase{{10, 20, 0, 0}, {5, 5}, {10, 20}},
                                         ClampCase{{0, 0, 40, 30}, {50, 50}, {40, 30}},
                                         ClampCase{{10, 10, 40, 30}, {20, 20}, {20, 20}},
                                         // A maximum under the minimum gives way to it.
                                         ClampCase{{30, 0, 20, 0}, {50, 5}, {30, 5}}));

} // namespace
