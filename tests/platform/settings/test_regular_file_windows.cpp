#include "framework/files/RegularFile.h"
#include "framework/files/UniqueHandle.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

using framework::FileContents;
using framework::ReadRegularFile;
using framework::StampOf;
using Status = FileContents::Status;

namespace {

constexpr std::size_t Limit = 64;
const std::wstring PipeName = L"\\\\.\\pipe\\quelvane-files-test";

} // namespace

// A pipe with a server waiting: a reader that opened it would be its client.
class WindowsNames : public ScratchFolder {
protected:
  void SetUp() override {
    ScratchFolder::SetUp();
    m_pipe = std::make_unique<framework::UniqueHandle>(
        ::CreateNamedPipeW(PipeName.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_NOWAIT, 1,
                           Limit, Limit, 0, nullptr));
    ASSERT_TRUE(*m_pipe) << ::GetLastError();
  }

  bool pipeWasOpened() const {
    return !::ConnectNamedPipe(m_pipe->get(), nullptr) && ::GetLastError() == ERROR_PIPE_CONNECTED;
  }

  std::unique_ptr<framework::UniqueHandle> m_pipe;
};

TEST_F(WindowsNames, DevicesAndPipesAreNeverOpened) {
  const std::string cases[] = {
      "NUL",
      "nul",
      "CON",
      "COM1",
      "lpt1.txt",
      "aux .log",
      "C:NUL",
      utf8(at(u8"con.conf")),
      "\\\\.\\pipe\\quelvane-files-test",
      "//./pipe/quelvane-files-test",
      "\\??\\pipe\\x",
      "\\\\?\\GLOBALROOT\\Device\\Null",
      "\\\\.\\C:",
      "CONIN$",
  };
  for (const std::string &path : cases) {
    const FileContents read = ReadRegularFile(path, Limit);
    EXPECT_EQ(read.State, Status::NotRegular) << path;
    EXPECT_FALSE(StampOf(path)) << path;
  }
  EXPECT_FALSE(pipeWasOpened());
}

TEST_F(WindowsNames, NamesThatOnlyLookLikeDevicesAreFiles) {
  const std::u8string names[] = {u8"console.txt", u8"nullable", u8"COM10", u8"lpt",
                                 u8"auxiliary.log"};
  for (const std::u8string &name : names) {
    const std::string path = write(name, "Eng");
    EXPECT_EQ(ReadRegularFile(path, Limit).Text, "Eng") << path;
  }
  const std::string longForm = "\\\\?\\" + utf8(std::filesystem::absolute(at(u8"console.txt")));
  EXPECT_EQ(ReadRegularFile(longForm, Limit).Text, "Eng") << longForm;
}

TEST_F(WindowsNames, APathThatIsNotUtf8NamesNoFile) {
  const std::string cases[] = {"\xFF", "Cht\xC3", std::string("Cht\0.txt", 8)};
  for (const std::string &path : cases)
    EXPECT_EQ(ReadRegularFile(utf8(m_folder) + "\\" + path, Limit).State, Status::Unreadable);
}
