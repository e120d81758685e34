#include "platform/settings/SettingsFile.h"

#include "framework/files/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

using framework::UniqueFd;

// A temporary file that is removed unless it was renamed into place.
class TemporaryFile {
public:
  explicit TemporaryFile(std::string path) : m_path(std::move(path)) {}
  ~TemporaryFile() {
    if (!m_path.empty()) ::unlink(m_path.c_str());
  }
  TemporaryFile(const TemporaryFile &) = delete;
  TemporaryFile &operator=(const TemporaryFile &) = delete;

  const std::string &path() const { return m_path; }
  void keep() { m_path.clear(); }

private:
  std::string m_path;
};

bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string folderOf(const std::string &path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The folder's entry for a renamed file reaches the disk only with the folder's own sync.
bool syncFolder(const std::string &folder) {
  UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd && ::fsync(fd.get()) == 0 && fd.close();
}

} // namespace

bool ReplaceSettingsFile(const std::string &path, std::string_view text) {
  std::string target = path;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    // The link stays; what it points to is replaced, as long as that is a regular file.
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    if (!resolved) return false;
    target = resolved.get();
  }
  mode_t mode = S_IRUSR | S_IWUSR;
  if (::lstat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return false;
    mode = st.st_mode & 07777;
  } else if (errno != ENOENT) {
    return false;
  }

  std::string pattern = target + ".XXXXXX";
  UniqueFd fd(::mkostemp(pattern.data(), O_CLOEXEC));
  if (!fd) return false;
  TemporaryFile temporary(pattern);
  if (::fchmod(fd.get(), mode) != 0 || !writeAll(fd.get(), text) || ::fsync(fd.get()) != 0 ||
      !fd.close())
    return false;
  if (::rename(temporary.path().c_str(), target.c_str()) != 0) return false;
  temporary.keep();
  return syncFolder(folderOf(target));
}

bool MakeParentFolders(const std::string &path) {
  const std::string folder = folderOf(path);
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), S_IRWXU) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::unique_ptr<SettingsLock> SettingsLock::TryTake(const std::string &lockPath) {
  // A directory, FIFO or device by that name is not ours to open, remove or wait for.
  struct stat st {};
  if (::lstat(lockPath.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return nullptr;
  UniqueFd fd(::open(lockPath.c_str(),
                     O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                     S_IRUSR | S_IWUSR));
  if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  int locked = -1;
  do {
    locked = ::flock(fd.get(), LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) return nullptr;
  return std::unique_ptr<SettingsLock>(new SettingsLock(fd.release(), lockPath));
}

SettingsLock::~SettingsLock() {
  // Removed so that no file is left behind. Another instance that opened it just before may then
  // take the lock on the removed file while a third makes a new one: both save whole files by
  // rename, so the later save wins and nothing is torn.
  struct stat mine {
  }, named{};
  if (::fstat(m_fd, &mine) == 0 && ::lstat(m_path.c_str(), &named) == 0 &&
      mine.st_dev == named.st_dev && mine.st_ino == named.st_ino)
    ::unlink(m_path.c_str());
  ::close(m_fd);
}

} // namespace platform
