#include "skin/theme/ThemeFileSearch.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

using skin::theme::FindThemeFile;

namespace {

struct SearchFolders : testing::Test {
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    program = root.path().toStdString() + "/bin";
    elsewhere = root.path().toStdString() + "/work";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(program)));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(elsewhere)));
    std::ofstream(program + "/beside.thm") << "x";
    std::ofstream(elsewhere + "/here.thm") << "x";
    std::ofstream(program + "/here.thm") << "x";
  }
  QTemporaryDir root;
  std::string program, elsewhere;
};

} // namespace

TEST_F(SearchFolders, TheNameItselfComesBeforeTheProgramFolder) {
  EXPECT_EQ(FindThemeFile(elsewhere + "/here.thm", program), elsewhere + "/here.thm");
}

TEST_F(SearchFolders, AMissingFileIsLookedForByItsFileNameInTheProgramFolder) {
  EXPECT_EQ(FindThemeFile(elsewhere + "/beside.thm", program), program + "/beside.thm");
  EXPECT_EQ(FindThemeFile("beside.thm", program + "/"), program + "/beside.thm")
      << "no second separator";
}

TEST_F(SearchFolders, ANameFoundNowhereGivesNothing) {
  for (const std::string &name : {elsewhere + "/none.thm", std::string(), elsewhere + "/none/"})
    EXPECT_FALSE(FindThemeFile(name, program)) << name;
  EXPECT_FALSE(FindThemeFile("beside.thm", "")) << "without a program folder";
}
