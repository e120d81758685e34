#pragma once

#include <utility>

#include <unistd.h>

namespace framework {

// A file descriptor closed on destruction.
class UniqueFd {
public:
  explicit UniqueFd(int fd = -1) : m_fd(fd) {}
  ~UniqueFd() {
    if (m_fd >= 0) ::close(m_fd);
  }
  UniqueFd(const UniqueFd &) = delete;
  UniqueFd &operator=(const UniqueFd &) = delete;

  int get() const { return m_fd; }
  int release() { return std::exchange(m_fd, -1); }
  explicit operator bool() const { return m_fd >= 0; }
  // A close that fails may have lost written data.
  bool close() { return ::close(release()) == 0; }

private:
  int m_fd;
};

} // namespace framework
