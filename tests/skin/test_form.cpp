#include "FormTestHelpers.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiForm.h"
#include "skin/style/BitmapCache.h"
#include "skin/style/StyleReads.h"

#include <QAction>
#include <QFrame>
#include <QKeyEvent>
#include <QScreen>

#include <gtest/gtest.h>

#include <memory>

using namespace skin;
using skin::style::StyleEntry;
using skin::test::ErrorBoxOf;
using skin::test::FakeTheme;
using skin::test::FramedWindow;
using skin::test::Rgb;
using skin::test::TitleButtonPart;

namespace {

// A child that takes theme and style, recording what it was given.
class StyledChild : public QWidget, public Skinned {
public:
  using QWidget::QWidget;
  void SetFileTheme(TsuiFileTheme *value) override { theme = value; }
  void SetUIStyle(TsuiUIStyle value) override { style = value; }
  TsuiFileTheme *theme = nullptr;
  std::optional<TsuiUIStyle> style;
};

} // namespace

TEST(TsuiForm, TakesTheWindowOverAndGivesItBack) {
  QWidget window;
  window.setWindowTitle(QStringLiteral("Own title"));
  window.resize(300, 200);
  TsuiForm *form = TsuiForm::Create(&window);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->OwnsForm());
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  // At least 125 x 50; the style's minimum width (DeepBlue's 130) comes on top.
  EXPECT_EQ(window.minimumSize(), QSize(130, 50));
  EXPECT_EQ(form->Caption(), "Own title");
  EXPECT_FALSE(form->UIStyleAutoUpdateSub());
  EXPECT_EQ(form->MenuBarHeight(), 22);
  EXPECT_EQ(form->MenuBarColor(), form->Color());
  EXPECT_EQ(form->Version(), "5.8");
  form->SetVersion("1.0");
  EXPECT_EQ(form->Version(), "5.8");
  form->SetCaption(QStringLiteral("New"));
  EXPECT_EQ(window.windowTitle(), "New");
  EXPECT_EQ(form->TitleBar().Caption(), "New");

  window.show();
  form->SetRoundCorner(13);
  EXPECT_FALSE(window.mask().isEmpty());
  delete form;
  EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(window.mask().isEmpty());
  EXPECT_TRUE(window.isVisible());
}

TEST(TsuiForm, OnAControlThatIsNoWindowItTakesNothingOver) {
  QWidget window;
  auto *inner = new QWidget(&window);
  TsuiForm *form = TsuiForm::Create(inner);
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(form->OwnsForm());
  EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  form->SetRoundCorner(11);
  EXPECT_TRUE(window.mask().isEmpty());
}

TEST(TsuiForm, AWindowTornDownWithItsFrameIsLeftAlone) {
  auto window = std::make_unique<QWidget>();
  TsuiForm::Create(window.get());
  window->show();
  window.reset(); // the frame goes with its window; nothing is given back to a dying one
}

TEST(TsuiForm, OnlyOnePerWindow) {
  QWidget window;
  TsuiForm *first = TsuiForm::Create(&window);
  TsuiForm *second = first;
  const auto box = ErrorBoxOf([&] { second = TsuiForm::Create(&window); });
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(box.first, QMessageBox::Critical);
  EXPECT_EQ(box.second, "Sorry, You can create only one TsuiForm component in one form!");
  EXPECT_EQ(window.findChildren<TsuiForm *>().size(), 1);
  EXPECT_TRUE(first->OwnsForm());
}

TEST(TsuiForm, FormPanelRefusesTheFrameItselfAndKeepsTheOldPanel) {
  FramedWindow w(QSize(220, 270));
  auto *panel = new QFrame(&w.form);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  w.form.SetFormPanel(panel);
  EXPECT_EQ(panel->frameStyle(), QFrame::NoFrame);
  const int title = w.form.TitleBar().height();
  EXPECT_EQ(panel->geometry(), QRect(0, title, w.form.width(), w.form.height() - title));
  const auto box = ErrorBoxOf([&] { w.form.SetFormPanel(&w.form); });
  EXPECT_EQ(box.first, QMessageBox::Critical);
  EXPECT_EQ(box.second, "Sorry, you can't select the Form assign to FormPanel property");
  EXPECT_EQ(w.form.FormPanel(), panel);
}

TEST(TsuiForm, MaximisingCoversTheWorkAreaWithTheFrameOutsideAndRestoreComesBack) {
  FramedWindow w(QSize(300, 200));
  TsuiTitleBarButton &max = w.form.TitleBarButtons().Add();
  max.SetButtonType(TsuiTitleBarBtnType::suiMax);
  w.form.SetUIStyle(TsuiUIStyle::Protein);
  const QRect normal(100, 80, 300, 200);
  w.window.setGeometry(normal);
  w.window.show();
  QApplication::processEvents();
  EXPECT_EQ(max.PicNormal(), TitleButtonPart(TsuiUIStyle::Protein, 7));

  w.window.showMaximized();
  QApplication::processEvents();
  const QRect work = w.window.screen()->availableGeometry();
  ASSERT_FALSE(work.isEmpty());
  EXPECT_EQ(w.window.geometry(),
            QRect(work.left() - 2, work.top() - 2, work.width() + 4, work.height() + 1));
  EXPECT_EQ(max.PicNormal(), TitleButtonPart(TsuiUIStyle::Protein, 10)) << "the restore pictures";
  EXPECT_EQ(w.form.geometry().size(), w.window.size() - QSize(6, 5));

  w.window.showNormal();
  QApplication::processEvents();
  EXPECT_EQ(w.window.geometry(), normal);
  EXPECT_EQ(max.PicNormal(), TitleButtonPart(TsuiUIStyle::Protein, 7));
  EXPECT_EQ(w.form.geometry(), QRect(3, 3, 294, 195));

  // The title bar's maximise button goes the same way and back.
  const int maxIndex = w.form.TitleBarButtons().Count() - 1;
  w.form.TitleBar().ClickButton(maxIndex);
  QApplication::processEvents();
  EXPECT_TRUE(w.window.isMaximized());
  EXPECT_EQ(w.window.geometry().topLeft(), work.topLeft() - QPoint(2, 2));
  w.form.TitleBar().ClickButton(maxIndex);
  QApplication::processEvents();
  EXPECT_EQ(w.window.geometry(), normal);
}

TEST(TsuiForm, BuiltInStylesSetTheFrameFromTheTable) {
  FramedWindow w(QSize(220, 270));
  for (TsuiUIStyle s : {TsuiUIStyle::MacOS, TsuiUIStyle::WinXP, TsuiUIStyle::DeepBlue,
                        TsuiUIStyle::Protein, TsuiUIStyle::BlueGlass}) {
    w.form.SetRoundCornerBottom(5);
    w.form.SetUIStyle(s);
    EXPECT_EQ(w.form.BorderColor(), style::GetStyleColor(s, StyleEntry::FormBorderColor));
    EXPECT_EQ(w.form.BorderWidth(), style::GetStyleInt(s, StyleEntry::FormBorderWidthInt));
    EXPECT_EQ(w.form.Color(), style::GetStyleColor(s, StyleEntry::FormBackgroundColor));
    EXPECT_EQ(w.form.MenuBarColor(), w.form.Color());
    EXPECT_EQ(w.form.RoundCorner(), style::GetStyleInt(s, StyleEntry::FormRoundCornerInt));
    EXPECT_EQ(w.form.RoundCornerBottom(), 0);
    EXPECT_EQ(w.window.mask(), WindowRegion(w.window.size(), w.form.RoundCorner(), 0));
  }
  // Without a loaded theme the theme style is DeepBlue's.
  w.form.SetUIStyle(TsuiUIStyle::FromThemeFile);
  EXPECT_EQ(w.form.Color(),
            style::GetStyleColor(TsuiUIStyle::DeepBlue, StyleEntry::FormBackgroundColor));
}

TEST(TsuiForm, MadeInAStyleItLooksAsSetToItAndReadsNoPictureOfTheDefault) {
  style::BuiltInBitmaps().Clear();
  QWidget window;
  window.resize(220, 270);
  TsuiForm &made = *TsuiForm::Create(&window, TsuiUIStyle::Protein);
  made.FormResized();
  EXPECT_EQ(made.UIStyle(), TsuiUIStyle::Protein);
  EXPECT_EQ(made.TitleBar().UIStyle(), TsuiUIStyle::Protein);
  const std::size_t read = style::BuiltInBitmaps().Loaded();
  made.SetUIStyle(TsuiUIStyle::Protein);
  EXPECT_EQ(style::BuiltInBitmaps().Loaded(), read);
  made.SetUIStyle(TsuiUIStyle::DeepBlue);
  EXPECT_GT(style::BuiltInBitmaps().Loaded(), read) << "no DeepBlue picture was read before";
  made.SetUIStyle(TsuiUIStyle::Protein);

  FramedWindow set(QSize(220, 270));
  set.form.SetUIStyle(TsuiUIStyle::Protein);
  EXPECT_EQ(made.grab().toImage(), set.form.grab().toImage());
  EXPECT_EQ(window.mask(), set.window.mask());
}

TEST(TsuiForm, ThemeMenuBarColourFallsBackByTheControlFontColour) {
  const struct {
    std::optional<std::int64_t> menuBar;
    std::int64_t controlFont;
    framework::TColor want;
  } cases[] = {
      {0x123456, 0x20000, 0x123456},
      {std::nullopt, 0x20000, 11295547},
      {std::nullopt, 0x30000, 10053427},
      {std::nullopt, 0x10000, 0x445566}, // the panel colour
  };
  for (const auto &c : cases) {
    FakeTheme theme;
    theme.numbers[StyleEntry::FormBackgroundColor] = 0x445566;
    theme.numbers[StyleEntry::ControlFontColor] = c.controlFont;
    theme.numbers[StyleEntry::FormRoundCornerInt] = 7;
    theme.numbers[StyleEntry::FormBottomRoundCornerInt] = 4;
    if (c.menuBar) theme.numbers[StyleEntry::MenuMenuBarColor] = *c.menuBar;
    FramedWindow w(QSize(220, 270));
    w.form.SetUIStyle(TsuiUIStyle::FromThemeFile);
    w.form.SetFileTheme(&theme);
    EXPECT_EQ(w.form.MenuBarColor(), c.want) << c.controlFont;
    EXPECT_EQ(w.form.Color(), 0x445566u);
    EXPECT_EQ(w.form.RoundCorner(), 7);
    EXPECT_EQ(w.form.RoundCornerBottom(), 4);
  }
}

TEST(TsuiForm, StyleReachesDirectSkinnedChildrenOnlyWhenAsked) {
  FramedWindow w(QSize(220, 270));
  auto *direct = new StyledChild(&w.form);
  auto *deeper = new StyledChild(new QWidget(&w.form));
  TsuiFileTheme theme(nullptr);
  w.form.SetUIStyle(TsuiUIStyle::MacOS);
  EXPECT_FALSE(direct->style);
  w.form.SetUIStyleAutoUpdateSub(true);
  w.form.SetFileTheme(&theme);
  w.form.SetUIStyle(TsuiUIStyle::WinXP);
  EXPECT_EQ(direct->style, TsuiUIStyle::WinXP);
  EXPECT_EQ(direct->theme, &theme);
  EXPECT_FALSE(deeper->style);
  // The skinned controls are such children.
  auto *button = new TsuiButton(&w.form);
  auto *edit = new TsuiEdit(&w.form);
  w.form.SetUIStyle(TsuiUIStyle::BlueGlass);
  EXPECT_EQ(button->UIStyle(), TsuiUIStyle::BlueGlass);
  EXPECT_EQ(edit->UIStyle(), TsuiUIStyle::BlueGlass);
  EXPECT_EQ(edit->FileTheme(), &theme);
}

TEST(TsuiForm, ActivationRepaintsTheTitleBarInTheInactiveColour) {
  FramedWindow w(QSize(220, 270));
  QEvent deactivate(QEvent::WindowDeactivate);
  QApplication::sendEvent(&w.window, &deactivate);
  EXPECT_FALSE(w.form.TitleBar().FormActive());
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&w.window, &activate);
  EXPECT_TRUE(w.form.TitleBar().FormActive());
}

TEST(TsuiForm, TexturedStylesTileThePanelOthersFillItWithTheColour) {
  FramedWindow w(QSize(220, 270));
  w.form.SetUIStyle(TsuiUIStyle::Protein);
  w.form.SetColor(0x123456);
  w.form.Repaint();
  for (int y = 0; y < 16; ++y)
    EXPECT_EQ(w.form.Buffer().pixelColor(50, 100 + y),
              (100 + y) % 4 == 3 ? QColor(0xEE, 0xEE, 0xEE) : QColor(Qt::white))
        << y;
  w.form.SetUIStyle(TsuiUIStyle::DeepBlue);
  w.form.SetColor(0x123456);
  w.form.Repaint();
  EXPECT_EQ(w.form.Buffer().pixelColor(50, 100), Rgb(0x123456));
}

TEST(TsuiForm, ARemovedThemeLeavesTheFrameInDeepBlue) {
  FramedWindow w(QSize(220, 270));
  auto theme = std::make_unique<TsuiFileTheme>(nullptr);
  w.form.SetFileTheme(theme.get());
  w.form.SetUIStyle(TsuiUIStyle::FromThemeFile);
  theme.reset();
  EXPECT_EQ(w.form.FileTheme(), nullptr);
  EXPECT_EQ(w.form.TitleBar().FileTheme(), nullptr);
  EXPECT_EQ(w.form.UIStyle(), TsuiUIStyle::DeepBlue);
}

TEST(TsuiForm, AltSpaceOpensTheSystemMenuOfTheWindowItWasTypedIn) {
  FramedWindow w(QSize(220, 270));
  w.form.TitleBarButtons().Add().SetButtonType(TsuiTitleBarBtnType::suiClose);
  w.window.move(40, 30);
  w.window.show();
  QApplication::processEvents();
  QStringList seen;
  QPoint at;
  QTimer::singleShot(0, [&] {
    if (QWidget *popup = QApplication::activePopupWidget()) {
      at = popup->pos();
      for (const QAction *action : popup->actions())
        seen << (action->isSeparator() ? QStringLiteral("-") : action->text()) +
                    (action->isEnabled() ? QString() : QStringLiteral(" (off)"));
      popup->close();
    }
  });
  QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::AltModifier);
  EXPECT_TRUE(QApplication::sendEvent(&w.form, &key) || key.isAccepted());
  EXPECT_EQ(seen, QStringList({"Mi&nimize", "Ma&ximize/Restore", "-", "&Close"}));
  EXPECT_EQ(at, QPoint(40, 30 + w.form.TitleBar().height()));
}

TEST(TsuiForm, AWindowCreatedMaximisedComesBackToTheBoundsItWasCreatedWith) {
  QWidget window;
  const QRect created(50, 60, 300, 200);
  window.setGeometry(created);
  window.setWindowState(Qt::WindowMaximized);
  TsuiForm &form = *TsuiForm::Create(&window);
  window.show();
  QApplication::processEvents();
  const QRect work = window.screen()->availableGeometry();
  EXPECT_EQ(window.geometry(), work.adjusted(-2, -2, 2, -1));
  window.showNormal();
  QApplication::processEvents();
  EXPECT_EQ(window.geometry(), created);
  EXPECT_EQ(form.geometry(), QRect(3, 3, 294, 195));
}
