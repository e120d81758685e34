#include "app/WholeFile.h"

#include "framework/files/UniqueHandle.h"
#include "framework/files/WindowsPath.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace app {
namespace {

using framework::UniqueHandle;

// Names for the temporary file tried before giving up; another writer may hold one.
constexpr int TemporaryNameTries = 16;
// WriteFile takes a 32-bit count.
constexpr std::size_t MaxWriteChunk = std::size_t{1} << 30;

bool writeAll(HANDLE file, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min(bytes.size(), MaxWriteChunk));
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes = bytes.subspan(written);
  }
  return true;
}

// A new file beside `path`, made here and nowhere else (CREATE_NEW), with its name.
std::optional<std::pair<UniqueHandle, std::wstring>> createBeside(const std::wstring &path,
                                                                  DWORD &error) {
  const std::wstring stem = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L".";
  for (int attempt = 0; attempt < TemporaryNameTries; ++attempt) {
    std::wstring name = stem + std::to_wstring(::GetTickCount64() + attempt) + L".tmp";
    UniqueHandle file(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return std::pair{std::move(file), std::move(name)};
    error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

} // namespace

bool WriteWholeFile(const std::string &path, std::span<const std::uint8_t> bytes,
                    std::string &reason) {
  const std::optional<std::wstring> wide = framework::ToWide(path);
  if (!wide) {
    reason = "not a valid file name";
    return false;
  }
  // Looked at before anything is opened: opening a device may act on it, a pipe connects.
  if (framework::NamesDevice(*wide)) {
    reason = "not a regular file";
    return false;
  }
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (::GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &attributes)) {
    if (attributes.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
      reason = "not a regular file";
      return false;
    }
    // Replacing would go past the protection the user set.
    if (attributes.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
      reason = "the file is read-only";
      return false;
    }
  } else if (const DWORD error = ::GetLastError();
             error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
    reason = framework::SystemErrorText(error);
    return false;
  }
  DWORD error = ERROR_SUCCESS;
  auto temporary = createBeside(*wide, error);
  if (!temporary) {
    reason = framework::SystemErrorText(error);
    return false;
  }
  auto &[file, name] = *temporary;
  const bool written = writeAll(file.get(), bytes) && ::FlushFileBuffers(file.get());
  error = ::GetLastError();
  const bool closed = file.close();
  if (written && !closed) error = ::GetLastError();
  if (written && closed &&
      ::MoveFileExW(name.c_str(), wide->c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  if (written && closed) error = ::GetLastError();
  ::DeleteFileW(name.c_str());
  reason = framework::SystemErrorText(error);
  return false;
}

} // namespace app
