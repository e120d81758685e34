#include "SkinTestHelpers.h"
#include "skin/DefaultStyle.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiPopupMenu.h"
#include "skin/TsuiTitleBar.h"

#include <gtest/gtest.h>

#include <optional>

using namespace skin;
using skin::test::FramedWindow;

namespace {

struct NewControls {
  TsuiUIStyle button, edit, menu;
};

// Controls created on `parent`, the menu owned by its window.
NewControls CreatedOn(QWidget &parent) {
  TsuiButton button(&parent);
  TsuiEdit edit(&parent);
  TsuiPopupMenu menu(parent.window());
  return {button.UIStyle(), edit.UIStyle(), menu.UIStyle()};
}

} // namespace

TEST(DefaultStyle, NewControlsTakeTheStyleOfTheirFormsSkinnedFrame) {
  struct Case {
    std::optional<TsuiUIStyle> frame; // none: a form without a skinned frame
    bool onFrame;                     // created on the frame, or straight on the form
    TsuiUIStyle want;
  };
  const Case cases[] = {
      {std::nullopt, false, TsuiUIStyle::DeepBlue},
      {TsuiUIStyle::Protein, true, TsuiUIStyle::Protein},
      {TsuiUIStyle::Protein, false, TsuiUIStyle::Protein},
      {TsuiUIStyle::MacOS, true, TsuiUIStyle::MacOS},
  };
  for (const Case &c : cases) {
    QWidget form;
    TsuiForm *frame = nullptr;
    if (c.frame) {
      frame = TsuiForm::Create(&form);
      frame->SetUIStyle(*c.frame);
    }
    QWidget *parent = c.onFrame ? static_cast<QWidget *>(frame) : &form;
    auto *panel = new QWidget(parent); // deeper in the form counts too
    for (QWidget *at : {parent, panel}) {
      const NewControls got = CreatedOn(*at);
      EXPECT_EQ(got.button, c.want) << static_cast<int>(c.want);
      EXPECT_EQ(got.edit, c.want) << static_cast<int>(c.want);
      EXPECT_EQ(got.menu, c.want) << static_cast<int>(c.want);
    }
  }
  EXPECT_EQ(DefaultStyle(nullptr), TsuiUIStyle::DeepBlue);
}

TEST(DefaultStyle, TheFrameAndItsTitleButtonsStartDeepBlue) {
  FramedWindow w(QSize(220, 270));
  w.form.SetUIStyle(TsuiUIStyle::Protein);
  EXPECT_EQ(w.form.TitleBar().Buttons().Add().UIStyle(), TsuiUIStyle::DeepBlue);
  QWidget other;
  EXPECT_EQ(TsuiForm::Create(&other)->UIStyle(), TsuiUIStyle::DeepBlue);
}

TEST(DefaultStyle, ANewControlTakesOnItsStartingStylesLook) {
  QWidget form;
  TsuiForm &frame = *TsuiForm::Create(&form);
  frame.SetUIStyle(TsuiUIStyle::MacOS);
  TsuiButton capsule(&frame);
  TsuiEdit edit(&frame);
  EXPECT_TRUE(capsule.Transparent());
  EXPECT_EQ(edit.BorderColor(), 0x7F7F7Fu);
  frame.SetUIStyle(TsuiUIStyle::WinXP);
  TsuiButton plain(&frame);
  EXPECT_FALSE(plain.Transparent());
}

TEST(DefaultStyle, TheThemeStyleWithoutAThemeDrawsAsDeepBlue) {
  QWidget form;
  TsuiEdit themed(&form), deepBlue(&form);
  themed.SetUIStyle(TsuiUIStyle::MacOS);
  themed.SetUIStyle(TsuiUIStyle::FromThemeFile);
  deepBlue.SetUIStyle(TsuiUIStyle::DeepBlue);
  EXPECT_EQ(themed.BorderColor(), deepBlue.BorderColor());

  TsuiButton button(&form);
  button.SetUIStyle(TsuiUIStyle::MacOS);
  button.SetUIStyle(TsuiUIStyle::FromThemeFile);
  EXPECT_FALSE(button.Transparent());

  FramedWindow a(QSize(120, 90)), b(QSize(120, 90));
  a.form.SetUIStyle(TsuiUIStyle::FromThemeFile);
  b.form.SetUIStyle(TsuiUIStyle::DeepBlue);
  a.form.Repaint();
  b.form.Repaint();
  EXPECT_EQ(a.form.Buffer(), b.form.Buffer());
}
