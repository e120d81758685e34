#include "widgets/THexEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

void type(QWidget &widget, Qt::Key key, const QString &text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(&widget, &press);
}

} // namespace

TEST(THexEdit, FiltersTypedCharactersUnlessTold) {
  widgets::THexEdit edit(nullptr);
  type(edit, Qt::Key_A, "a");
  type(edit, Qt::Key_G, "g");
  type(edit, Qt::Key_1, "1");
  EXPECT_EQ(edit.text(), "a1");
  type(edit, Qt::Key_Backspace, QString(QChar(8)));
  EXPECT_EQ(edit.text(), "a");
  edit.SetIsFilter(false);
  type(edit, Qt::Key_G, "g");
  EXPECT_EQ(edit.text(), "ag");
}

TEST(THexEdit, ConvertsBetweenTextAndNumber) {
  widgets::THexEdit edit(nullptr);
  EXPECT_EQ(edit.GetValue(), 0);
  edit.SetValue(26);
  EXPECT_EQ(edit.text(), "1A");
  EXPECT_EQ(edit.GetValue(), 26);
  edit.SetValue(4096);
  EXPECT_EQ(edit.text(), "1000");
  edit.SetValue(0);
  EXPECT_TRUE(edit.text().isEmpty());
  edit.SetValue(-5);
  EXPECT_TRUE(edit.text().isEmpty());
  // A text that is no number is reported, not turned into a value.
  edit.setText("zz");
  EXPECT_FALSE(edit.GetValue());
  edit.setText("1FFFFFFFF");
  EXPECT_FALSE(edit.GetValue());
}
