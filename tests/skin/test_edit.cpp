#include "skin/TsuiEdit.h"

#include <gtest/gtest.h>

using namespace skin;

TEST(TsuiEdit, DrawsBorderAndInnerLineInItsColours) {
  QWidget parent;
  TsuiEdit edit(&parent);
  edit.setGeometry(0, 0, 53, 22);
  edit.SetColor(framework::clMoneyGreen);
  edit.SetBorderColor(8355711);
  const QImage shot = edit.grab().toImage();
  EXPECT_EQ(shot.pixelColor(0, 0), QColor(0x7F, 0x7F, 0x7F));
  EXPECT_EQ(shot.pixelColor(52, 21), QColor(0x7F, 0x7F, 0x7F));
  EXPECT_EQ(shot.pixelColor(1, 1), QColor(0xC0, 0xDC, 0xC0));
  EXPECT_EQ(shot.pixelColor(51, 10), QColor(0xC0, 0xDC, 0xC0));
}

TEST(TsuiEdit, StyleBorderYieldsToALaterStoredOne) {
  TsuiEdit edit(nullptr);
  edit.SetUIStyle(TsuiUIStyle::MacOS);
  EXPECT_EQ(edit.BorderColor(), 0x7F7F7FU);
  edit.SetBorderColor(0x123456);
  EXPECT_EQ(edit.BorderColor(), 0x123456U);
}
