#pragma once

// A bus that takes every connection and never answers (Linux): a socket that listens and never
// accepts, so the kernel completes the connections and nobody reads from them. libdbus waits for
// such a bus without limit.

#include <QByteArray>
#include <QString>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>

namespace testcommon {

class SilentBus {
public:
  // At the path `name`, or with `abstractName` under that name in the abstract namespace.
  explicit SilentBus(const QByteArray &name, bool abstractName = false)
      : m_address((abstractName ? "unix:abstract=" : "unix:path=") + QString::fromLocal8Bit(name)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstractName ? 1 : 0;
    const auto size = static_cast<std::size_t>(name.size());
    if (m_fd < 0 || size + offset >= sizeof address.sun_path) return;
    std::memcpy(address.sun_path + offset, name.constData(), size);
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + size);
    m_listening = ::bind(m_fd, reinterpret_cast<const sockaddr *>(&address), length) == 0 &&
                  ::listen(m_fd, 64) == 0;
  }
  ~SilentBus() {
    if (m_fd >= 0) ::close(m_fd);
  }
  SilentBus(const SilentBus &) = delete;
  SilentBus &operator=(const SilentBus &) = delete;

  bool Listening() const { return m_listening; }
  // Its D-Bus address, unescaped.
  QString Address() const { return m_address; }

private:
  QString m_address;
  int m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  bool m_listening = false;
};

} // namespace testcommon
