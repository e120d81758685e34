#include "platform/BusCheck.h"

#include "platform/BusGreeting.h"

#include <QByteArray>
#include <QtGlobal>

#include <array>
#include <thread>

namespace platform {

namespace {

struct Bus {
  const char *Name;
  const char *Variable;
  // Where libdbus looks without the variable.
  QByteArray Default;
};

// An address kind libdbus refuses at once, so that every connection to the bus fails there.
constexpr const char *SwitchedOff = "disabled:";

class GreetingThreads final : public BusCheck {
public:
  explicit GreetingThreads(std::chrono::milliseconds answerTime) {
    const auto deadline = std::chrono::steady_clock::now() + answerTime;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    m_buses[0] = {"session", "DBUS_SESSION_BUS_ADDRESS",
                  runtime.isEmpty() ? QByteArray() : "unix:path=" + runtime + "/bus"};
    m_buses[1] = {"system", "DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/var/run/dbus/system_bus_socket"};
    for (std::size_t i = 0; i < m_buses.size(); ++i) {
      const QByteArray set = qgetenv(m_buses[i].Variable);
      const std::string address = (set.isEmpty() ? m_buses[i].Default : set).toStdString();
      m_threads[i] = std::thread(
          [this, i, address, deadline] { m_greetings[i] = GreetBus(address, deadline); });
    }
  }
  ~GreetingThreads() override { Join(); }

  std::vector<std::string> Finish() override {
    Join();
    std::vector<std::string> silent;
    for (std::size_t i = 0; i < m_buses.size(); ++i) {
      if (m_greetings[i] != BusGreeting::Silent) continue;
      // Before the application object: nothing in Qt has read the variable yet.
      qputenv(m_buses[i].Variable, SwitchedOff);
      silent.push_back(m_buses[i].Name);
    }
    return silent;
  }

private:
  void Join() {
    // Each greeting ends by the deadline.
    for (std::thread &thread : m_threads)
      if (thread.joinable()) thread.join();
  }

  std::array<Bus, 2> m_buses;
  std::array<BusGreeting, 2> m_greetings{BusGreeting::Unchecked, BusGreeting::Unchecked};
  std::array<std::thread, 2> m_threads;
};

} // namespace

std::unique_ptr<BusCheck> BusCheck::Start(std::chrono::milliseconds answerTime) {
  return std::make_unique<GreetingThreads>(answerTime);
}

} // namespace platform
