#pragma once

// The file operations of the settings store, each safe against what a user's configuration
// folder may hold instead of a settings file: a FIFO, a device node or a link to one, a
// directory, a file of any size, a lock left behind.

#include "framework/files/RegularFile.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <sys/types.h>

namespace platform {

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
