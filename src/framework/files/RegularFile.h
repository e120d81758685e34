#pragma once

// Reading a file the user names, safe against what may stand at its path instead: a FIFO, a
// device node or a link to one, a directory, a file of any size. On Windows also a device name
// ("NUL", "COM1", dir\aux.txt) or a named pipe (\\.\pipe\x). Paths are UTF-8.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace framework {

// Tells one version of a file from another. Device and File are st_dev and st_ino on Linux, the
// volume serial number and the file index on Windows; ModifiedNs counts from the platform's epoch.
struct FileStamp {
  std::uint64_t Device = 0;
  std::uint64_t File = 0;
  std::uint64_t Size = 0;
  std::int64_t ModifiedNs = 0;

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
  // The errno value of a Missing or Unreadable file (on Windows the nearest one to the system's
  // error code), 0 if the system gave none.
  int Error = 0;
  std::string Text;
  std::optional<FileStamp> Stamp;
};

// Reads a regular file (links followed) of at most `maxBytes` without ever blocking on it.
FileContents ReadRegularFile(const std::string &path, std::size_t maxBytes);

} // namespace framework
