#include "app/HistoryFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace app {
namespace {

// A file descriptor closed on destruction.
struct Fd {
  explicit Fd(int fd) : Value(fd) {}
  ~Fd() {
    if (Value >= 0) ::close(Value);
  }
  Fd(const Fd &) = delete;
  Fd &operator=(const Fd &) = delete;
  int Value;
};

bool isAbsolute(const char *path) {
  return path != nullptr && path[0] == '/';
}

// Backwards from the end in pieces of this size, looking for the last line end.
constexpr std::size_t TailPiece = 4096;

int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n > 0)
      bytes.remove_prefix(static_cast<std::size_t>(n));
    else if (n < 0 && errno == EINTR)
      continue;
    else
      return n < 0 ? errno : EIO;
  }
  return 0;
}

// The size the file has up to and with its last line end; `size` when it ends with one.
int wholeLines(int fd, off_t size, off_t &whole) {
  std::vector<char> piece(TailPiece);
  off_t end = size;
  while (end > 0) {
    const off_t begin = std::max<off_t>(0, end - static_cast<off_t>(TailPiece));
    const auto length = static_cast<std::size_t>(end - begin);
    ssize_t n;
    do
      n = ::pread(fd, piece.data(), length, begin);
    while (n < 0 && errno == EINTR);
    if (n < 0) return errno;
    if (static_cast<std::size_t>(n) != length) return EIO;
    for (std::size_t i = length; i-- > 0;)
      if (piece[i] == '\n') {
        whole = begin + static_cast<off_t>(i) + 1;
        return 0;
      }
    end = begin;
  }
  whole = 0;
  return 0;
}

} // namespace

struct HistoryLock::Handle {
  explicit Handle(int fd) : File(fd) {}
  Fd File;
};

std::string StateFilePath(std::string_view name) {
  if (const char *state = std::getenv("XDG_STATE_HOME"); isAbsolute(state))
    return std::string(state) + "/quelvane/" + std::string(name);
  if (const char *home = std::getenv("HOME"); isAbsolute(home))
    return std::string(home) + "/.local/state/quelvane/" + std::string(name);
  return {};
}

int MakeFolders(const std::string &path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
  const std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0)
    if (const int error = MakeFolders(path.substr(0, slash))) return error;
  // The history is the user's own: nobody else need read it.
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  return 0;
}

HistoryLock::HistoryLock(std::unique_ptr<Handle> handle) : m_handle(std::move(handle)) {}
HistoryLock::~HistoryLock() = default;

std::unique_ptr<HistoryLock> HistoryLock::TryTake(const std::string &path, int &error) {
  error = 0;
  auto handle = std::make_unique<Handle>(
      ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600));
  if (handle->File.Value < 0) {
    error = errno;
    return nullptr;
  }
  int locked;
  do
    locked = ::flock(handle->File.Value, LOCK_EX | LOCK_NB);
  while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    if (errno != EWOULDBLOCK) error = errno;
    return nullptr;
  }
  return std::unique_ptr<HistoryLock>(new HistoryLock(std::move(handle)));
}

int AppendLine(const std::string &path, std::string_view header, std::string_view line,
               std::uint64_t &size) {
  const Fd file(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600));
  if (file.Value < 0) return errno;
  struct stat st {};
  if (::fstat(file.Value, &st) != 0) return errno;
  if (!S_ISREG(st.st_mode)) return EINVAL;
  off_t whole = st.st_size;
  if (const int error = wholeLines(file.Value, st.st_size, whole)) return error;
  if (whole != st.st_size && ::ftruncate(file.Value, whole) != 0) return errno;
  if (::lseek(file.Value, whole, SEEK_SET) < 0) return errno;
  const std::string bytes = (whole == 0 ? std::string(header) : std::string()) + std::string(line);
  if (const int error = writeAll(file.Value, bytes)) {
    // Nothing of a line that did not go whole stays behind.
    (void)::ftruncate(file.Value, whole);
    return error;
  }
  size = static_cast<std::uint64_t>(whole) + bytes.size();
  return 0;
}

int CutFile(const std::string &path, std::uint64_t size) {
  int result;
  do
    result = ::truncate(path.c_str(), static_cast<off_t>(size));
  while (result != 0 && errno == EINTR);
  return result == 0 ? 0 : errno;
}

int MoveAside(const std::string &from, const std::string &to) {
  // A hard link fails when `to` exists, where a rename would replace it.
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  if (::unlink(from.c_str()) != 0) {
    const int error = errno;
    ::unlink(to.c_str());
    return error;
  }
  return 0;
}

} // namespace app
