#include "app/HistoryFile.h"

#include "framework/files/UniqueHandle.h"
#include "framework/files/WindowsPath.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace app {
namespace {

using framework::UniqueHandle;

// Backwards from the end in pieces of this size, looking for the last line end.
constexpr DWORD TailPiece = 4096;

int lastError() {
  const DWORD error = ::GetLastError();
  return error == 0 ? static_cast<int>(ERROR_GEN_FAILURE) : static_cast<int>(error);
}

std::optional<std::wstring> fileName(const std::string &path) {
  std::optional<std::wstring> wide = framework::ToWide(path);
  // Opening a device name may act on it; a pipe connects.
  if (wide && framework::NamesDevice(*wide)) return std::nullopt;
  return wide;
}

bool seek(HANDLE file, LONGLONG to) {
  LARGE_INTEGER distance{};
  distance.QuadPart = to;
  return ::SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != 0;
}

int readAt(HANDLE file, LONGLONG at, char *buffer, DWORD length) {
  if (!seek(file, at)) return lastError();
  DWORD read = 0;
  if (!::ReadFile(file, buffer, length, &read, nullptr)) return lastError();
  return read == length ? 0 : static_cast<int>(ERROR_HANDLE_EOF);
}

int wholeLines(HANDLE file, LONGLONG size, LONGLONG &whole) {
  std::vector<char> piece(TailPiece);
  LONGLONG end = size;
  while (end > 0) {
    const LONGLONG begin = std::max<LONGLONG>(0, end - TailPiece);
    const auto length = static_cast<DWORD>(end - begin);
    if (const int error = readAt(file, begin, piece.data(), length)) return error;
    for (DWORD i = length; i-- > 0;)
      if (piece[i] == '\n') {
        whole = begin + i + 1;
        return 0;
      }
    end = begin;
  }
  whole = 0;
  return 0;
}

int cutAt(HANDLE file, LONGLONG size) {
  if (!seek(file, size) || !::SetEndOfFile(file)) return lastError();
  return 0;
}

UniqueHandle openShared(const std::wstring &name, DWORD access, DWORD disposition) {
  // Others may read, write and rename it meanwhile, as a second instance does.
  return UniqueHandle(::CreateFileW(name.c_str(), access,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

struct HistoryLock::Handle {
  explicit Handle(UniqueHandle file) : File(std::move(file)) {}
  UniqueHandle File;
};

std::string StateFilePath(std::string_view name) {
  const wchar_t *local = ::_wgetenv(L"LOCALAPPDATA");
  if (local == nullptr || *local == 0) return {};
  return framework::FromWide(local) + "\\Quelvane\\" + std::string(name);
}

int MakeFolders(const std::string &path) {
  const std::optional<std::wstring> wide = framework::ToWide(path);
  if (!wide) return ERROR_INVALID_NAME;
  const DWORD attributes = ::GetFileAttributesW(wide->c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : ERROR_DIRECTORY;
  const std::size_t slash = path.find_last_of("\\/");
  // Down to a drive ("C:") or a share's root, which are there or not at all.
  if (slash != std::string::npos && slash > 2)
    if (const int error = MakeFolders(path.substr(0, slash))) return error;
  if (!::CreateDirectoryW(wide->c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
    return lastError();
  return 0;
}

HistoryLock::HistoryLock(std::unique_ptr<Handle> handle) : m_handle(std::move(handle)) {}
HistoryLock::~HistoryLock() = default;

std::unique_ptr<HistoryLock> HistoryLock::TryTake(const std::string &path, int &error) {
  error = 0;
  const std::optional<std::wstring> name = fileName(path);
  if (!name) {
    error = ERROR_INVALID_NAME;
    return nullptr;
  }
  UniqueHandle file = openShared(*name, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
  if (!file) {
    error = lastError();
    return nullptr;
  }
  OVERLAPPED whole{};
  if (!::LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                    MAXDWORD, &whole)) {
    const DWORD why = ::GetLastError();
    if (why != ERROR_LOCK_VIOLATION) error = static_cast<int>(why == 0 ? ERROR_GEN_FAILURE : why);
    return nullptr;
  }
  // Closing the handle releases the lock.
  return std::unique_ptr<HistoryLock>(new HistoryLock(std::make_unique<Handle>(std::move(file))));
}

int AppendLine(const std::string &path, std::string_view header, std::string_view line,
               std::uint64_t &size) {
  const std::optional<std::wstring> name = fileName(path);
  if (!name) return ERROR_INVALID_NAME;
  const UniqueHandle file = openShared(*name, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
  if (!file) return lastError();
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) return ERROR_INVALID_FUNCTION;
  LARGE_INTEGER length{};
  if (!::GetFileSizeEx(file.get(), &length)) return lastError();
  LONGLONG whole = length.QuadPart;
  if (const int error = wholeLines(file.get(), length.QuadPart, whole)) return error;
  if (whole != length.QuadPart)
    if (const int error = cutAt(file.get(), whole)) return error;
  const std::string bytes = (whole == 0 ? std::string(header) : std::string()) + std::string(line);
  DWORD written = 0;
  if (!seek(file.get(), whole) ||
      !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    const int error = lastError();
    // Nothing of a line that did not go whole stays behind.
    (void)cutAt(file.get(), whole);
    return error;
  }
  size = static_cast<std::uint64_t>(whole) + bytes.size();
  return 0;
}

int CutFile(const std::string &path, std::uint64_t size) {
  const std::optional<std::wstring> name = fileName(path);
  if (!name) return ERROR_INVALID_NAME;
  const UniqueHandle file = openShared(*name, GENERIC_WRITE, OPEN_EXISTING);
  if (!file) return lastError();
  return cutAt(file.get(), static_cast<LONGLONG>(size));
}

int MoveAside(const std::string &from, const std::string &to) {
  const std::optional<std::wstring> source = framework::ToWide(from);
  const std::optional<std::wstring> target = framework::ToWide(to);
  if (!source || !target) return ERROR_INVALID_NAME;
  // Without MOVEFILE_REPLACE_EXISTING nothing at `to` is replaced.
  if (!::MoveFileExW(source->c_str(), target->c_str(), MOVEFILE_WRITE_THROUGH)) return lastError();
  return 0;
}

} // namespace app
