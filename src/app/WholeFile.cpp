#include "app/WholeFile.h"

#include "platform/settings/SettingsFile.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include <sys/stat.h>

namespace app {

bool WriteWholeFile(const std::string &path, std::span<const std::uint8_t> bytes,
                    std::string &reason) {
  struct stat st {};
  const bool existed = ::stat(path.c_str(), &st) == 0;
  if (existed && !S_ISREG(st.st_mode)) {
    reason = "not a regular file";
    return false;
  }
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
