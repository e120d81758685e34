#include "framework/files/RegularFile.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

using framework::FileContents;
using framework::ReadRegularFile;
using framework::StampOf;
using Status = FileContents::Status;
namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

constexpr std::size_t Limit = 64;

} // namespace

using RegularFile = ScratchFolder;

TEST_F(RegularFile, ReadsAFileWholeUpToTheLimitAndNothingPastIt) {
  const struct {
    std::u8string Name;
    std::string Text;
    Status Expected;
  } cases[] = {
      {u8"plain.txt", "Cht\r\n\0\xFF tail"s, Status::Read},
      {u8"empty", "", Status::Read},
      {u8"\u4E2D\u6587 \u00FCn\u00EF.conf", "named beyond ASCII", Status::Read},
      {u8"full", std::string(Limit, 'x'), Status::Read},
      {u8"over", std::string(Limit + 1, 'x'), Status::TooLarge},
      {u8"far over", std::string(Limit * 1000, 'x'), Status::TooLarge},
  };
  for (const auto &c : cases) {
    const std::string path = write(c.Name, c.Text);
    const FileContents read = ReadRegularFile(path, Limit);
    EXPECT_EQ(read.State, c.Expected) << path;
    EXPECT_EQ(read.Text, c.Expected == Status::Read ? c.Text : "") << path;
    EXPECT_EQ(read.Stamp.has_value(), c.Expected == Status::Read) << path;
  }
}

TEST_F(RegularFile, WhatIsNoFileIsNeverRead) {
  fs::create_directory(at(u8"folder"));
  const struct {
    std::string Path;
    Status Expected;
  } cases[] = {
      {utf8(at(u8"folder")), Status::NotRegular},
      {utf8(at(u8"missing")), Status::Missing},
      {utf8(at(u8"missing") / u8"below"), Status::Missing},
  };
  for (const auto &c : cases) {
    const FileContents read = ReadRegularFile(c.Path, Limit);
    EXPECT_EQ(read.State, c.Expected) << c.Path;
    EXPECT_TRUE(read.Text.empty()) << c.Path;
  }
}

TEST_F(RegularFile, TheStampTellsARewrittenFileFromTheOneRead) {
  // Each change keeps all but one of the file's identity, size and time.
  const auto inPlace = [this](const std::string &text, std::chrono::seconds later) {
    return [this, text, later](const fs::path &file) {
      const auto time = fs::last_write_time(file);
      write(file.filename().u8string(), text);
      fs::last_write_time(file, time + later);
    };
  };
  const auto replaced = [this](const fs::path &file) {
    write(u8"replacement", "Chs");
    fs::last_write_time(at(u8"replacement"), fs::last_write_time(file));
    fs::rename(at(u8"replacement"), file);
  };
  const struct {
    const char *What;
    std::function<void(const fs::path &)> Change;
    bool Differs;
  } cases[] = {
      {"left alone", [](const fs::path &) {}, false},
      {"the same bytes written later", inPlace("Cht", std::chrono::seconds(2)), true},
      {"grown at the same time", inPlace("Chinese", std::chrono::seconds(0)), true},
      {"another file of the same size and time", replaced, true},
  };
  for (const auto &c : cases) {
    const std::string path = write(u8"settings", "Cht");
    const FileContents read = ReadRegularFile(path, Limit);
    ASSERT_EQ(read.State, Status::Read);
    EXPECT_EQ(StampOf(path), read.Stamp) << c.What;
    c.Change(path);
    EXPECT_EQ(StampOf(path) != read.Stamp, c.Differs) << c.What;
  }
}
