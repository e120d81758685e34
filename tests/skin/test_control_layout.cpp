#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiImagePanel.h"

#include <gtest/gtest.h>

#include <typeinfo>

using namespace skin;
using framework::TAnchorKind;

namespace {

// A control of each kind at (10, 10, 30, 20) in a 100 x 100 parent, anchored right and bottom.
template <class Control> void ParentResizeMovesTheControlWithItsRightAndBottom() {
  SCOPED_TRACE(typeid(Control).name());
  QWidget parent;
  parent.resize(100, 100);
  // A hidden parent holds its resize events back until it is shown.
  parent.show();
  auto *control = new Control(&parent);
  EXPECT_TRUE(control->Anchors() == framework::TAnchors());
  control->SetAnchors({TAnchorKind::akRight, TAnchorKind::akBottom});
  control->setGeometry(10, 10, 30, 20);
  parent.resize(130, 150);
  EXPECT_EQ(control->geometry(), QRect(40, 60, 30, 20));
}

template <class Control> void FollowsTheParentsReadingOrderUntilItsOwnIsSet() {
  SCOPED_TRACE(typeid(Control).name());
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

TEST(Anchors, ButtonEditAndPanel) {
  ParentResizeMovesTheControlWithItsRightAndBottom<TsuiButton>();
  ParentResizeMovesTheControlWithItsRightAndBottom<TsuiEdit>();
  ParentResizeMovesTheControlWithItsRightAndBottom<TsuiImagePanel>();
}

TEST(ParentBiDiMode, ButtonAndEdit) {
  FollowsTheParentsReadingOrderUntilItsOwnIsSet<TsuiButton>();
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

TEST(DockedPanels, StackInCreationOrderAndFollowTheParent) {
  const struct {
    std::vector<TAlign> aligns; // in creation order, each panel 10 x 10 before docking
    std::vector<QRect> places;  // in a 100 x 80 parent
  } cases[] = {
      {{TAlign::alTop, TAlign::alTop}, {{0, 0, 100, 10}, {0, 10, 100, 10}}},
      {{TAlign::alRight, TAlign::alRight}, {{90, 0, 10, 80}, {80, 0, 10, 80}}},
      {{TAlign::alTop, TAlign::alLeft, TAlign::alBottom},
       {{0, 0, 100, 10}, {0, 10, 10, 70}, {10, 70, 90, 10}}},
      // The whole-client panel takes the rest even when created first.
      {{TAlign::alClient, TAlign::alTop, TAlign::alRight},
       {{0, 10, 90, 70}, {0, 0, 100, 10}, {90, 10, 10, 70}}},
  };
  for (const auto &c : cases) {
    QWidget parent;
    parent.resize(60, 60);
    parent.show();
    std::vector<TsuiImagePanel *> panels;
    for (TAlign align : c.aligns) {
      auto *panel = new TsuiImagePanel(&parent);
      panel->resize(10, 10);
      panel->show();
      panel->SetAlign(align);
      panels.push_back(panel);
    }
    parent.resize(100, 80);
    for (size_t i = 0; i < panels.size(); ++i)
      EXPECT_EQ(panels[i]->geometry(), c.places[i]) << "panel " << i << " of " << panels.size();
  }
}

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
