#include "skin/MenuItemDraw.h"
#include "skin/TsuiMainMenu.h"
#include "skin/TsuiPopupMenu.h"
#include "skin/style/BitmapCache.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <gtest/gtest.h>
#include <tuple>

#include <memory>

using namespace skin;
using framework::TColor;
using framework::ToQRgb;

namespace {

// The program's tray menu as its window description leaves it.
class TrayMenu : public ::testing::Test {
protected:
  TrayMenu() {
    menu.SetUIStyle(TsuiUIStyle::WinXP);
    menu.SetMenuItemHeight(21);
    menu.SetSeparatorHeight(5);
    menu.SetBarWidth(20);
    menu.SetBarColor(0xCED3D6);
    menu.SetColor(0xCED3D6);
    menu.SetSeparatorColor(0x848284);
    menu.SetSelectedBorderColor(0xC66931);
    menu.SetSelectedColor(0xEFD3C6);
    menu.SetSelectedFontColor(framework::clBlack);
    menu.SetFontColor(framework::clBlack);
    menu.SetUseSystemFont(false);
  }

  QImage Draw(const MenuItemState &item, QSize size = {140, 21}) const {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    framework::Canvas canvas(image);
    DrawMenuItem(canvas, {0, 0, size.width(), size.height()}, menu.Look(), item);
    return image;
  }
  static MenuItemState Item(const QString &caption) {
    MenuItemState item;
    item.Caption = caption;
    item.Separator = caption == QStringLiteral("-");
    return item;
  }
  // Pixels in the caption's area of the given colour.
  static int Count(const QImage &image, TColor color, QRect area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        n += image.pixel(x, y) == ToQRgb(color);
    return n;
  }

  TsuiPopupMenu menu{nullptr};
  static constexpr TColor Face = 0xCED3D6;
  static constexpr QRect CaptionArea{24, 4, 80, 13};
};

} // namespace

TEST(TsuiPopupMenu, EachStyleSetsTheMenusColoursHeightsAndBarAndLeavesTheRest) {
  struct Case {
    TsuiUIStyle style;
    int itemHeight, separatorHeight;
    TColor bar, color, separator, selectedBorder, selected, selectedFont, font;
  };
  const Case cases[] = {
      {TsuiUIStyle::MacOS, 20, 12, 0x000000, 0x000000, 0, 0xC47339, 0xC47339, 0xFFFFFF, 0},
      {TsuiUIStyle::WinXP, 21, 5, 0xCED3D6, 0xFFFFFF, 8684164, 0xC66931, 0xEFD3C6, 0x000000, 0},
      {TsuiUIStyle::DeepBlue, 21, 5, 0xCED3D6, 0xFFFFFF, 8684164, 0xA04A44, 0xA04A44, 0xFFFFFF, 0},
      {TsuiUIStyle::Protein, 21, 5, 0xCED3D6, 0xFFFFFF, 8684164, 0xC4302D, 0xC4302D, 0xFFFFFF, 0},
      {TsuiUIStyle::BlueGlass, 21, 5, 0xCED3D6, 0xE7E7E7, 8684164, 0xEC5E5E, 0xEC5E5E, 0xFFFFFF, 0},
      // Without a loaded theme: DeepBlue.
      {TsuiUIStyle::FromThemeFile, 21, 5, 0xCED3D6, 0xFFFFFF, 8684164, 0xA04A44, 0xA04A44, 0xFFFFFF,
       0},
  };
  for (const Case &c : cases) {
    TsuiPopupMenu menu(nullptr);
    menu.SetBarWidth(3);
    menu.SetOwnerDraw(false);
    menu.SetUIStyle(c.style);
    SCOPED_TRACE(static_cast<int>(c.style));
    EXPECT_EQ(menu.MenuItemHeight(), c.itemHeight);
    EXPECT_EQ(menu.SeparatorHeight(), c.separatorHeight);
    EXPECT_EQ(menu.BarWidth(), 26);
    EXPECT_EQ(menu.BarColor(), c.bar);
    EXPECT_EQ(menu.Color(), c.color);
    EXPECT_EQ(menu.SeparatorColor(), c.separator);
    EXPECT_EQ(menu.SelectedBorderColor(), c.selectedBorder);
    EXPECT_EQ(menu.SelectedColor(), c.selected);
    EXPECT_EQ(menu.SelectedFontColor(), c.selectedFont);
    EXPECT_EQ(menu.FontColor(), c.font);
    // What no style sets keeps its creation value.
    EXPECT_TRUE(menu.OwnerDraw());
    EXPECT_EQ(menu.BorderColor(), framework::clBlack);
    EXPECT_FALSE(menu.FlatMenu());
    EXPECT_EQ(
        std::tuple(menu.FontName(), menu.FontSize(), menu.FontCharset(), menu.UseSystemFont()),
        std::tuple(QStringLiteral("MS Sans Serif"), 8, 1, true));
  }
}

TEST(TsuiPopupMenu, MacOSKeepsItsHeightsWhateverIsAssignedLater) {
  TsuiPopupMenu menu(nullptr);
  menu.SetUIStyle(TsuiUIStyle::MacOS);
  menu.SetMenuItemHeight(30);
  menu.SetSeparatorHeight(3);
  EXPECT_EQ(menu.MenuItemHeight(), 20);
  EXPECT_EQ(menu.SeparatorHeight(), 12);
  menu.SetUIStyle(TsuiUIStyle::WinXP);
  menu.SetMenuItemHeight(30);
  menu.SetSeparatorHeight(3);
  EXPECT_EQ(menu.MenuItemHeight(), 30);
  EXPECT_EQ(menu.SeparatorHeight(), 3);
}

TEST_F(TrayMenu, SeparatorIsALineTwoRowsDownBesideTheBar) {
  const QImage image = Draw(Item("-"), {140, 5});
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 140; ++x) {
      const bool line = y == 2 && x >= 24 && x < 140 - 2;
      ASSERT_EQ(image.pixel(x, y), ToQRgb(line ? 0x848284 : Face)) << x << "," << y;
    }
}

TEST_F(TrayMenu, RightToLeftMirrorsTheBarAndTheSeparatorLine) {
  menu.SetRightToLeft(true);
  menu.SetColor(framework::clWhite);
  const QImage image = Draw(Item("-"), {140, 5});
  EXPECT_EQ(image.pixel(139, 0), ToQRgb(Face)) << "the bar is on the right";
  EXPECT_EQ(image.pixel(120, 0), ToQRgb(Face));
  EXPECT_EQ(image.pixel(119, 0), ToQRgb(framework::clWhite));
  EXPECT_EQ(image.pixel(1, 2), ToQRgb(framework::clWhite));
  EXPECT_EQ(image.pixel(2, 2), ToQRgb(0x848284));
  EXPECT_EQ(image.pixel(115, 2), ToQRgb(0x848284));
  EXPECT_EQ(image.pixel(116, 2), ToQRgb(framework::clWhite));
}

TEST_F(TrayMenu, SelectedItemIsFilledAndFramedWithBlackText) {
  MenuItemState item = Item("Configure...");
  item.Selected = true;
  const QImage image = Draw(item);
  for (int x = 0; x < 140; ++x) {
    EXPECT_EQ(image.pixel(x, 0), ToQRgb(0xC66931)) << x;
    EXPECT_EQ(image.pixel(x, 20), ToQRgb(0xC66931)) << x;
  }
  for (int y = 0; y < 21; ++y) {
    EXPECT_EQ(image.pixel(0, y), ToQRgb(0xC66931)) << y;
    EXPECT_EQ(image.pixel(139, y), ToQRgb(0xC66931)) << y;
  }
  EXPECT_EQ(image.pixel(1, 1), ToQRgb(0xEFD3C6));
  EXPECT_EQ(image.pixel(20, 10), ToQRgb(0xEFD3C6)) << "the bar is covered too";
  EXPECT_GT(Count(image, framework::clBlack, CaptionArea), 20);
  EXPECT_EQ(Count(image, framework::clBlack, {0, 0, 24, 21}), 0) << "the caption starts at 24";
}

TEST_F(TrayMenu, UnselectedItemShowsBarAndBackgroundInOneColour) {
  const QImage image = Draw(Item("Configure..."));
  EXPECT_EQ(Count(image, Face, {0, 0, 24, 21}), 24 * 21);
  EXPECT_EQ(Count(image, Face, {0, 0, 140, 4}), 140 * 4);
  EXPECT_GT(Count(image, framework::clBlack, CaptionArea), 20);
}

TEST_F(TrayMenu, DisabledItemIsGreyAndNeverHighlighted) {
  for (const bool selected : {false, true}) {
    MenuItemState item = Item("&Exit");
    item.Enabled = false;
    item.Selected = selected;
    const QImage image = Draw(item);
    EXPECT_EQ(image.pixel(0, 0), ToQRgb(Face)) << selected;
    EXPECT_EQ(image.pixel(1, 1), ToQRgb(Face)) << selected;
    EXPECT_GT(Count(image, 8421504, CaptionArea), 10) << selected;
    EXPECT_EQ(Count(image, framework::clBlack, CaptionArea), 0) << selected;
  }
}

TEST_F(TrayMenu, AmpersandUnderlinesInsteadOfShowing) {
  const QImage plain = Draw(Item("Exit"));
  const QImage marked = Draw(Item("&Exit"));
  EXPECT_GT(Count(marked, framework::clBlack, CaptionArea),
            Count(plain, framework::clBlack, CaptionArea));
  EXPECT_LT(Count(marked, framework::clBlack, CaptionArea),
            Count(Draw(Item("&&Exit")), framework::clBlack, CaptionArea));
}

TEST_F(TrayMenu, DefaultItemIsBold) {
  MenuItemState item = Item("Configure...");
  const int normal = Count(Draw(item), framework::clBlack, CaptionArea);
  item.Default = true;
  EXPECT_GT(Count(Draw(item), framework::clBlack, CaptionArea), normal);
}

TEST_F(TrayMenu, WidthIsCaptionAndShortcutPlusBarPlusForty) {
  const MenuLook look = menu.Look();
  QImage scratch(1, 1, QImage::Format_RGB32);
  framework::Canvas canvas(scratch);
  canvas.SetFont(look.Font);
  const auto width = [&](const QString &text) { return canvas.TextExtent(text).width(); };
  MenuItemState item = Item("Chinese(Traditional)");
  EXPECT_EQ(MeasureMenuItem(look, item), QSize(width("Chinese(Traditional)") + 20 + 40, 21));
  item.ShortCut = "Ctrl+T";
  EXPECT_EQ(MeasureMenuItem(look, item).width(),
            width("Chinese(Traditional)") + width("Ctrl+T") + 60);
  EXPECT_EQ(MeasureMenuItem(look, Item("-")).height(), 5);
}

TEST_F(TrayMenu, ShortcutEndsSixteenPixelsBeforeTheRightEdge) {
  MenuItemState item = Item("");
  item.ShortCut = "F5";
  const QImage image = Draw(item);
  EXPECT_EQ(Count(image, framework::clBlack, {124, 0, 16, 21}), 0);
  EXPECT_GT(Count(image, framework::clBlack, {100, 4, 24, 14}), 5);
}

TEST_F(TrayMenu, CheckedItemShowsTheCheckMarkOrFramesItsImage) {
  MenuItemState item = Item("English");
  item.Checked = true;
  const QImage mark = style::BuiltInBitmaps().Bitmap("MENU_CHECKED");
  ASSERT_FALSE(mark.isNull());
  QImage image = Draw(item);
  int green = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (mark.pixel(x, y) != qRgb(255, 255, 255)) {
        EXPECT_EQ(image.pixel(4 + x, 3 + y), mark.pixel(x, y)) << x << "," << y;
        green += qGreen(mark.pixel(x, y)) > 150 && qRed(mark.pixel(x, y)) < 50;
      } else {
        EXPECT_EQ(image.pixel(4 + x, 3 + y), ToQRgb(Face)) << "white is transparent";
      }
  EXPECT_GT(green, 5);

  item.Image = QImage(16, 16, QImage::Format_RGB32);
  item.Image.fill(Qt::blue);
  image = Draw(item);
  EXPECT_EQ(image.pixel(2, 1), qRgb(0, 0, 0)) << "frame";
  EXPECT_EQ(image.pixel(20, 19), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(3, 2), ToQRgb(0xEFD3C6)) << "filled inside";
  EXPECT_EQ(image.pixel(4, 3), qRgb(0, 0, 255)) << "the image on top";
}

TEST_F(TrayMenu, DisabledImagesAreGreyed) {
  MenuItemState item = Item("Pair");
  item.Image = QImage(16, 16, QImage::Format_RGB32);
  item.Image.fill(Qt::blue);
  item.Enabled = false;
  const QRgb p = Draw(item).pixel(10, 10);
  EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << std::hex << p;
}

TEST_F(TrayMenu, MacOSDrawsItsItemsFromItsMenuPictures) {
  menu.SetUIStyle(TsuiUIStyle::MacOS);
  const MenuLook look = menu.Look();
  ASSERT_FALSE(look.BarBitmap.isNull());
  ASSERT_FALSE(look.SelectBitmap.isNull());
  MenuItemState item;
  item.Selected = true;
  EXPECT_EQ(Draw(item, {60, 20}).pixel(30, 7), look.SelectBitmap.pixel(0, 7));
  item.Separator = true;
  EXPECT_EQ(Draw(item, {60, 12}).pixel(30, 11), look.BarBitmap.pixel(0, 11));
}

TEST(TsuiPopupMenu, BuildsItsItemsAndClicksThemByName) {
  TsuiPopupMenu menu(nullptr);
  TMenuItem *language = menu.Items().Add("mniLanguage", "Language");
  TMenuItem *english = language->Add("mniEng", "English");
  menu.Items().Add("mniN1", "-");
  TMenuItem *exit = menu.Items().Add("mniExit", "&Exit");
  english->SetChecked(true);
  exit->SetEnabled(false);
  QString clicked;
  const auto record = TNotifyEvent::fromFunction(
      [&](QObject *sender) { clicked = sender->objectName(); }, &clicked);
  english->SetOnClick(record);
  exit->SetOnClick(record);

  EXPECT_EQ(menu.Find("mniEng"), english);
  EXPECT_EQ(menu.Find("nothing"), nullptr);
  menu.Find("mniExit")->Click();
  EXPECT_TRUE(clicked.isEmpty()); // disabled
  menu.Find("mniEng")->Click();
  EXPECT_EQ(clicked, "mniEng");

  const auto built = menu.BuildMenu();
  const auto actions = built->actions();
  ASSERT_EQ(actions.size(), 3);
  EXPECT_EQ(actions[0]->text(), "Language");
  ASSERT_TRUE(actions[0]->menu());
  EXPECT_TRUE(actions[0]->menu()->actions().at(0)->isChecked());
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_FALSE(actions[2]->isEnabled());
  clicked.clear();
  actions[0]->menu()->actions().at(0)->trigger();
  EXPECT_EQ(clicked, "mniEng");
  EXPECT_FALSE(menu.ClickDefaultItem());
}

// A tray host is told of each change to an entry it has; only a new shape is a new menu.
TEST(TsuiPopupMenu, AMirroredMenuFollowsItsItemsInPlaceAndEmptiesWhenTheMenuGoes) {
  QMenu host;
  auto menu = std::make_unique<TsuiPopupMenu>(nullptr);
  TMenuItem *language = menu->Items().Add("mniLanguage", "Language");
  TMenuItem *english = language->Add("mniEng", "English");
  TMenuItem *exit = menu->Items().Add("mniExit", "Exit");
  english->SetChecked(true);
  int clicks = 0;
  exit->SetOnClick(TNotifyEvent::fromFunction([&](QObject *) { ++clicks; }, &clicks));
  menu->MirrorInto(&host);
  ASSERT_EQ(host.actions().size(), 2);
  QAction *const exitAction = host.actions().at(1);
  QMenu *const sub = host.actions().at(0)->menu();
  ASSERT_NE(sub, nullptr);
  EXPECT_TRUE(sub->actions().at(0)->isChecked());

  exit->SetCaption("Quit");
  english->SetChecked(false);
  EXPECT_EQ(host.actions().at(1), exitAction) << "changed in place";
  EXPECT_EQ(exitAction->text(), "Quit");
  EXPECT_FALSE(sub->actions().at(0)->isChecked());
  exitAction->trigger();
  EXPECT_EQ(clicks, 1);

  language->Add("mniChs", "Chinese(Simplified)");
  EXPECT_EQ(host.actions().at(0)->menu()->actions().size(), 2) << "an item added later";
  // Choices stay checkable without their mark, so that a host is told the mark went; an entry
  // among no choices has none.
  english->SetChecked(false);
  language->Items(1)->SetChecked(true);
  for (QAction *choice : host.actions().at(0)->menu()->actions())
    EXPECT_TRUE(choice->isCheckable()) << choice->text().toStdString();
  EXPECT_FALSE(exitAction->isCheckable());
  language->Items(1)->SetChecked(false);
  // Qt toggles a checked entry at the click; the item, left checked by its handler, decides.
  english->SetChecked(true);
  host.actions().at(0)->menu()->actions().at(0)->trigger();
  EXPECT_TRUE(host.actions().at(0)->menu()->actions().at(0)->isChecked());
  // A setting of its own is always checkable, its click turns the mark over, and its mark makes
  // no choices of its neighbours.
  TMenuItem *setting = menu->Items().Add("mniSetting", "Setting");
  setting->SetAutoCheck(true);
  ASSERT_EQ(host.actions().size(), 3);
  QAction *const settingAction = host.actions().at(2);
  EXPECT_TRUE(settingAction->isCheckable());
  EXPECT_FALSE(settingAction->isChecked());
  settingAction->trigger();
  EXPECT_TRUE(setting->Checked());
  EXPECT_TRUE(settingAction->isChecked());
  EXPECT_EQ(clicks, 1) << "the other item's handler";
  EXPECT_FALSE(exitAction->isCheckable());
  settingAction->trigger();
  EXPECT_FALSE(setting->Checked());
  EXPECT_FALSE(settingAction->isChecked());
  EXPECT_TRUE(settingAction->isCheckable());
  setting->SetVisible(false);
  exit->SetVisible(false);
  EXPECT_EQ(host.actions().size(), 1);

  menu.reset();
  EXPECT_TRUE(host.actions().isEmpty());
}

TEST_F(TrayMenu, TheQtMenuTakesOurHeightsWidthsAndPixels) {
  TMenuItem *language = menu.Items().Add("mniLanguage", "Language");
  menu.Items().Add("mniConfigure", "Configure...");
  menu.Items().Add("mniN1", "-");
  menu.Items().Add("mniExit", "&Exit");
  menu.Loaded();
  // Hooked after loading too.
  language->Add("mniCht", "Chinese(Traditional)");

  const auto built = menu.BuildMenu();
  built->ensurePolished();
  built->adjustSize();
  const auto actions = built->actions();
  ASSERT_EQ(actions.size(), 4);
  EXPECT_EQ(built->actionGeometry(actions[0]).height(), 21);
  EXPECT_EQ(built->actionGeometry(actions[2]).height(), 5);
  const MenuLook look = menu.Look();
  const int widest = MeasureMenuItem(look, Item("Configure...")).width();
  EXPECT_EQ(built->actionGeometry(actions[1]).width(), widest);

  const QRect line = built->actionGeometry(actions[2]);
  const QImage shown = built->grab().toImage();
  EXPECT_EQ(shown.pixel(line.left() + 24, line.top() + 2), ToQRgb(0x848284));
  EXPECT_EQ(shown.pixel(line.left() + 23, line.top() + 2), ToQRgb(Face));
  EXPECT_EQ(shown.pixel(line.left() + 24, line.top() + 1), ToQRgb(Face));

  QMenu *sub = actions[0]->menu();
  ASSERT_TRUE(sub);
  EXPECT_EQ(sub->actionGeometry(sub->actions().at(0)).width(),
            MeasureMenuItem(look, Item("Chinese(Traditional)")).width());
}

TEST_F(TrayMenu, ItemsNotHookedKeepQtsOwnLook) {
  menu.Items().Add("mniConfigure", "Configure...");
  const auto built = menu.BuildMenu();
  built->adjustSize();
  EXPECT_NE(built->actionGeometry(built->actions().at(0)).height(), 21);
}

TEST_F(TrayMenu, FlatMenuFramesItsItemsBlackThenWhiteOnTheLeftAndTheFormsColourElsewhere) {
  menu.SetFlatMenu(true);
  menu.Items().Add("mniExit", "&Exit");
  menu.Loaded();
  const auto built = menu.BuildMenu();
  built->adjustSize();
  const QRect item = built->actionGeometry(built->actions().at(0));
  EXPECT_EQ(item.topLeft(), QPoint(2, 2));
  const QImage shown = built->grab().toImage();
  const int w = shown.width(), h = shown.height();
  EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(shown.pixel(w - 1, h - 1), qRgb(0, 0, 0));
  EXPECT_EQ(shown.pixel(1, 1), qRgb(255, 255, 255));
  EXPECT_EQ(shown.pixel(1, h / 2), qRgb(255, 255, 255));
  constexpr TColor WinXPForm = 0xDEEBEF;
  for (const QPoint ring : {QPoint(w / 2, h - 2), QPoint(w - 2, h / 2), QPoint(w / 2, 1),
                            QPoint(1, h - 2), QPoint(w - 2, 1)})
    EXPECT_EQ(shown.pixel(ring), ToQRgb(WinXPForm)) << ring.x() << "," << ring.y();
  EXPECT_EQ(shown.pixel(2, 2), ToQRgb(Face));
}

TEST_F(TrayMenu, ItemsAreAsTallAsTheirTextNeedsAndNeverBelowTheStoredHeights) {
  const struct {
    const char *caption;
    int pixels; // the font's height
    int storedHeight;
  } cases[] = {
      {"&Exit", 11, 21},        {"Configure...", 11, 21}, {"&Exit", 22, 21},
      {"Configure...", 22, 21}, {"Configure...", 11, 40}, {"-", 30, 5},
  };
  const QFont desktopFont = QApplication::font("QMenu");
  for (const auto &c : cases) {
    menu.SetMenuItemHeight(c.storedHeight);
    menu.SetSeparatorHeight(c.storedHeight);
    // The desktop's menu font, as a platform theme hands it to Qt.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(c.pixels);
    QApplication::setFont(font, "QMenu");
    menu.SetUseSystemFont(true);
    const MenuItemState item = Item(QLatin1String(c.caption));
    const int height = MeasureMenuItem(menu.Look(), item).height();
    EXPECT_GE(height, c.storedHeight) << c.caption << " " << c.pixels;
    // Every row the text inks when nothing cuts it lies inside the item, with a row to spare.
    const QImage free = Draw(item, {200, 100});
    int lowestInk = -1;
    for (int y = 0; y < free.height(); ++y)
      if (Count(free, framework::clBlack, QRect(24, y, 176, 1)) > 0) lowestInk = y;
    EXPECT_LT(lowestInk + 1, height) << c.caption << " " << c.pixels;
    if (c.pixels == 11) {
      EXPECT_EQ(height, c.storedHeight) << "the usual font keeps the height";
    }
  }
  QApplication::setFont(desktopFont, "QMenu");
}

TEST(TsuiPopupMenu, ItemsOfOtherMenusLaterAddedToTheOwnerAreHookedOnceBuilt) {
  QObject owner;
  auto *menu = new TsuiPopupMenu(&owner);
  menu->Loaded();
  auto *mainMenu = new TsuiMainMenu(&owner);
  TMenuItem *file = mainMenu->Items().Add("mniFile", "&File");
  auto *loose = new TMenuItem(&owner, "mniLoose", "Loose");
  auto *other = new TsuiPopupMenu(&owner);
  TMenuItem *own = other->Items().Add("mniOwn", "Own");
  other->Loaded();
  QCoreApplication::processEvents();
  EXPECT_EQ(file->DrawnBy(), menu);
  EXPECT_EQ(mainMenu->Items().Add("mniOpen", "&Open")->DrawnBy(), menu) << "and later ones";
  EXPECT_EQ(loose->DrawnBy(), menu);
  EXPECT_EQ(own->DrawnBy(), other) << "a skinned menu keeps drawing its own items";
  delete menu;
  EXPECT_EQ(file->DrawnBy(), nullptr) << "never a menu that is gone";
}
