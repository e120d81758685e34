#include "framework/files/RegularFile.h"

#include "framework/files/BoundedRead.h"
#include "framework/files/UniqueFd.h"

#include <cerrno>
#include <cstdint>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace framework {
namespace {

FileStamp stampOf(const struct stat &st) {
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
          static_cast<std::uint64_t>(st.st_size),
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec};
}

} // namespace

std::optional<FileStamp> StampOf(const std::string &path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return stampOf(st);
}

FileContents ReadRegularFile(const std::string &path, std::size_t maxBytes) {
  using Status = FileContents::Status;
  FileContents result;
  // Looked at before opening: opening a FIFO waits for a writer, opening a device may act on it.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    result.Error = errno;
    result.State = errno == ENOENT || errno == ENOTDIR ? Status::Missing : Status::Unreadable;
    return result;
  }
  if (!S_ISREG(st.st_mode)) {
    result.State = Status::NotRegular;
    return result;
  }
  if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
    result.State = Status::TooLarge;
    return result;
  }
  // O_NONBLOCK in case it was swapped for a FIFO in between.
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd || ::fstat(fd.get(), &st) != 0) {
    result.Error = errno;
    result.State = errno == ENOENT ? Status::Missing : Status::Unreadable;
    return result;
  }
  if (!S_ISREG(st.st_mode)) {
    result.State = Status::NotRegular;
    return result;
  }
  std::string text;
  result.State = ReadBounded(static_cast<std::size_t>(st.st_size), maxBytes, text,
                             [&](char *into, std::size_t room) -> std::optional<std::size_t> {
                               for (;;) {
                                 const ssize_t got = ::read(fd.get(), into, room);
                                 if (got >= 0) return static_cast<std::size_t>(got);
                                 if (errno != EINTR) break;
                               }
                               result.Error = errno;
                               return std::nullopt;
                             });
  if (result.State != Status::Read) return result;
  result.Text = std::move(text);
  result.Stamp = stampOf(st);
  return result;
}

} // namespace framework
