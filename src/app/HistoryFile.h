#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace app {

// The battery history's folder and file calls, as the platform has them. Paths are UTF-8. Errors
// are the system's error numbers (errno, or GetLastError() on Windows); TraceFile::ErrorText says
// one in words.

// The file `name` in the program's folder among the user's state: $XDG_STATE_HOME/quelvane, else
// ~/.local/state/quelvane; %LOCALAPPDATA%\Quelvane on Windows. Empty when the user has none.
std::string StateFilePath(std::string_view name);

// Makes `path` and the folders above it that are missing; 0, or the error.
int MakeFolders(const std::string &path);

// An exclusive lock on the file `path` (made when missing), taken without waiting and held until
// the object goes. Only the other holders of the same file's lock are kept out.
class HistoryLock {
public:
  // None when another holds it (`error` 0) or the file cannot be opened or locked (`error` set).
  static std::unique_ptr<HistoryLock> TryTake(const std::string &path, int &error);
  ~HistoryLock();
  HistoryLock(const HistoryLock &) = delete;
  HistoryLock &operator=(const HistoryLock &) = delete;

  struct Handle; // the platform's

private:
  explicit HistoryLock(std::unique_ptr<Handle> handle);
  std::unique_ptr<Handle> m_handle;
};

// Appends `line` to the regular file `path`, made when missing, with `header` before it when the
// file is empty. A file that does not end in a line end (a writer died mid-line) is first cut
// back to its last one. A write that does not go whole is cut off again. `size` is the file's
// size afterwards. 0, or the error; refuses anything but a regular file.
int AppendLine(const std::string &path, std::string_view header, std::string_view line,
               std::uint64_t &size);

// Cuts the file `path` to `size` bytes; 0, or the error.
int CutFile(const std::string &path, std::uint64_t size);

// Renames `from` to `to` when nothing is at `to`; 0, or the error.
int MoveAside(const std::string &from, const std::string &to);

} // namespace app
