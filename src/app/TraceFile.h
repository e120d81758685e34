#pragma once

#include <QString>

#include <memory>
#include <string_view>

namespace app {

// The file a trace is written to, as the platform has it: a file, a pipe or a device. Errors are
// the system's error numbers (errno, or GetLastError() on Windows); ErrorText says one in words.
class TraceFile {
public:
  enum class Refusal {
    None,
    Failed,   // the system's error number tells why
    NoReader, // a pipe nothing reads: writing would wait for ever
    IsInput,  // the file the program reads, also through a link
  };

  // Opened for writing, without waiting on a pipe that has no reader and without truncating it
  // before it is known not to be `input` (empty for none). A regular file is then emptied.
  static std::unique_ptr<TraceFile> Open(const QString &path, const QString &input,
                                         Refusal &refusal, int &error);
  ~TraceFile();
  TraceFile(const TraceFile &) = delete;
  TraceFile &operator=(const TraceFile &) = delete;

  // A regular file, whose torn last line can be cut off again.
  bool Regular() const { return m_regular; }
  // Writes all of `bytes`, waiting for a slow reader; 0, or the error number.
  int WriteAll(std::string_view bytes);
  // Cuts a regular file to `size` bytes; 0, or the error number.
  int CutTo(long long size);
  // Closes the file (some file systems report a failed write only here); 0, or the error number.
  int Close();

  static QString ErrorText(int error);

  struct Handle; // the platform's

private:
  TraceFile(std::unique_ptr<Handle> handle, bool regular);
  std::unique_ptr<Handle> m_handle;
  const bool m_regular;
};

} // namespace app
