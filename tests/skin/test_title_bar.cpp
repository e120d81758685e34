#include "SkinTestHelpers.h"
#include "skin/SkinStrings.h"
#include "skin/TsuiTitleBar.h"
#include "skin/TsuiTitleBarPopupMenu.h"

#include <gtest/gtest.h>

using namespace skin;
using skin::test::FramedWindow;
using skin::test::Mouse;
using skin::test::Solid;

namespace {

QImage ProteinPart(int part) {
  return skin::test::TitleButtonPart(TsuiUIStyle::Protein, part);
}

// A 220 x 270 window on a Protein frame, shown, with its title bar.
class ProteinBar : public ::testing::Test {
protected:
  ProteinBar() {
    w.form.SetUIStyle(TsuiUIStyle::Protein);
    w.window.show();
    m_previous = SetErrorReporter([this](const QString &text) { errors << text; });
  }
  ~ProteinBar() override { SetErrorReporter(m_previous); }

  // Keeps the buttons of the given types, in order, visible.
  void Buttons(std::initializer_list<TsuiTitleBarBtnType> types) {
    bar.Buttons().Clear();
    for (const TsuiTitleBarBtnType type : types) {
      TsuiTitleBarButton &button = bar.Buttons().Add();
      button.SetUIStyle(TsuiUIStyle::Protein);
      button.SetButtonType(type);
    }
  }
  QImage Shown() {
    bar.Repaint();
    return bar.Buffer();
  }
  // Whether the bar shows `picture` at `at`, the key colour letting the bar through.
  bool ShowsPicture(const QImage &shown, const QImage &picture, QPoint at) {
    const QRgb key = picture.pixel(0, picture.height() - 1);
    int differing = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) {
        const QPoint p = at + QPoint(x, y);
        if (!shown.rect().contains(p) || picture.pixel(x, y) == key) continue;
        differing += shown.pixel(p) != picture.pixel(x, y);
      }
    return differing == 0;
  }

  FramedWindow w{QSize(220, 270)};
  TsuiTitleBar &bar = w.form.TitleBar();
  QStringList errors;

private:
  ErrorReporter m_previous;
};

} // namespace

TEST_F(ProteinBar, OnAFormIsTwentyRowsWithNineteenPixelButtonsAtMinusOne) {
  EXPECT_EQ(bar.height(), 20);
  EXPECT_EQ(bar.ButtonTop(), -1);
  EXPECT_EQ(bar.ButtonPictureHeight(), 19);
  // The starting buttons: control box, close, maximise, minimise.
  ASSERT_EQ(bar.Buttons().Count(), 4);
  const int width = bar.width();
  EXPECT_EQ(bar.ButtonRect(1), QRect(width - 20, -1, 19, 19)) << "close, 1 pixel from the edge";
  EXPECT_EQ(bar.ButtonRect(2), QRect(width - 40, -1, 19, 19));
  EXPECT_EQ(bar.ButtonRect(3), QRect(width - 60, -1, 19, 19));
  EXPECT_EQ(bar.ButtonRect(0), QRect(0, -2, 19, 19)) << "control box one row higher at the left";
  // The bar's pictures start in the window's corner.
  EXPECT_EQ(bar.mapTo(&w.window, QPoint(0, 0)), QPoint(3, 3));
  const QImage shown = Shown();
  EXPECT_TRUE(ShowsPicture(shown, ProteinPart(16), bar.ButtonRect(1).topLeft()));
  EXPECT_TRUE(ShowsPicture(shown, ProteinPart(13), bar.ButtonRect(3).topLeft()));
}

TEST_F(ProteinBar, ButtonsTakeTheirTypesPartsOfTheStrip) {
  struct Case {
    TsuiTitleBarBtnType type;
    int last; // of normal, mouse on, pressed
  };
  const Case cases[] = {{TsuiTitleBarBtnType::suiControlBox, 3},
                        {TsuiTitleBarBtnType::suiHelp, 6},
                        {TsuiTitleBarBtnType::suiMax, 9},
                        {TsuiTitleBarBtnType::suiMin, 15},
                        {TsuiTitleBarBtnType::suiClose, 18}};
  for (const Case &c : cases) {
    Buttons({c.type});
    const TsuiTitleBarButton &button = *bar.Buttons().Items(0);
    EXPECT_EQ(button.PicNormal(), ProteinPart(c.last - 2)) << c.last;
    EXPECT_EQ(button.PicMouseOn(), ProteinPart(c.last - 1)) << c.last;
    EXPECT_EQ(button.PicMouseDown(), ProteinPart(c.last)) << c.last;
    EXPECT_TRUE(button.Transparent());
    EXPECT_EQ(button.Top(), 2);
  }
  // A custom button loads nothing and keeps what it was given.
  Buttons({TsuiTitleBarBtnType::suiCustom});
  EXPECT_TRUE(bar.Buttons().Items(0)->PicNormal().isNull());
  bar.Buttons().Items(0)->SetPicNormal(ProteinPart(1));
  bar.Buttons().Items(0)->SetUIStyle(TsuiUIStyle::WinXP);
  EXPECT_EQ(bar.Buttons().Items(0)->PicNormal(), ProteinPart(1));
}

TEST_F(ProteinBar, MaximisedWindowShowsTheRestorePicturesUnlessCustom) {
  Buttons({TsuiTitleBarBtnType::suiMax});
  w.window.showMaximized();
  bar.UpdateMaxButtonPictures();
  EXPECT_EQ(bar.Buttons().Items(0)->PicNormal(), ProteinPart(10));
  EXPECT_EQ(bar.Buttons().Items(0)->PicMouseDown(), ProteinPart(12));
  w.window.showNormal();
  bar.UpdateMaxButtonPictures();
  EXPECT_EQ(bar.Buttons().Items(0)->PicNormal(), ProteinPart(7));
  bar.SetCustom(true);
  w.window.showMaximized();
  bar.Buttons().Items(0)->LoadStylePictures();
  EXPECT_EQ(bar.Buttons().Items(0)->PicNormal(), ProteinPart(7));
}

TEST_F(ProteinBar, CustomButtonWithoutPicturesTakesOnlyItsPixelAndRaisesItsEvent) {
  Buttons(
      {TsuiTitleBarBtnType::suiClose, TsuiTitleBarBtnType::suiCustom, TsuiTitleBarBtnType::suiMin});
  const int width = bar.width();
  EXPECT_TRUE(bar.ButtonRect(1).isEmpty());
  EXPECT_EQ(bar.ButtonRect(2).left(), width - 20 - 1 - 20);
  int index = -1;
  bar.SetOnCustomBtnsClick(TsuiTitleBar::TsuiTitleBarButtonClickEvent::fromFunction(
      [&](QObject *, int i) { index = i; }, &index));
  bar.ClickButton(1);
  EXPECT_EQ(index, 1);
  bar.Buttons().Items(1)->SetVisible(false);
  index = -1;
  bar.ClickButton(1);
  EXPECT_EQ(index, -1);
  // Once it has pictures it shows.
  bar.Buttons().Items(1)->SetVisible(true);
  bar.Buttons().Items(1)->SetPicNormal(ProteinPart(13));
  EXPECT_EQ(bar.ButtonRect(1), QRect(width - 40, -1, 19, 19));
}

TEST_F(ProteinBar, HelpButtonRaisesItsEventWithItsIndex) {
  Buttons({TsuiTitleBarBtnType::suiClose, TsuiTitleBarBtnType::suiHelp});
  int index = -1;
  bar.SetOnHelpBtnClick(TsuiTitleBar::TsuiTitleBarButtonClickEvent::fromFunction(
      [&](QObject *, int i) { index = i; }, &index));
  Mouse(bar, QEvent::MouseButtonPress, bar.ButtonRect(1).center());
  Mouse(bar, QEvent::MouseButtonRelease, bar.ButtonRect(1).center());
  EXPECT_EQ(index, 1);
  EXPECT_TRUE(w.window.isVisible());
}

TEST_F(ProteinBar, OnlyOneControlBoxAndOneClientSection) {
  Buttons({TsuiTitleBarBtnType::suiControlBox, TsuiTitleBarBtnType::suiClose});
  bar.Buttons().Items(1)->SetButtonType(TsuiTitleBarBtnType::suiControlBox);
  EXPECT_EQ(bar.Buttons().Items(1)->ButtonType(), TsuiTitleBarBtnType::suiClose);
  bar.Buttons().Items(0)->SetButtonType(TsuiTitleBarBtnType::suiControlBox); // unchanged: fine
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors[0], "Sorry, only one button's ButtonType property can be \"suiControlBox\"");

  ASSERT_EQ(bar.Sections().Count(), 3);
  EXPECT_EQ(bar.Sections().Items(2)->Align(), TsuiTitleBarAlign::suiClient);
  EXPECT_TRUE(bar.Sections().Items(2)->Stretch());
  bar.Sections().Items(0)->SetAlign(TsuiTitleBarAlign::suiClient);
  EXPECT_EQ(bar.Sections().Items(0)->Align(), TsuiTitleBarAlign::suiLeft);
  ASSERT_EQ(errors.size(), 2);
  EXPECT_EQ(errors[1], "Sorry, only one section's Align property can be \"suiClient\"");
}

TEST_F(ProteinBar, ASectionsWidthFollowsEveryNewPictureAndAutoSizeTurnedOn) {
  for (const bool autoSize : {false, true}) {
    TsuiTitleBarSection &section = bar.Sections().Add();
    section.SetAutoSize(autoSize);
    section.SetWidth(10);
    section.SetPicture(Solid(QSize(37, 5), Qt::red));
    EXPECT_EQ(section.Width(), 37) << autoSize;
    section.SetWidth(10);
    section.SetAutoSize(true);
    EXPECT_EQ(section.Width(), 37) << autoSize;
  }
}

TEST_F(ProteinBar, LongCaptionEndsInDotsBeforeTheLeftmostButton) {
  Buttons({TsuiTitleBarBtnType::suiClose, TsuiTitleBarBtnType::suiMin});
  bar.SetCaption("A caption far too long for this small title bar, longer still");
  const QString shown = bar.ShownCaption();
  ASSERT_TRUE(shown.endsWith("..."));
  EXPECT_TRUE(bar.Caption().startsWith(shown.chopped(3)));
  const QFontMetrics metrics(framework::MakeFont(bar.Font()));
  const int room = bar.ButtonRect(1).left() - 6;
  EXPECT_LE(metrics.horizontalAdvance(shown), room);
  EXPECT_GT(metrics.horizontalAdvance(bar.Caption().left(shown.size() - 2) + "..."), room)
      << "one more character would not fit";
  // No caption pixel (white) left of the buttons' start reaches them.
  const QImage image = Shown();
  const QRect min = bar.ButtonRect(1);
  for (int y = 0; y < image.height(); ++y)
    for (int x = min.left(); x < bar.width(); ++x)
      ASSERT_NE(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;

  bar.SetCaption("Short");
  EXPECT_EQ(bar.ShownCaption(), "Short");
}

TEST_F(ProteinBar, NoRoomLeavesOnlyTheDots) {
  w.window.resize(130, 100);
  w.form.FormResized();
  Buttons({TsuiTitleBarBtnType::suiClose, TsuiTitleBarBtnType::suiClose,
           TsuiTitleBarBtnType::suiClose, TsuiTitleBarBtnType::suiClose,
           TsuiTitleBarBtnType::suiClose, TsuiTitleBarBtnType::suiClose});
  bar.SetCaption("Caption");
  EXPECT_EQ(bar.ShownCaption(), "...");
}

TEST_F(ProteinBar, CaptionColourFollowsTheStyleAndDimsWhileInactive) {
  EXPECT_EQ(bar.Font().Color, framework::clWhite);
  w.form.SetUIStyle(TsuiUIStyle::MacOS);
  EXPECT_EQ(bar.Font().Color, framework::clBlack);
  bar.SetCustom(true);
  w.form.SetUIStyle(TsuiUIStyle::WinXP);
  EXPECT_EQ(bar.Font().Color, framework::clBlack) << "a custom bar keeps its look";
  EXPECT_EQ(bar.UIStyle(), TsuiUIStyle::WinXP);
  bar.SetCustom(false);
  w.form.SetUIStyle(TsuiUIStyle::Protein);

  Buttons({});
  bar.SetCaption("MMMMMMMM");
  const auto count = [&](QColor colour) { return skin::test::PixelsOf(Shown(), colour).size(); };
  EXPECT_GT(count(Qt::white), 20u);
  bar.SetFormActive(false);
  EXPECT_EQ(count(Qt::white), 0u);
  EXPECT_GT(count(framework::ToQColor(framework::clInactiveCaption)), 20u);
}

TEST_F(ProteinBar, MouseOnAndPressedPicturesFollowTheMouse) {
  Buttons({TsuiTitleBarBtnType::suiClose, TsuiTitleBarBtnType::suiMin});
  const QRect close = bar.ButtonRect(0);
  const QRect min = bar.ButtonRect(1);
  EXPECT_TRUE(ShowsPicture(Shown(), ProteinPart(16), close.topLeft()));
  Mouse(bar, QEvent::MouseMove, close.center());
  QImage shown = Shown();
  EXPECT_EQ(bar.HotButton(), 0);
  EXPECT_TRUE(ShowsPicture(shown, ProteinPart(17), close.topLeft()));
  EXPECT_TRUE(ShowsPicture(shown, ProteinPart(13), min.topLeft()));
  Mouse(bar, QEvent::MouseButtonPress, min.center());
  shown = Shown();
  EXPECT_TRUE(ShowsPicture(shown, ProteinPart(15), min.topLeft()));
  EXPECT_TRUE(ShowsPicture(shown, ProteinPart(16), close.topLeft()));
  // Edges count: the column just right of the picture is still on it.
  Mouse(bar, QEvent::MouseMove, QPoint(min.right() + 1, min.top() + 5));
  EXPECT_TRUE(ShowsPicture(Shown(), ProteinPart(15), min.topLeft()));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&bar, &leave);
  shown = Shown();
  EXPECT_EQ(bar.HotButton(), -1);
  EXPECT_TRUE(ShowsPicture(shown, ProteinPart(13), min.topLeft()));
  // The key colour lets the title picture through.
  const QImage picture = ProteinPart(13);
  EXPECT_NE(shown.pixel(min.left(), 0), picture.pixel(0, 1));
}

TEST_F(ProteinBar, ReleaseActsOnTheButtonUnderTheMouseThen) {
  Buttons({TsuiTitleBarBtnType::suiClose, TsuiTitleBarBtnType::suiCustom});
  bar.Buttons().Items(1)->SetPicNormal(ProteinPart(13));
  int custom = 0;
  bar.SetOnCustomBtnsClick(TsuiTitleBar::TsuiTitleBarButtonClickEvent::fromFunction(
      [&](QObject *, int) { ++custom; }, &custom));
  // Pressed on the close button, released on the custom one.
  Mouse(bar, QEvent::MouseButtonPress, bar.ButtonRect(0).center());
  EXPECT_TRUE(bar.Pressed());
  Mouse(bar, QEvent::MouseButtonRelease, bar.ButtonRect(1).center());
  EXPECT_EQ(custom, 1);
  EXPECT_TRUE(w.window.isVisible());
  EXPECT_FALSE(bar.Pressed());
  // Pressed on the custom button, released on the close one.
  Mouse(bar, QEvent::MouseButtonPress, bar.ButtonRect(1).center());
  Mouse(bar, QEvent::MouseButtonRelease, bar.ButtonRect(0).center());
  EXPECT_EQ(custom, 1);
  EXPECT_FALSE(w.window.isVisible());
}

TEST_F(ProteinBar, PressOutsideTheButtonsDragsUnlessMaximised) {
  Buttons({TsuiTitleBarBtnType::suiClose});
  int drags = 0;
  QObject::connect(&bar, &TsuiTitleBar::dragStarted, [&] { ++drags; });
  const QPoint free(40, 10);
  Mouse(bar, QEvent::MouseButtonPress, free);
  EXPECT_EQ(drags, 1);
  EXPECT_FALSE(bar.Pressed());
  // No window manager moves it here: the window follows the mouse until the release.
  const QPoint start = w.window.pos();
  Mouse(bar, QEvent::MouseMove, free + QPoint(30, 20));
  EXPECT_EQ(w.window.pos(), start + QPoint(30, 20));
  Mouse(bar, QEvent::MouseButtonRelease, free);
  EXPECT_TRUE(w.window.isVisible());
  Mouse(bar, QEvent::MouseMove, free + QPoint(30, 20));
  EXPECT_EQ(w.window.pos(), start + QPoint(30, 20)) << "released";

  Mouse(bar, QEvent::MouseButtonPress, bar.ButtonRect(0).center());
  EXPECT_EQ(drags, 1) << "a button is pressed, not dragged";
  EXPECT_TRUE(bar.Pressed());
  Mouse(bar, QEvent::MouseMove, free);
  Mouse(bar, QEvent::MouseButtonRelease, free);
  EXPECT_TRUE(w.window.isVisible()) << "released off the button";

  w.window.showMaximized();
  Mouse(bar, QEvent::MouseButtonPress, free);
  EXPECT_EQ(drags, 1);
  Mouse(bar, QEvent::MouseButtonRelease, free);
}

TEST_F(ProteinBar, DoubleClickMaximisesOnlyWithAVisibleMaximiseButton) {
  const auto doubleClick = [&](QPoint at) {
    Mouse(bar, QEvent::MouseButtonDblClick, at);
    Mouse(bar, QEvent::MouseButtonRelease, at);
  };
  Buttons({TsuiTitleBarBtnType::suiClose, TsuiTitleBarBtnType::suiMax});
  bar.Buttons().Items(1)->SetVisible(false);
  doubleClick({40, 10});
  EXPECT_FALSE(w.window.isMaximized());
  bar.Buttons().Items(1)->SetVisible(true);
  doubleClick({40, 10});
  EXPECT_TRUE(w.window.isMaximized());
  EXPECT_EQ(bar.Buttons().Items(1)->PicNormal(), ProteinPart(10));
  doubleClick({40, 10});
  EXPECT_FALSE(w.window.isMaximized());
  EXPECT_EQ(bar.Buttons().Items(1)->PicNormal(), ProteinPart(7));

  Buttons({TsuiTitleBarBtnType::suiControlBox, TsuiTitleBarBtnType::suiClose});
  doubleClick(bar.ButtonRect(0).center());
  EXPECT_FALSE(w.window.isVisible()) << "the control box closes";
}

TEST_F(ProteinBar, ButtonActionsMinimiseAndClose) {
  Buttons({TsuiTitleBarBtnType::suiClose, TsuiTitleBarBtnType::suiMin});
  bar.PerformAction(1);
  EXPECT_TRUE(w.window.isMinimized());
  w.window.showNormal();
  bar.PerformAction(0);
  EXPECT_FALSE(w.window.isVisible());
}

TEST_F(ProteinBar, SystemMenuEnablesItsItemsByTheVisibleButtons) {
  TsuiTitleBarPopupMenu &menu = bar.SystemMenu();
  ASSERT_EQ(menu.Items().Count(), 4);
  const QStringList captions = {"Mi&nimize", "Ma&ximize/Restore", "-", "&Close"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(menu.Items().Items(i)->Caption(), captions[i]);
    EXPECT_EQ(menu.Items().Items(i)->DrawnBy(), &menu) << "hooked";
  }
  EXPECT_EQ(menu.UIStyle(), TsuiUIStyle::Protein);
  struct Case {
    std::initializer_list<TsuiTitleBarBtnType> buttons;
    bool minimize, maximize, close;
  };
  const Case cases[] = {
      {{TsuiTitleBarBtnType::suiClose}, false, false, true},
      {{TsuiTitleBarBtnType::suiMin, TsuiTitleBarBtnType::suiMax}, true, true, false},
      {{}, false, false, false},
  };
  for (const Case &c : cases) {
    Buttons(c.buttons);
    menu.UpdateItems();
    EXPECT_EQ(menu.Items().Items(0)->Enabled(), c.minimize);
    EXPECT_EQ(menu.Items().Items(1)->Enabled(), c.maximize);
    EXPECT_EQ(menu.Items().Items(3)->Enabled(), c.close);
  }
  Buttons({TsuiTitleBarBtnType::suiMax, TsuiTitleBarBtnType::suiClose});
  menu.UpdateItems();
  menu.Find("mniMaximize")->Click();
  EXPECT_TRUE(w.window.isMaximized());
  menu.Find("mniClose")->Click();
  EXPECT_FALSE(w.window.isVisible());
}

TEST(TsuiTitleBar, OffAFormThePicturesStartAtTheCornerAndTheButtonsAtTheirTop) {
  QWidget window;
  window.resize(200, 60);
  TsuiTitleBar bar(&window);
  bar.resize(200, 10);
  bar.SetUIStyle(TsuiUIStyle::Protein);
  EXPECT_EQ(bar.height(), 23);
  EXPECT_EQ(bar.ButtonTop(), 2);
  EXPECT_EQ(bar.SectionOrigin(), QPoint(0, 0));
  EXPECT_EQ(bar.ButtonRect(1), QRect(200 - 20, 2, 19, 19));
  EXPECT_EQ(window.minimumWidth(), 130);
}
