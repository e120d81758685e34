#pragma once

// The file operations of the settings store, each safe against what a user's configuration
// folder may hold instead of a settings file: a FIFO, a device node or a link to one, a
// directory, a file of any size, a lock left behind.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <sys/types.h>

namespace platform {

// Tells one version of a file from another.
struct FileStamp {
  dev_t Device = 0;
  ino_t Inode = 0;
  off_t Size = 0;
  long long ModifiedNs = 0;

  bool operator==(const FileStamp &) const = default;
};

// The stamp of the file a path names (links followed); none when it does not exist.
std::optional<FileStamp> StampOf(const std::string &path);

struct FileContents {
  enum class Status {
    Missing,    // nothing at the path
    Read,       // Text holds the whole file
    NotRegular, // a FIFO, a device, a directory…: never opened
    TooLarge,   // more than the limit: never read
    Unreadable, // refused or failed
  };
  Status State = Status::Missing;
  std::string Text;
  std::optional<FileStamp> Stamp;
};

// Reads a regular file (links followed) of at most `maxBytes` without ever blocking on it.
FileContents ReadSettingsFile(const std::string &path, std::size_t maxBytes);

// Replaces the regular file at `path` (through links, which stay) by `text`: a temporary file
// beside it, synced and renamed over it, so that a reader sees the old or the new text, never a
// part. Creates the file when there is none. False, with nothing changed, when the path names
// anything but a regular file or a link to one, or when a step fails.
bool ReplaceSettingsFile(const std::string &path, std::string_view text);

// Creates the folders of `path` that are missing. False when one cannot be made.
bool MakeParentFolders(const std::string &path);

// A lock on a settings file held for one read-modify-write, taken without waiting. Its file
// carries a lock the system drops when its holder dies, so a lock left behind by a crash is
// taken at once.
class SettingsLock {
public:
  // None when another process holds it or `lockPath` is not a regular file we may create or open.
  static std::unique_ptr<SettingsLock> TryTake(const std::string &lockPath);
  ~SettingsLock();
  SettingsLock(const SettingsLock &) = delete;
  SettingsLock &operator=(const SettingsLock &) = delete;

private:
  SettingsLock(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
  int m_fd;
  std::string m_path;
};

} // namespace platform
