#include "platform/settings/FileSettingsStore.h"
#include "platform/settings/IniText.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using platform::FileSettingsStore;
using platform::ini::ReadTopLevelString;
using platform::ini::WithTopLevelString;
namespace fs = std::filesystem;

namespace {

const std::string Key = "Software\\KESTRAVO\\TELVARIN";
const std::string Value = "LngSection";

std::string readAll(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeAll(const std::string &path, const std::string &text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

} // namespace

TEST(IniText, ReadsTheTopLevelValuePastLinesItCannotRead) {
  const std::pair<const char *, std::optional<std::string>> cases[] = {
      {"[General]\nLngSection=Cht\n", "Cht"},
      {"LngSection=Cht", "Cht"},
      {"[general]\r\n  LngSection  =  Cht  ; note\r\n", "Cht"},
      {"\xEF\xBB\xBF[General]\rLngSection=Cht\r", "Cht"},
      {"[General]\n\x01garbage[[[\nno equals sign\n=\nLngSection=Cht\n", "Cht"},
      {"[General\nLngSection=Cht\n", "Cht"},
      {"[General]\nLngSection=Eng\n[Other]\nLngSection=Chs\n[General]\nLngSection=Cht\n", "Cht"},
      {"[General]\nLngSection=C\\x68\\164 \"a;b \" @\n", "Cht a;b  @"},
      {"[General]\nLngSection=@@Cht\n", "@Cht"},
      {"[General]\nLngSection=@String(C\\x68t)\n", "Cht"},
      {"[General]\nLngSection=\n", ""},
      {"[General]\n;LngSection=Chs\nlngsection=Chs\n", std::nullopt},
      {"[Other\nLngSection=Cht\n", std::nullopt},
      {"[General]\nLngSection=\"Cht\n", std::nullopt},
      {"[General]\nLngSection=Chs, Cht\n", std::nullopt},
      {"[General]\nLngSection=@ByteArray(Chs)\n", std::nullopt},
      {"[General]\nLngSection=\\q\n", std::nullopt},
      {"[General]\nLngSection=\\8\n", std::nullopt},
      {"[General]\nLngSection=\\xD800\n", std::nullopt},
      {"[General]\nLngSection=Cht\\", std::nullopt},
  };
  for (const auto &[text, value] : cases)
    EXPECT_EQ(ReadTopLevelString(text, Value), value) << text;
}

TEST(IniText, SettingTheValueChangesNoOtherByte) {
  const std::pair<const char *, const char *> cases[] = {
      {"", "[General]\nLngSection=Eng\n"},
      {"[General]\nLngSection=Cht\n", "[General]\nLngSection=Eng\n"},
      {"[Other]\nx=1\n", "[General]\nLngSection=Eng\n[Other]\nx=1\n"},
      {"\xEF\xBB\xBF"
       "x=1",
       "\xEF\xBB\xBF[General]\nLngSection=Eng\nx=1"},
      {"[Other]\nx=1\n[General]", "[Other]\nx=1\n[General]\nLngSection=Eng"},
      {"[General]\r\n\x01junk\r\nLngSection=\"Cht\r\n[Other]\r\nLngSection=Chs\r\n",
       "[General]\r\n\x01junk\r\nLngSection=Eng\r\n[Other]\r\nLngSection=Chs\r\n"},
  };
  for (const auto &[before, after] : cases)
    EXPECT_EQ(WithTopLevelString(before, Value, "Eng"), after) << before;
}

// Files written by earlier versions through QSettings, and by this version for them.
TEST(IniText, ValuesTravelBothWaysBetweenThisAndQSettings) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string values[] = {"Chs",
                                " lead",
                                "trail ",
                                "a,b",
                                "x=y;z",
                                "@at",
                                "@X(y)",
                                "q\"b\\s",
                                "tab\t\n\r",
                                {"\0"
                                 "1f",
                                 3},
                                "\x01z",
                                "ün",
                                "\x7f\x1f"
                                "A",
                                "#;[General]"};
  for (const std::string &value : values) {
    const std::string ours = dir.filePath("ours.conf").toStdString();
    writeAll(ours, WithTopLevelString("[General]\nLngSection=Eng\n", Value, value));
    EXPECT_EQ(QSettings(QString::fromStdString(ours), QSettings::IniFormat)
                  .value(QString::fromStdString(Value))
                  .toString()
                  .toStdString(),
              value);

    const QString theirs = dir.filePath("theirs.conf");
    QSettings(theirs, QSettings::IniFormat)
        .setValue(QString::fromStdString(Value), QString::fromStdString(value));
    EXPECT_EQ(ReadTopLevelString(readAll(theirs.toStdString()), Value), value);
  }
}

namespace {

class SettingsFolder : public testing::Test {
protected:
  std::string folder() const { return m_dir.path().toStdString(); }
  std::string file() const { return folder() + "/KESTRAVO/TELVARIN.conf"; }

  QTemporaryDir m_dir;
  FileSettingsStore m_store{folder()};
};

} // namespace

TEST_F(SettingsFolder, WritesTheFileEarlierVersionsReadAndReadsItBack) {
  EXPECT_EQ(m_store.Location(Key), file());
  EXPECT_FALSE(m_store.ReadString(Key, Value));
  EXPECT_TRUE(m_store.WriteString(Key, Value, "Chs"));
  EXPECT_EQ(readAll(file()), "[General]\nLngSection=Chs\n");
  EXPECT_EQ(FileSettingsStore(folder()).ReadString(Key, Value), "Chs");
  EXPECT_FALSE(fs::exists(file() + ".lock"));
}

TEST_F(SettingsFolder, ABrokenLineCostsOnlyItself) {
  writeAll(file(), "[General]\n\x01garbage[[[\nLngSection=Cht\n");
  EXPECT_EQ(m_store.ReadString(Key, Value), "Cht");
  EXPECT_TRUE(m_store.WriteString(Key, Value, "Eng"));
  EXPECT_EQ(readAll(file()), "[General]\n\x01garbage[[[\nLngSection=Eng\n");
}

TEST_F(SettingsFolder, ReadsOnceAndKeepsWhatAnotherInstanceSavedMeanwhile) {
  writeAll(file(), "[General]\nLngSection=Cht\n");
  EXPECT_EQ(m_store.ReadString(Key, Value), "Cht");
  writeAll(file(), "[General]\nLngSection=Chs\nOther=1\n");
  EXPECT_EQ(m_store.ReadString(Key, Value), "Cht");
  EXPECT_TRUE(m_store.WriteString(Key, Value, "Eng"));
  EXPECT_EQ(readAll(file()), "[General]\nLngSection=Eng\nOther=1\n");
}

TEST_F(SettingsFolder, SavesThroughALinkToARegularFile) {
  const std::string real = folder() + "/real.conf";
  writeAll(real, "[General]\nLngSection=Cht\n");
  fs::create_directories(fs::path(file()).parent_path());
  fs::create_symlink(real, file());
  EXPECT_EQ(m_store.ReadString(Key, Value), "Cht");
  EXPECT_TRUE(m_store.WriteString(Key, Value, "Chs"));
  EXPECT_TRUE(fs::is_symlink(file()));
  EXPECT_EQ(readAll(real), "[General]\nLngSection=Chs\n");
}

// The limit bounds what is read, not what is set aside: a theme file's limit is 64 MiB.
TEST_F(SettingsFolder, ASmallFileNeedsNoRoomForTheWholeLimit) {
  writeAll(file(), "[General]\nLngSection=Cht\n");
  const auto read = framework::ReadRegularFile(file(), std::size_t{1} << 50);
  EXPECT_EQ(read.State, framework::FileContents::Status::Read);
  EXPECT_EQ(read.Text, "[General]\nLngSection=Cht\n");
}

// What stands at the settings file's place, and how to tell it is still there.
struct Occupant {
  const char *name;
  std::function<void(const std::string &path, const std::string &folder)> make;
  std::function<bool(const std::string &path, const std::string &folder)> unchanged;
};

class SettingsFileThatCannotBeRead : public SettingsFolder,
                                     public testing::WithParamInterface<Occupant> {};

TEST_P(SettingsFileThatCannotBeRead, ReadsAsNothingAndIsNeverReplaced) {
  fs::create_directories(fs::path(file()).parent_path());
  GetParam().make(file(), folder());
  if (IsSkipped()) return;
  EXPECT_FALSE(m_store.ReadString(Key, Value));
  EXPECT_FALSE(m_store.WriteString(Key, Value, "Chs"));
  EXPECT_TRUE(GetParam().unchanged(file(), folder()));
}

const std::string Oversized =
    "[General]\nLngSection=Cht\n" + std::string(platform::MaxSettingsFileBytes, ';') + "\n";
const std::string NearTheLimit = std::string(platform::MaxSettingsFileBytes - 1, ';') + "\n";

INSTANTIATE_TEST_SUITE_P(
    Occupants, SettingsFileThatCannotBeRead,
    testing::Values(
        Occupant{"Fifo", [](auto &path, auto &) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
                 [](auto &path, auto &) { return fs::is_fifo(path); }},
        Occupant{"LinkToFifo",
                 [](auto &path, auto &folder) {
                   ASSERT_EQ(::mkfifo((folder + "/fifo").c_str(), 0600), 0);
                   fs::create_symlink(folder + "/fifo", path);
                 },
                 [](auto &path, auto &folder) {
                   return fs::is_symlink(path) && fs::is_fifo(folder + "/fifo");
                 }},
        Occupant{"LinkToDeviceNode",
                 [](auto &path, auto &folder) {
                   // A null device of our own, since the test may run as root.
                   if (::mknod((folder + "/null").c_str(), S_IFCHR | 0600, ::makedev(1, 3)) != 0)
                     GTEST_SKIP() << "no permission to make a device node";
                   fs::create_symlink(folder + "/null", path);
                 },
                 [](auto &, auto &folder) { return fs::is_character_file(folder + "/null"); }},
        Occupant{"Folder", [](auto &path, auto &) { fs::create_directory(path); },
                 [](auto &path, auto &) { return fs::is_directory(path); }},
        Occupant{"Oversized", [](auto &path, auto &) { writeAll(path, Oversized); },
                 [](auto &path, auto &) { return readAll(path) == Oversized; }},
        // Read, but the value's line would take it past the limit.
        Occupant{"NearTheLimit", [](auto &path, auto &) { writeAll(path, NearTheLimit); },
                 [](auto &path, auto &) { return readAll(path) == NearTheLimit; }}),
    [](const auto &p) { return p.param.name; });

// Each case would otherwise hang or freeze the window; the bound tells a hang, not a speed.
struct LockCase {
  const char *name;
  std::function<int(const std::string &lockPath)> make; // a descriptor to hold, or -1
  bool saved;
};

class SettingsLockInTheWay : public SettingsFolder, public testing::WithParamInterface<LockCase> {};

TEST_P(SettingsLockInTheWay, SavingNeverWaits) {
  fs::create_directories(fs::path(file()).parent_path());
  const int held = GetParam().make(file() + ".lock");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(m_store.WriteString(Key, Value, "Chs"), GetParam().saved);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(m_store.ReadString(Key, Value), GetParam().saved ? std::optional("Chs") : std::nullopt);
  if (held >= 0) ::close(held);
}

INSTANTIATE_TEST_SUITE_P(Locks, SettingsLockInTheWay,
                         testing::Values(LockCase{"Folder",
                                                  [](auto &lock) {
                                                    fs::create_directory(lock);
                                                    return -1;
                                                  },
                                                  false},
                                         LockCase{"HeldByAnotherInstance",
                                                  [](auto &lock) {
                                                    const int fd = ::open(lock.c_str(),
                                                                          O_RDWR | O_CREAT, 0600);
                                                    EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
                                                    return fd;
                                                  },
                                                  false},
                                         LockCase{"LeftBehindWithGarbage",
                                                  [](auto &lock) {
                                                    writeAll(lock, "\xff\xfe not a process\n");
                                                    return -1;
                                                  },
                                                  true}),
                         [](const auto &p) { return p.param.name; });

TEST(SettingsLocation, FollowsTheConfigFolderAndRefusesKeysThatAreNotFileNames) {
  const QByteArray config = qgetenv("XDG_CONFIG_HOME"), home = qgetenv("HOME");
  qputenv("HOME", "/home/u");
  qputenv("XDG_CONFIG_HOME", "/x/config");
  EXPECT_EQ(FileSettingsStore::UserConfigFolder(), "/x/config");
  qputenv("XDG_CONFIG_HOME", "relative");
  EXPECT_EQ(FileSettingsStore::UserConfigFolder(), "/home/u/.config");
  qputenv("XDG_CONFIG_HOME", config);
  qputenv("HOME", home);

  const FileSettingsStore store("/c");
  EXPECT_EQ(store.Location("Software\\KESTRAVO\\TELVARIN"), "/c/KESTRAVO/TELVARIN.conf");
  for (const char *key : {"TELVARIN", "", "Software\\..\\TELVARIN", "Software\\A\\b/c"})
    EXPECT_EQ(store.Location(key), "") << key;
}
