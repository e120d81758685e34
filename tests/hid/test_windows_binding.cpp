// The real Windows binding on whatever runs the tests (Wine in CI): no HID device is assumed.
// Named pipes stand in for device paths where a handle of any kind is enough: the overlapped
// read and its cancel are the platform's file services, whatever the file.
#include "hid/JvHidDeviceController.h"
#include "hid/PlatformHidBinding.h"
#include "hid/WindowsHidBinding.h"

#include "common/TestMessageLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <dbt.h>

namespace {

using hid::MakeWindowsHidBinding;
using hid::OpenMode;
using hid::ReadStatus;
using hid::WindowsHidLibraries;

constexpr OpenMode Modes[] = {OpenMode::ReadWrite, OpenMode::QueryOnly, OpenMode::OverlappedRead,
                              OpenMode::OverlappedWrite};

HWND DeviceChangeWindow() {
  return ::FindWindowExA(HWND_MESSAGE, nullptr, hid::WindowsDeviceChangeWindowClass, nullptr);
}

TEST(WindowsHidBinding, BindsBothLibrariesAndEnumeratesTheHidClass) {
  const auto binding = hid::MakePlatformHidBinding();
  ASSERT_TRUE(binding->Bound()) << binding->UnboundReason();
  EXPECT_EQ(binding->UnboundReason(), "");
  const auto list = binding->Enumerate();
  ASSERT_TRUE(list); // Wine lists no HID interface: an empty list, not a failure
  for (const auto &record : *list) {
    EXPECT_EQ(record.DevicePath.rfind("\\\\?\\", 0), 0u) << record.DevicePath;
    EXPECT_EQ(record.Properties.ClassName, "HIDClass") << record.DevicePath;
  }
}

TEST(WindowsHidBinding, ControllerScansTheRealBindingOnce) {
  const auto binding = MakeWindowsHidBinding();
  TestMessageLoop loop;
  hid::TJvHidDeviceController controller(*binding, loop);
  EXPECT_FALSE(controller.Inert());
  ASSERT_EQ(loop.RunPending(), 1u); // the start-up scan
  EXPECT_EQ(static_cast<std::size_t>(controller.DeviceCount()), binding->Enumerate()->size());
}

struct BindFailure {
  WindowsHidLibraries Libraries;
  std::string Reason;
};

class WindowsHidBindingUnbound : public ::testing::TestWithParam<BindFailure> {};

TEST_P(WindowsHidBindingUnbound, SaysWhatIsMissingAndStaysInert) {
  const auto binding = MakeWindowsHidBinding(GetParam().Libraries);
  EXPECT_FALSE(binding->Bound());
  EXPECT_NE(binding->UnboundReason().find(GetParam().Reason), std::string::npos)
      << binding->UnboundReason();
  EXPECT_FALSE(binding->Enumerate());
  std::uint32_t error = 0;
  EXPECT_FALSE(binding->Open("\\\\.\\pipe\\anything", OpenMode::QueryOnly, error));
  EXPECT_EQ(error, static_cast<std::uint32_t>(ERROR_DLL_NOT_FOUND));
  EXPECT_EQ(DeviceChangeWindow(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    , WindowsHidBindingUnbound,
    ::testing::Values(
        BindFailure{{"quelvane-missing.dll", "hid.dll"}, "cannot load quelvane-missing.dll"},
        BindFailure{{"setupapi.dll", "quelvane-missing.dll"}, "cannot load quelvane-missing.dll"},
        // Libraries that exist but are not the ones asked for: the first name each lacks.
        BindFailure{{"kernel32.dll", "hid.dll"}, "kernel32.dll has no SetupDiGetClassDevsA"},
        BindFailure{{"setupapi.dll", "setupapi.dll"}, "setupapi.dll has no HidD_GetHidGuid"}));

TEST(WindowsHidBinding, RefusesPathsThatNameNoInterface) {
  const auto binding = MakeWindowsHidBinding();
  const struct {
    std::string Path;
    std::vector<std::uint32_t> Errors;
  } cases[] = {
      {"\\\\?\\hid#vid_0000&pid_0000#quelvane-missing#{4d1e55b2-f16f-11cf-88cb-001111000030}",
       {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND}},
      {"\\\\.\\pipe\\quelvane-missing", {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND}},
      {"C:\\windows\\win.ini", {ERROR_BAD_PATHNAME}}, // a file: never opened
      {"quelvane", {ERROR_BAD_PATHNAME}},
      {"", {ERROR_BAD_PATHNAME}},
  };
  for (const auto &c : cases)
    for (const OpenMode mode : Modes) {
      std::uint32_t error = 0;
      EXPECT_FALSE(binding->Open(c.Path, mode, error)) << c.Path;
      EXPECT_NE(std::find(c.Errors.begin(), c.Errors.end(), error), c.Errors.end())
          << c.Path << ": error " << error;
    }
}

// A named pipe whose server end the test writes to, opened through the binding.
class WindowsHidBindingPipe : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(binding->Bound()) << binding->UnboundReason();
    NewServer();
  }
  void TearDown() override { CloseServer(); }

  void NewServer() {
    CloseServer();
    server = ::CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                4096, 4096, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE) << ::GetLastError();
  }
  void CloseServer() {
    if (server != INVALID_HANDLE_VALUE) ::CloseHandle(server);
    server = INVALID_HANDLE_VALUE;
  }

  std::unique_ptr<hid::HidHandle> Open(OpenMode mode) {
    std::uint32_t error = 0;
    auto handle = binding->Open(pipeName, mode, error);
    EXPECT_TRUE(handle) << "error " << error;
    // The client is there already; this only completes the server's side.
    if (handle && !::ConnectNamedPipe(server, nullptr)) {
      EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_PIPE_CONNECTED));
    }
    return handle;
  }
  void Write(const std::vector<std::uint8_t> &bytes) {
    DWORD written = 0;
    ASSERT_TRUE(
        ::WriteFile(server, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
  }

  const std::unique_ptr<hid::HidBinding> binding = MakeWindowsHidBinding();
  const std::string pipeName =
      "\\\\.\\pipe\\quelvane-hid-test-" + std::to_string(::GetCurrentProcessId());
  HANDLE server = INVALID_HANDLE_VALUE;
};

TEST_F(WindowsHidBindingPipe, HidCallsOnAHandleThatIsNoHidDeviceFailWithoutTouchingTheBuffers) {
  const auto handle = Open(OpenMode::ReadWrite);
  ASSERT_TRUE(handle);
  hid::HIDD_ATTRIBUTES attributes;
  EXPECT_FALSE(handle->GetAttributes(attributes));
  EXPECT_EQ(handle->GetPreparsedData(), nullptr);
  std::u16string product = u"kept";
  EXPECT_FALSE(handle->GetProductString(product, 254));
  EXPECT_EQ(product, u"kept");
  std::uint8_t report[9] = {1, 2, 3};
  EXPECT_FALSE(handle->GetFeature(report, sizeof report));
  EXPECT_EQ(report[0], 1);
  EXPECT_EQ(report[1], 2);
  EXPECT_FALSE(handle->SetFeature(report, sizeof report));
  EXPECT_FALSE(handle->SetNumInputBuffers(128));
  std::uint32_t count = 7;
  EXPECT_FALSE(handle->GetNumInputBuffers(count));
  EXPECT_EQ(count, 7u);
  // No buffer, no platform call.
  EXPECT_FALSE(handle->GetFeature(nullptr, 9));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(handle->SetFeature(report, 0));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(WindowsHidBindingPipe, OverlappedReadDeliversWhatArrivedUpToTheBuffer) {
  const auto handle = Open(OpenMode::OverlappedRead);
  ASSERT_TRUE(handle);
  const struct {
    std::vector<std::uint8_t> Sent;
    std::size_t Length;
    std::vector<std::uint8_t> Read;
  } cases[] = {
      {{0x01, 0x09, 0x00, 0xCC}, 9, {0x01, 0x09, 0x00, 0xCC}},
      {{0x02, 0xAA, 0xBB, 0xCC, 0xDD}, 3, {0x02, 0xAA, 0xBB}}, // the rest stays for the next read
      {{}, 9, {0xCC, 0xDD}},
  };
  for (const auto &c : cases) {
    if (!c.Sent.empty()) Write(c.Sent);
    // One byte more than the read is given, to see that it stays.
    std::vector<std::uint8_t> buffer(c.Length + 1, 0xEE);
    const auto result = handle->Read(buffer.data(), c.Length, 5000);
    ASSERT_EQ(result.Status, ReadStatus::Data) << result.Error;
    ASSERT_EQ(result.Count, c.Read.size());
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + result.Count), c.Read);
    EXPECT_EQ(buffer[result.Count], 0xEE) << "written past the count";
  }
}

TEST_F(WindowsHidBindingPipe, ReadTimesOutAndACancelWakesItOnce) {
  const auto handle = Open(OpenMode::OverlappedRead);
  ASSERT_TRUE(handle);
  std::uint8_t buffer[9] = {};
  EXPECT_EQ(handle->Read(buffer, sizeof buffer, 20).Status, ReadStatus::Timeout);

  // From another thread, whether it comes before or during the read: the read ends either way.
  std::thread canceller([&handle] { handle->CancelIo(); });
  EXPECT_EQ(handle->Read(buffer, sizeof buffer, -1).Status, ReadStatus::Timeout);
  canceller.join();

  // The cancel was used up: a read waits again, until data comes. (The pause only lets the read
  // start first; the outcome does not depend on it.)
  hid::ReadResult result;
  std::thread reader([&] { result = handle->Read(buffer, sizeof buffer, -1); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  Write({0x05, 0x06});
  reader.join();
  EXPECT_EQ(result.Status, ReadStatus::Data);
  EXPECT_EQ(result.Count, 2u);
}

TEST_F(WindowsHidBindingPipe, ReadFailsWithThePlatformErrorWhenTheOtherEndGoes) {
  const auto handle = Open(OpenMode::OverlappedRead);
  ASSERT_TRUE(handle);
  CloseServer();
  std::uint8_t buffer[9] = {};
  const auto result = handle->Read(buffer, sizeof buffer, 5000);
  EXPECT_EQ(result.Status, ReadStatus::Error);
  EXPECT_EQ(result.Error, static_cast<std::uint32_t>(ERROR_BROKEN_PIPE));
}

TEST_F(WindowsHidBindingPipe, OnlyOverlappedReadHandlesRead) {
  for (const OpenMode mode : {OpenMode::ReadWrite, OpenMode::QueryOnly}) {
    NewServer();
    const auto handle = Open(mode);
    ASSERT_TRUE(handle);
    std::uint8_t buffer[9] = {};
    const auto result = handle->Read(buffer, sizeof buffer, 0);
    EXPECT_EQ(result.Status, ReadStatus::Error);
    EXPECT_EQ(result.Error, static_cast<std::uint32_t>(ERROR_INVALID_FUNCTION));
    handle->CancelIo(); // nothing to wake: no effect
  }
}

// What the platform sends the hotplug window, and whether the listener hears of it.
struct DeviceChange {
  WPARAM Event;
  DWORD DeviceType;
  bool Heard;
};

TEST(WindowsHidBinding, HotplugWindowPassesInterfaceArrivalsAndRemovalsFromItsOwnThread) {
  auto binding = MakeWindowsHidBinding();
  ASSERT_TRUE(binding->Bound()) << binding->UnboundReason();
  std::atomic<int> heard = 0;
  std::atomic<DWORD> thread = 0;
  binding->SetDeviceTreeListener([&] {
    thread = ::GetCurrentThreadId();
    ++heard;
  });
  const HWND window = DeviceChangeWindow();
  ASSERT_NE(window, nullptr);
  const DeviceChange cases[] = {
      {DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, true},
      {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, true},
      {DBT_DEVICEQUERYREMOVE, DBT_DEVTYP_DEVICEINTERFACE, false},
      {DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME, false},
  };
  int expected = 0;
  for (const auto &c : cases) {
    DEV_BROADCAST_DEVICEINTERFACE_A broadcast{};
    broadcast.dbcc_size = sizeof broadcast;
    broadcast.dbcc_devicetype = c.DeviceType;
    // Sent, not posted: it returns once the window's thread has handled it.
    ::SendMessageA(window, WM_DEVICECHANGE, c.Event, reinterpret_cast<LPARAM>(&broadcast));
    if (c.Heard) ++expected;
    EXPECT_EQ(heard, expected) << "event " << c.Event << ", device type " << c.DeviceType;
  }
  EXPECT_NE(thread, 0u);
  EXPECT_NE(thread, ::GetCurrentThreadId());
  binding.reset();
  EXPECT_EQ(DeviceChangeWindow(), nullptr); // gone with its binding, thread joined
}

} // namespace
