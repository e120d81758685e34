#include "framework/files/RegularFile.h"

#include "framework/files/UniqueFd.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace framework {
namespace {

FileStamp stampOf(const struct stat &st) {
  return {st.st_dev, st.st_ino, st.st_size,
          static_cast<long long>(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec};
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
  // Room for the file as it is now and one byte more, which tells a file that grew; a growing
  // file gets more room up to one byte past the limit, never the whole limit up front.
  const std::size_t ceiling = maxBytes + 1;
  std::string text(std::min(ceiling, static_cast<std::size_t>(st.st_size) + 1), '\0');
  std::size_t filled = 0;
  for (;;) {
    if (filled == text.size()) {
      if (text.size() == ceiling) break;
      text.resize(std::min(ceiling, text.size() * 2));
    }
    const ssize_t got = ::read(fd.get(), text.data() + filled, text.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.Error = errno;
      result.State = Status::Unreadable;
      return result;
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  if (filled > maxBytes) {
    result.State = Status::TooLarge;
    return result;
  }
  text.resize(filled);
  result.State = Status::Read;
  result.Text = std::move(text);
  result.Stamp = stampOf(st);
  return result;
}

} // namespace framework
