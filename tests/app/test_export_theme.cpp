#include "app/ExportTheme.h"
#include "app/WholeFile.h"
#include "skin/TsuiFileTheme.h"
#include "skin/style/StyleReads.h"
#include "skin/style/StyleTable.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using skin::TsuiUIStyle;

namespace {

struct WholeFile : testing::Test {
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }
  std::string Path(const char *name) const { return folder.filePath(name).toStdString(); }
  QStringList Names() const {
    return QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
  }
  bool Write(const std::string &path, const std::string &text) {
    reason.clear();
    return app::WriteWholeFile(
        path, {reinterpret_cast<const std::uint8_t *>(text.data()), text.size()}, reason);
  }
  QTemporaryDir folder;
  std::string reason;
};

std::string Contents(const std::string &path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

} // namespace

TEST_F(WholeFile, ReplacesARegularFileWhole) {
  std::ofstream(Path("t.thm")) << "an older and longer theme";
  EXPECT_TRUE(Write(Path("t.thm"), "new"));
  EXPECT_EQ(Contents(Path("t.thm")), "new");
  EXPECT_EQ(Names(), QStringList{"t.thm"}) << "no temporary file is left";
}

TEST_F(WholeFile, ANewFileIsAsReadableAsTheUsersMaskAllows) {
  const mode_t mask = ::umask(022);
  EXPECT_TRUE(Write(Path("new.thm"), "theme"));
  ::umask(mask);
  struct stat st {};
  ASSERT_EQ(::stat(Path("new.thm").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_F(WholeFile, WhatCannotBeWrittenSaysWhyAndLeavesNothingBehind) {
  ASSERT_TRUE(QDir(folder.path()).mkdir("dir"));
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  std::ofstream(Path("plain")) << "x";
  for (const std::string &path :
       {Path("dir"), Path("fifo"), Path("plain") + "/t.thm", Path("missing") + "/t.thm"}) {
    EXPECT_FALSE(Write(path, "theme")) << path;
    EXPECT_FALSE(reason.empty()) << path;
  }
  EXPECT_EQ(Names(), (QStringList{"dir", "fifo", "plain"}));
  struct stat st {};
  ASSERT_EQ(::lstat(Path("fifo").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "never replaced by a regular file";
}

TEST_F(WholeFile, AWriteThroughALinkReplacesTheFileItNames) {
  std::ofstream(Path("real.thm")) << "old";
  ASSERT_EQ(::symlink(Path("real.thm").c_str(), Path("link.thm").c_str()), 0);
  EXPECT_TRUE(Write(Path("link.thm"), "new")) << reason;
  EXPECT_EQ(Contents(Path("real.thm")), "new");
  struct stat st {};
  ASSERT_EQ(::lstat(Path("link.thm").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
}

// Each case runs in a copy of the test program, so that the user, limits and signals it changes
// stay there. Exits 0 when the write did what the shell's ">" would.
class WholeFileAsUser : public WholeFile {
protected:
  void SetUp() override {
    WholeFile::SetUp();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
  }
  // An ordinary user: the one running the tests, or a scratch one that root becomes.
  static bool BecomeOrdinaryUser(const std::string &folderPath) {
    if (::geteuid() != 0) return true;
    constexpr uid_t Scratch = 65534;
    return ::chown(folderPath.c_str(), Scratch, Scratch) == 0 &&
           ::setresgid(Scratch, Scratch, Scratch) == 0 &&
           ::setresuid(Scratch, Scratch, Scratch) == 0;
  }
};

TEST_F(WholeFileAsUser, AFileTheUserMayNotWriteIsRefusedAndKept) {
  const std::string path = Path("kept.thm");
  EXPECT_EXIT(
      {
        if (!BecomeOrdinaryUser(folder.path().toStdString())) std::_Exit(3);
        std::ofstream(path) << "kept";
        if (::chmod(path.c_str(), 0444) != 0) std::_Exit(4);
        const bool refused = !Write(path, "new") && !reason.empty();
        std::_Exit(refused && Contents(path) == "kept" && Names() == QStringList{"kept.thm"} ? 0
                                                                                             : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST_F(WholeFileAsUser, RootReplacesAWriteProtectedFileAsTheShellDoes) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root";
  std::ofstream(Path("ro.thm")) << "old";
  ASSERT_EQ(::chmod(Path("ro.thm").c_str(), 0444), 0);
  EXPECT_TRUE(Write(Path("ro.thm"), "new")) << reason;
  EXPECT_EQ(Contents(Path("ro.thm")), "new");
}

TEST_F(WholeFileAsUser, AFileSizeLimitFailsTheWriteAndLeavesNothingBehind) {
  EXPECT_EXIT(
      {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = 1024;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) std::_Exit(3);
        const bool failed = !Write(Path("big.thm"), std::string(8192, 'x')) && !reason.empty();
        std::_Exit(failed && Names().isEmpty() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

namespace {

using skin::style::EntryKind;

// Same size and the same colour at every pixel, whatever the formats.
bool SamePixels(const QImage &a, const QImage &b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if ((a.pixel(x, y) & 0xFFFFFFu) != (b.pixel(x, y) & 0xFFFFFFu)) return false;
  return true;
}

} // namespace

TEST(ExportTheme, EveryStyleComesBackFromItsFileExactly) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  for (const TsuiUIStyle style : {TsuiUIStyle::MacOS, TsuiUIStyle::WinXP, TsuiUIStyle::DeepBlue,
                                  TsuiUIStyle::Protein, TsuiUIStyle::BlueGlass}) {
    const std::string name = "style" + std::to_string(static_cast<int>(style)) + ".thm";
    app::Options options;
    options.ExportTheme = folder.filePath(QString::fromStdString(name)).toStdString();
    options.ExportStyle = style;
    std::ostringstream error;
    ASSERT_EQ(app::RunExportTheme(options, error), 0) << error.str();

    skin::TsuiFileTheme theme(nullptr);
    theme.SetThemeFile(QString::fromStdString(*options.ExportTheme));
    ASSERT_TRUE(theme.Loaded());
    const skin::style::StyleReader fromFile(&theme, TsuiUIStyle::FromThemeFile);
    ASSERT_TRUE(fromFile.Resolved().UseTheme);
    std::size_t held = 0;
    for (const skin::style::EntryInfo &info : skin::style::Entries()) {
      const std::string what = name + " " + std::string(info.Key);
      switch (info.Kind) {
      case EntryKind::Image: {
        QImage builtIn, read;
        const bool has = skin::style::GetStyleImage(style, info.Entry, builtIn);
        EXPECT_EQ(fromFile.Image(info.Entry, read), has) << what;
        EXPECT_TRUE(SamePixels(read, builtIn)) << what;
        held += has;
        break;
      }
      case EntryKind::Colour:
        EXPECT_EQ(fromFile.Color(info.Entry), skin::style::GetStyleColor(style, info.Entry))
            << what;
        ++held;
        break;
      case EntryKind::Integer:
        EXPECT_EQ(fromFile.Int(info.Entry), skin::style::GetStyleInt(style, info.Entry)) << what;
        ++held;
        break;
      case EntryKind::Boolean:
        EXPECT_EQ(fromFile.Bool(info.Entry), skin::style::GetStyleBool(style, info.Entry)) << what;
        EXPECT_TRUE(theme.Mgr()->Reader().Boolean(info.Key)) << what << " is in the file";
        ++held;
        break;
      }
    }
    EXPECT_EQ(theme.Mgr()->Reader().Contents().Entries.size(), held) << name;
    EXPECT_GE(held, 45u) << name << ": only entries 43, 45 and 46 have no built-in picture";
  }
}
