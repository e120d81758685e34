#include "platform/BusGreeting.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string_view>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// A socket closed when it goes.
class Socket {
public:
  explicit Socket(int fd) : m_fd(fd) {}
  ~Socket() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Socket(const Socket &) = delete;
  Socket &operator=(const Socket &) = delete;
  int Fd() const { return m_fd; }

private:
  int m_fd;
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A value of an address entry with its %xx escapes undone; nothing when one is malformed.
std::optional<std::string> Unescape(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '%') {
      out += value[i];
      continue;
    }
    if (i + 2 >= value.size()) return std::nullopt;
    const int high = HexDigit(value[i + 1]), low = HexDigit(value[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

// The socket address of a "unix:path=" or "unix:abstract=" entry; nothing for any other.
std::optional<sockaddr_un> UnixAddress(std::string_view entry, socklen_t &length) {
  constexpr std::string_view Unix = "unix:";
  if (!entry.starts_with(Unix)) return std::nullopt;
  entry.remove_prefix(Unix.size());
  while (!entry.empty()) {
    const std::size_t comma = entry.find(',');
    const std::string_view pair = entry.substr(0, comma);
    entry = comma == std::string_view::npos ? std::string_view() : entry.substr(comma + 1);
    const std::size_t equals = pair.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = pair.substr(0, equals);
    if (key != "path" && key != "abstract") continue;
    const std::optional<std::string> value = Unescape(pair.substr(equals + 1));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = key == "abstract" ? 1 : 0; // the abstract name after a NUL
    if (!value || value->empty() || value->size() + offset >= sizeof(address.sun_path))
      return std::nullopt;
    std::memcpy(address.sun_path + offset, value->data(), value->size());
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + value->size() +
                                    (offset ? 0 : 1));
    return address;
  }
  return std::nullopt;
}

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for `events` on `fd` until the deadline; false when it passed or the wait failed.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    pollfd one{fd, events, 0};
    const int ready = ::poll(&one, 1, MillisecondsLeft(deadline));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

BusGreeting Greet(const sockaddr_un &address, socklen_t length, Clock::time_point deadline) {
  const Socket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (socket.Fd() < 0) return BusGreeting::Unreachable;
  if (::connect(socket.Fd(), reinterpret_cast<const sockaddr *>(&address), length) != 0) {
    // A listener whose queue is full takes the connection later, as libdbus would wait for it.
    if (errno != EAGAIN && errno != EINPROGRESS && errno != EINTR) return BusGreeting::Unreachable;
    if (!WaitFor(socket.Fd(), POLLOUT, deadline)) return BusGreeting::Silent;
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(socket.Fd(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0)
      return BusGreeting::Unreachable;
  }
  // What a client sends first: a NUL, then the request to authenticate as the process's user
  // (the uid's decimal digits, hex-encoded). Any line back is an answer.
  std::string greeting(1, '\0');
  greeting += "AUTH EXTERNAL ";
  for (const char digit : std::to_string(::getuid())) {
    static constexpr char Hex[] = "0123456789abcdef";
    greeting += Hex[(digit >> 4) & 0xF];
    greeting += Hex[digit & 0xF];
  }
  greeting += "\r\n";
  std::size_t sent = 0;
  while (sent < greeting.size()) {
    const ssize_t n =
        ::send(socket.Fd(), greeting.data() + sent, greeting.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (!WaitFor(socket.Fd(), POLLOUT, deadline)) return BusGreeting::Silent;
    } else {
      return BusGreeting::Unreachable;
    }
  }
  for (;;) {
    if (!WaitFor(socket.Fd(), POLLIN, deadline)) return BusGreeting::Silent;
    char reply[256];
    const ssize_t n = ::recv(socket.Fd(), reply, sizeof reply, 0);
    if (n > 0) return BusGreeting::Answered;
    if (n == 0) return BusGreeting::Unreachable; // closed: libdbus fails at once too
    if (errno != EAGAIN && errno != EINTR) return BusGreeting::Unreachable;
  }
}

} // namespace

BusGreeting GreetBus(const std::string &addresses, Clock::time_point deadline) {
  std::string_view rest(addresses);
  while (!rest.empty()) {
    const std::size_t semicolon = rest.find(';');
    const std::string_view entry = rest.substr(0, semicolon);
    rest = semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
    if (entry.empty()) continue;
    socklen_t length = 0;
    const std::optional<sockaddr_un> address = UnixAddress(entry, length);
    if (!address) return BusGreeting::Unchecked;
    const BusGreeting greeting = Greet(*address, length, deadline);
    // libdbus goes on to the next entry only when this one cannot be connected to.
    if (greeting != BusGreeting::Unreachable) return greeting;
  }
  return BusGreeting::Unreachable;
}

} // namespace platform
