#include "app/WholeScale.h"

#include <gtest/gtest.h>

namespace {

TEST(WholeScaleFactors, RoundEveryFactorHalvesUpNeverBelowOneAndKeepWhatIsNoNumber) {
  const struct {
    const char *given;
    const char *rounded;
  } cases[] = {
      {"2", "2"},
      {"1.5", "2"},
      {"1.25", "1"},
      {"2.5", "3"},
      {"0.5", "1"},
      {" 1.5 ", "2"},
      {"1.5;1;2.25", "2;1;2"},
      {"DP-1=1.5;HDMI-1=1", "DP-1=2;HDMI-1=1"},
      {"big", "big"},
      {"nan", "nan"},
      {"", ""},
  };
  for (const auto &c : cases)
    EXPECT_EQ(app::WholeScaleFactors(c.given), QByteArray(c.rounded)) << c.given;
}

} // namespace
