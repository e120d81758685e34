#pragma once

// Reading a file the user names, safe against what may stand at its path instead: a FIFO, a
// device node or a link to one, a directory, a file of any size.

#include <cstddef>
#include <optional>
#include <string>

#include <sys/types.h>

namespace framework {

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
  int Error = 0; // the system's error number of a Missing or Unreadable file, 0 if it gave none
  std::string Text;
  std::optional<FileStamp> Stamp;
};

// Reads a regular file (links followed) of at most `maxBytes` without ever blocking on it.
FileContents ReadRegularFile(const std::string &path, std::size_t maxBytes);

} // namespace framework
