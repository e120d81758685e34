#include "skin/theme/ThemeFileSearch.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <optional>

using skin::theme::FindThemeFile;

TEST(ThemeFileSearch, TheNameItselfThenItsFileNameInTheProgramFolder) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const std::string program = root.path().toStdString() + "/bin";
  const std::string elsewhere = root.path().toStdString() + "/work";
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(program)));
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(elsewhere)));
  for (const std::string &file :
       {program + "/beside.thm", elsewhere + "/here.thm", program + "/here.thm"})
    std::ofstream(file) << "x";
  const struct {
    std::string name, folder;
    std::optional<std::string> found;
  } cases[] = {
      {elsewhere + "/here.thm", program, elsewhere + "/here.thm"}, // before the program folder
      {elsewhere + "/beside.thm", program, program + "/beside.thm"},
      {"beside.thm", program + "/", program + "/beside.thm"}, // no second separator
      {elsewhere + "/none.thm", program, std::nullopt},
      {"", program, std::nullopt},
      {elsewhere + "/none/", program, std::nullopt},
      {"beside.thm", "", std::nullopt}, // without a program folder
  };
  for (const auto &c : cases)
    EXPECT_EQ(FindThemeFile(c.name, c.folder), c.found) << c.name << " in " << c.folder;
}
