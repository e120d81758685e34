#include "skin/TsuiPopupMenu.h"

#include <QMenu>
#include <gtest/gtest.h>

using namespace skin;

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
