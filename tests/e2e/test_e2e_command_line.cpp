// What a user sees when the program refuses to start: a message on standard error naming the
// cause and a non-zero exit, never a crash.
#include "common/ProgramRun.h"

#include <gtest/gtest.h>

namespace {

using testcommon::ProgramHome;

const QString Data = QUELVANE_TEST_DATA;

TEST(E2eCommandLine, RefusedScenariosNameThePlaceAndExitNonZero) {
  ProgramHome home;
  ASSERT_TRUE(home.IsValid());

  const auto missing = home.Run({"--simulate=" + home.FilePath("none.json")});
  EXPECT_NE(missing.Code, 0);
  EXPECT_TRUE(missing.Err.contains("none.json")) << missing.Err.toStdString();

  const auto bad = home.Run({"--simulate=" + Data + "/refused_bad_vendor.json"});
  EXPECT_NE(bad.Code, 0);
  EXPECT_TRUE(bad.Err.contains("devices[0].vendor")) << bad.Err.toStdString();

  // Listing refuses the same file the same way.
  const auto listed = home.Run({"--list", "--simulate=" + Data + "/refused_bad_vendor.json"});
  EXPECT_NE(listed.Code, 0);
  EXPECT_TRUE(listed.Err.contains("devices[0].vendor")) << listed.Err.toStdString();
}

TEST(E2eCommandLine, WithoutADisplayTheWindowIsRefusedButListingWorks) {
  ProgramHome home;
  ASSERT_TRUE(home.IsValid());
  home.Environment.remove("QT_QPA_PLATFORM");
  home.Environment.remove("DISPLAY");
  home.Environment.remove("WAYLAND_DISPLAY");

  const auto window = home.Run({"--simulate"});
  EXPECT_EQ(window.Code, 1);
  EXPECT_TRUE(window.Err.contains("no display")) << window.Err.toStdString();

  const auto list = home.Run({"--list", "--json", "--simulate"});
  EXPECT_EQ(list.Code, 0) << list.Err.toStdString();
  EXPECT_TRUE(list.Out.contains("\"vendor\":14974")) << list.Out.toStdString();
}

TEST(E2eCommandLine, AnUnknownOptionIsAUsageError) {
  ProgramHome home;
  ASSERT_TRUE(home.IsValid());
  const auto unknown = home.Run({"--frobnicate"});
  EXPECT_EQ(unknown.Code, 2);
  EXPECT_TRUE(unknown.Err.contains("--frobnicate"));
  EXPECT_TRUE(unknown.Err.contains("Usage"));
}

} // namespace
