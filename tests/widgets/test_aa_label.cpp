#include "widgets/TCnAALabel.h"

#include <gtest/gtest.h>

TEST(TCnAALabel, SizesToItsCaptionOnceLoaded) {
  QWidget parent;
  widgets::TCnAALabel label(&parent);
  label.BeginLoading();
  label.SetBounds(151, 179, 27, 16);
  label.SetCaption("50%");
  EXPECT_EQ(label.Width(), 27); // not while loading
  label.Loaded();
  const int width = label.Width();
  EXPECT_GT(width, 0);
  label.SetCaption("100%");
  EXPECT_GT(label.Width(), width);
  EXPECT_EQ(label.Left(), 151);
}
