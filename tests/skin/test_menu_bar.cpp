#include "FormTestHelpers.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiMainMenu.h"
#include "skin/TsuiMenuBar.h"
#include "skin/style/StyleReads.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

using namespace skin;
using skin::style::StyleEntry;
using skin::test::FramedWindow;
using skin::test::Mouse;
using skin::test::Rgb;

namespace {

// A framed window with a main menu of two top-level items, the first with a sub-item.
struct MenuWindow : FramedWindow {
  MenuWindow() : FramedWindow(QSize(300, 200)) {
    TMenuItem *file = menu->Items().Add(QStringLiteral("mniFile"), QStringLiteral("&File"));
    open = file->Add(QStringLiteral("mniOpen"), QStringLiteral("&Open"));
    open->SetShortCut(QStringLiteral("Ctrl+O"));
    open->SetOnClick(TNotifyEvent::fromFunction([this](QObject *) { ++opened; }, &opened));
    menu->Items().Add(QStringLiteral("mniHelp"), QStringLiteral("&Help"));
    form.SetMenu(menu);
  }
  TsuiMainMenu *menu = new TsuiMainMenu(&window);
  TMenuItem *open = nullptr;
  int opened = 0;
};

} // namespace

TEST(TsuiMenuBar, SitsBelowTheTitleBarAndTheFrameBesideItTakesItsColour) {
  MenuWindow w;
  w.form.SetMenuBarColor(0x00AA00);
  TsuiMenuBar *bar = w.form.MenuBar();
  ASSERT_NE(bar, nullptr);
  const int title = w.form.TitleBar().height();
  EXPECT_EQ(bar->geometry(), QRect(0, title, w.form.width(), 22));
  ASSERT_EQ(bar->Buttons().size(), 2u);
  EXPECT_EQ(bar->Buttons()[0].height(), 22);
  EXPECT_EQ(bar->Buttons()[1].left(), bar->Buttons()[0].right() + 1);

  QImage frame(w.window.size(), QImage::Format_RGB32);
  framework::Canvas canvas(frame);
  w.form.PaintFrame(canvas);
  const int top = title + 3; // the bar's first row in the window
  EXPECT_EQ(frame.pixelColor(1, top), Rgb(0x00AA00));
  EXPECT_EQ(frame.pixelColor(298, top + 21), Rgb(0x00AA00));
  EXPECT_EQ(frame.pixelColor(1, top + 22), Rgb(w.form.Color()));

  w.form.SetMenuBarHeight(30);
  EXPECT_EQ(bar->Buttons()[0].height(), 30);
  EXPECT_EQ(bar->height(), 30);

  auto *panel = new QWidget(&w.form);
  w.form.SetFormPanel(panel);
  EXPECT_EQ(panel->y(), title + 30);

  delete w.menu;
  EXPECT_EQ(w.form.MenuBar(), nullptr);
  EXPECT_EQ(panel->y(), title);
}

TEST(TsuiMenuBar, HotItemsInTheMenuColoursOrOnTheSelectionPicture) {
  MenuWindow w;
  TsuiMenuBar &bar = *w.form.MenuBar();
  const QRect file = bar.Buttons()[0];
  Mouse(bar, QEvent::MouseMove, file.center());
  EXPECT_EQ(bar.HotItem(), 0);

  w.form.SetUIStyle(TsuiUIStyle::DeepBlue);
  bar.Repaint();
  const auto colour = [](StyleEntry entry) {
    return Rgb(style::GetStyleColor(TsuiUIStyle::DeepBlue, entry));
  };
  EXPECT_EQ(bar.Buffer().pixelColor(file.topLeft()), colour(StyleEntry::MenuSelectedBorderColor));
  EXPECT_EQ(bar.Buffer().pixelColor(file.left() + 2, file.top() + 2),
            colour(StyleEntry::MenuSelectedBackgroundColor));
  const QRect help = bar.Buttons()[1];
  EXPECT_EQ(bar.Buffer().pixelColor(help.left() + 1, help.top() + 1), Rgb(w.form.MenuBarColor()));

  w.form.SetUIStyle(TsuiUIStyle::MacOS);
  bar.Repaint();
  const QImage select = style::GetStyleBitmap(TsuiUIStyle::MacOS, "MENU_SELECT");
  const QImage background = style::GetStyleBitmap(TsuiUIStyle::MacOS, "MENU_BAR");
  ASSERT_FALSE(select.isNull());
  EXPECT_EQ(bar.Buffer().pixel(file.left() + 1, file.top()), select.pixel(0, 0));
  EXPECT_EQ(bar.Buffer().pixel(help.left() + 1, help.top() + 1), background.pixel(0, 1));
}

TEST(TsuiMenuBar, ShortcutsClickTheirItemOnlyInTheirWindow) {
  MenuWindow w;
  auto *edit = new QWidget(&w.form);
  const auto ctrlO = [](QWidget *target) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_O, Qt::ControlModifier);
    QApplication::sendEvent(target, &key);
  };
  ctrlO(edit);
  EXPECT_EQ(w.opened, 1);
  QWidget elsewhere;
  ctrlO(&elsewhere);
  EXPECT_EQ(w.opened, 1);
  w.open->SetEnabled(false);
  ctrlO(edit);
  EXPECT_EQ(w.opened, 1);
}

TEST(TsuiMenuBar, ButtonsWrapOntoANewRowAndTheBarGrows) {
  MenuWindow w;
  for (int i = 0; i < 12; ++i)
    w.menu->Items().Add(QStringLiteral("mni%1").arg(i), QStringLiteral("Item %1").arg(i));
  emit w.menu->changed();
  TsuiMenuBar &bar = *w.form.MenuBar();
  EXPECT_GT(bar.height(), 22);
  EXPECT_EQ(bar.height() % 22, 0);
  for (const QRect &r : bar.Buttons())
    EXPECT_LE(r.right(), bar.width() - 1);
}
