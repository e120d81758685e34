#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiImagePanel.h"

#include <gtest/gtest.h>

#include <functional>

using namespace skin;
using framework::TAnchorKind;

namespace {

// Each control placed at (10, 10, 30, 20) in a 100 x 100 parent, anchored right and bottom.
struct AnchoredControl {
  const char *name;
  std::function<QWidget *(QWidget &)> make;
};

class ControlAnchors : public testing::TestWithParam<AnchoredControl> {};

TEST_P(ControlAnchors, ParentResizeMovesTheControlWithItsRightAndBottom) {
  QWidget parent;
  parent.resize(100, 100);
  // A hidden parent holds its resize events back until it is shown.
  parent.show();
  QWidget *control = GetParam().make(parent);
  control->setGeometry(10, 10, 30, 20);
  parent.resize(130, 150);
  EXPECT_EQ(control->geometry(), QRect(40, 60, 30, 20));
}

template <class Control> QWidget *AnchoredRightBottom(QWidget &parent) {
  auto *control = new Control(&parent);
  EXPECT_TRUE(control->Anchors() == framework::TAnchors());
  control->SetAnchors({TAnchorKind::akRight, TAnchorKind::akBottom});
  return control;
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlAnchors,
                         testing::Values(AnchoredControl{"Button", AnchoredRightBottom<TsuiButton>},
                                         AnchoredControl{"Edit", AnchoredRightBottom<TsuiEdit>},
                                         AnchoredControl{"Panel",
                                                         AnchoredRightBottom<TsuiImagePanel>}),
                         [](const auto &c) { return std::string(c.param.name); });

template <class Control> void FollowsTheParentsReadingOrderUntilItsOwnIsSet() {
  QWidget parent;
  Control control(&parent);
  EXPECT_TRUE(control.ParentBiDiMode());
  parent.setLayoutDirection(Qt::RightToLeft);
  EXPECT_EQ(control.BiDiMode(), Qt::RightToLeft);
  control.SetBiDiMode(Qt::LeftToRight);
  EXPECT_FALSE(control.ParentBiDiMode());
  parent.setLayoutDirection(Qt::LeftToRight);
  parent.setLayoutDirection(Qt::RightToLeft);
  EXPECT_EQ(control.BiDiMode(), Qt::LeftToRight);
  control.SetParentBiDiMode(true);
  EXPECT_EQ(control.BiDiMode(), Qt::RightToLeft);
}

TEST(ParentBiDiMode, Button) {
  FollowsTheParentsReadingOrderUntilItsOwnIsSet<TsuiButton>();
}
TEST(ParentBiDiMode, Edit) {
  FollowsTheParentsReadingOrderUntilItsOwnIsSet<TsuiEdit>();
}

TEST(TsuiEdit, ConstraintsClampTheSizeNowAndOnLaterResizes) {
  QWidget parent;
  TsuiEdit edit(&parent);
  edit.setGeometry(0, 0, 80, 22);
  edit.SetConstraints({0, 0, 60, 0});
  EXPECT_EQ(edit.size(), QSize(60, 22));
  edit.SetConstraints({0, 25, 60, 0});
  EXPECT_EQ(edit.size(), QSize(60, 25));
  edit.resize(10, 10);
  EXPECT_EQ(edit.size(), QSize(10, 25));
  edit.SetConstraints({});
  edit.resize(300, 10);
  EXPECT_EQ(edit.size(), QSize(300, 10));
}

TEST(TsuiEdit, HideSelectionDecidesWhetherTheUnfocusedSelectionShows) {
  QWidget parent;
  TsuiEdit edit(&parent);
  EXPECT_TRUE(edit.HideSelection());
  const auto inactive = [&] {
    return edit.palette().color(QPalette::Inactive, QPalette::Highlight);
  };
  edit.SetColor(framework::clMoneyGreen);
  EXPECT_EQ(inactive(), framework::ToQColor(framework::clMoneyGreen));
  edit.SetHideSelection(false);
  EXPECT_EQ(inactive(), edit.palette().color(QPalette::Active, QPalette::Highlight));
  EXPECT_NE(inactive(), framework::ToQColor(framework::clMoneyGreen));
}

struct DockCase {
  const char *name;
  std::vector<TAlign> aligns; // in creation order, each panel 10 x 10 before docking
  std::vector<QRect> places;  // in a 100 x 80 parent
};

class DockedPanels : public testing::TestWithParam<DockCase> {};

TEST_P(DockedPanels, StackInCreationOrderAndFollowTheParent) {
  QWidget parent;
  parent.resize(60, 60);
  parent.show();
  std::vector<TsuiImagePanel *> panels;
  for (TAlign align : GetParam().aligns) {
    auto *panel = new TsuiImagePanel(&parent);
    panel->resize(10, 10);
    panel->show();
    panel->SetAlign(align);
    panels.push_back(panel);
  }
  parent.resize(100, 80);
  for (size_t i = 0; i < panels.size(); ++i)
    EXPECT_EQ(panels[i]->geometry(), GetParam().places[i]) << "panel " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DockedPanels,
    testing::Values(
        DockCase{"TwoTops", {TAlign::alTop, TAlign::alTop}, {{0, 0, 100, 10}, {0, 10, 100, 10}}},
        DockCase{
            "TwoRights", {TAlign::alRight, TAlign::alRight}, {{90, 0, 10, 80}, {80, 0, 10, 80}}},
        DockCase{"TopThenLeftThenBottom",
                 {TAlign::alTop, TAlign::alLeft, TAlign::alBottom},
                 {{0, 0, 100, 10}, {0, 10, 10, 70}, {10, 70, 90, 10}}},
        // The whole-client panel takes the rest even when created first.
        DockCase{"ClientFirst",
                 {TAlign::alClient, TAlign::alTop, TAlign::alRight},
                 {{0, 10, 90, 70}, {0, 0, 100, 10}, {90, 10, 10, 70}}}),
    [](const auto &c) { return std::string(c.param.name); });

TEST(DockedPanels, APanelLeavingItsSideLetsTheLaterOnesMoveUp) {
  QWidget parent;
  parent.resize(100, 80);
  TsuiImagePanel first(&parent), second(&parent);
  first.resize(10, 10);
  second.resize(10, 10);
  first.SetAlign(TAlign::alTop);
  second.SetAlign(TAlign::alTop);
  ASSERT_EQ(second.geometry(), QRect(0, 10, 100, 10));
  first.SetAlign(TAlign::alNone);
  EXPECT_EQ(second.geometry(), QRect(0, 0, 100, 10));
}

} // namespace
