#include "framework/files/RegularFile.h"

#include "framework/files/BoundedRead.h"
#include "framework/files/UniqueHandle.h"
#include "framework/files/WindowsPath.h"

#include <cerrno>
#include <cstdint>

namespace framework {
namespace {

using Status = FileContents::Status;

// ReadFile takes a 32-bit count.
constexpr std::size_t MaxReadChunk = std::size_t{1} << 30;
// FILETIME counts 100 ns steps.
constexpr std::int64_t NsPerFileTimeStep = 100;

constexpr DWORD NotAFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;

std::uint64_t joined(DWORD high, DWORD low) {
  return (std::uint64_t{high} << 32) | low;
}

FileStamp stampOf(const BY_HANDLE_FILE_INFORMATION &info) {
  return {info.dwVolumeSerialNumber, joined(info.nFileIndexHigh, info.nFileIndexLow),
          joined(info.nFileSizeHigh, info.nFileSizeLow),
          static_cast<std::int64_t>(
              joined(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)) *
              NsPerFileTimeStep};
}

// Callers print the error with strerror, so it is told as the nearest errno value.
int errnoOf(DWORD error) {
  switch (error) {
  case ERROR_FILE_NOT_FOUND:
  case ERROR_PATH_NOT_FOUND:
  case ERROR_INVALID_DRIVE:
  case ERROR_BAD_NETPATH:
  case ERROR_BAD_NET_NAME:
    return ENOENT;
  case ERROR_ACCESS_DENIED:
  case ERROR_SHARING_VIOLATION:
  case ERROR_LOCK_VIOLATION:
    return EACCES;
  case ERROR_INVALID_NAME:
    return EINVAL;
  case ERROR_FILENAME_EXCED_RANGE:
    return ENAMETOOLONG;
  case ERROR_NOT_ENOUGH_MEMORY:
  case ERROR_OUTOFMEMORY:
    return ENOMEM;
  default:
    return EIO;
  }
}

void fail(FileContents &result, DWORD error) {
  result.Error = errnoOf(error);
  result.State = result.Error == ENOENT ? Status::Missing : Status::Unreadable;
}

// Shared with writers and deleters: reading never locks another program out of the file.
// SECURITY_IDENTIFICATION keeps a pipe server that a link leads to from acting as us.
UniqueHandle openShared(const std::wstring &path, DWORD access, DWORD flags) {
  return UniqueHandle(::CreateFileW(
      path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, flags | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
}

// A regular file on a disk: what a link or a swap in between may have turned into something else.
bool isRegular(HANDLE file, BY_HANDLE_FILE_INFORMATION &info, DWORD &error) {
  if (::GetFileType(file) != FILE_TYPE_DISK) return false;
  if (!::GetFileInformationByHandle(file, &info)) {
    error = ::GetLastError();
    return false;
  }
  return (info.dwFileAttributes & NotAFileAttributes) == 0;
}

} // namespace

std::optional<FileStamp> StampOf(const std::string &path) {
  const std::optional<std::wstring> wide = ToWide(path);
  if (!wide || NamesDevice(*wide)) return std::nullopt;
  // No data access, and folders too (backup semantics), as stat() reads any file's stamp.
  const UniqueHandle file = openShared(*wide, FILE_READ_ATTRIBUTES, FILE_FLAG_BACKUP_SEMANTICS);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || ::GetFileType(file.get()) != FILE_TYPE_DISK ||
      !::GetFileInformationByHandle(file.get(), &info))
    return std::nullopt;
  return stampOf(info);
}

FileContents ReadRegularFile(const std::string &path, std::size_t maxBytes) {
  FileContents result;
  const std::optional<std::wstring> wide = ToWide(path);
  if (!wide) {
    result.Error = EINVAL;
    result.State = Status::Unreadable;
    return result;
  }
  // Looked at before opening: opening a device may act on it, opening a pipe connects to it.
  if (NamesDevice(*wide)) {
    result.State = Status::NotRegular;
    return result;
  }
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!::GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &attributes)) {
    fail(result, ::GetLastError());
    return result;
  }
  if (attributes.dwFileAttributes & NotAFileAttributes) {
    result.State = Status::NotRegular;
    return result;
  }
  const UniqueHandle file = openShared(*wide, GENERIC_READ, FILE_FLAG_SEQUENTIAL_SCAN);
  if (!file) {
    fail(result, ::GetLastError());
    return result;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  DWORD error = ERROR_SUCCESS;
  if (!isRegular(file.get(), info, error)) {
    if (error != ERROR_SUCCESS)
      fail(result, error);
    else
      result.State = Status::NotRegular;
    return result;
  }
  const std::uint64_t size = joined(info.nFileSizeHigh, info.nFileSizeLow);
  if (size > maxBytes) {
    result.State = Status::TooLarge;
    return result;
  }
  std::string text;
  result.State =
      ReadBounded(static_cast<std::size_t>(size), maxBytes, text,
                  [&](char *into, std::size_t room) -> std::optional<std::size_t> {
                    DWORD got = 0;
                    if (::ReadFile(file.get(), into,
                                   static_cast<DWORD>(std::min(room, MaxReadChunk)), &got, nullptr))
                      return got;
                    result.Error = errnoOf(::GetLastError());
                    return std::nullopt;
                  });
  if (result.State != Status::Read) return result;
  result.Text = std::move(text);
  result.Stamp = stampOf(info);
  return result;
}

} // namespace framework
