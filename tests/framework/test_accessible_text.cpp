#include "framework/ReadOnlyAccessibleText.h"

#include <gtest/gtest.h>

namespace {

class Shown final : public framework::ReadOnlyAccessibleText {
protected:
  QString ReadText() const override { return QStringLiteral("HIGH"); }
};

TEST(ReadOnlyAccessibleText, RangesAreClampedIntoTheTextAndMinusOneEndsAtItsEnd) {
  const struct {
    int start;
    int end;
    const char *expected;
  } cases[] = {{0, -1, "HIGH"}, {1, 3, "IG"}, {-5, 2, "HI"}, {3, 99, "H"},
               {4, 2, ""},      {9, -1, ""},  {2, 2, ""}};
  const Shown text;
  for (const auto &c : cases)
    EXPECT_EQ(text.text(c.start, c.end).toStdString(), c.expected) << c.start << ".." << c.end;
  int start = -1;
  int end = -1;
  EXPECT_EQ(text.attributes(2, &start, &end), QString());
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 4);
  text.selection(0, &start, &end);
  EXPECT_EQ(start, end);
}

} // namespace
