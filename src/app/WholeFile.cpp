#include "app/WholeFile.h"

#include "platform/settings/SettingsFile.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace app {

namespace {

// Past the file-size limit a write fails with EFBIG instead of the signal ending the program with
// the temporary file left behind.
class FileSizeSignalIgnored {
public:
  FileSizeSignalIgnored() {
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    m_saved = ::sigaction(SIGXFSZ, &ignore, &m_old) == 0;
  }
  ~FileSizeSignalIgnored() {
    if (m_saved) ::sigaction(SIGXFSZ, &m_old, nullptr);
  }
  FileSizeSignalIgnored(const FileSizeSignalIgnored &) = delete;
  FileSizeSignalIgnored &operator=(const FileSizeSignalIgnored &) = delete;

private:
  struct sigaction m_old = {};
  bool m_saved = false;
};

} // namespace

bool WriteWholeFile(const std::string &path, std::span<const std::uint8_t> bytes,
                    std::string &reason) {
  struct stat st {};
  const bool existed = ::stat(path.c_str(), &st) == 0;
  if (existed && !S_ISREG(st.st_mode)) {
    reason = "not a regular file";
    return false;
  }
  // The rename would replace a file that the user may not write; the shell's ">" refuses it, and
  // lets root through, as the effective-user access check does.
  if (existed && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
    reason = std::strerror(errno);
    return false;
  }
  const FileSizeSignalIgnored fileSizeSignal;
  errno = 0;
  const std::string_view text(reinterpret_cast<const char *>(bytes.data()), bytes.size());
  bool written = platform::ReplaceSettingsFile(path, text);
  // The replacement keeps an old file's permissions but makes a new one private; what is written
  // here is meant to be shared, so a new one gets what the user's mask allows.
  if (written && !existed) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    written = ::chmod(path.c_str(), 0666 & ~mask) == 0;
  }
  if (!written) reason = errno != 0 ? std::strerror(errno) : "cannot be written";
  return written;
}

} // namespace app
