#pragma once

#include <cstdint>

namespace receiver {

enum class NotificationKind : std::uint8_t { BatteryLow, MouseBound };

struct Notification {
  NotificationKind Kind = NotificationKind::BatteryLow;
  // The battery percentage the window shows; 0 for a bound mouse.
  int Percent = 0;

  bool operator==(const Notification &) const = default;
};

// Where notifications go: the desktop, in the window's language.
class NotificationPort {
public:
  virtual ~NotificationPort() = default;
  virtual void Notify(const Notification &notification) = 0;
};

// Decides when the user is told. A low battery is told once per drop: the level must climb back
// to RearmLevel before another drop counts, so a level wavering between 1 and 2 stays quiet.
// The first reading after start counts as a drop when it is already low.
class NotificationPolicy {
public:
  static constexpr int LowLevel = 1;
  static constexpr int RearmLevel = 3;

  explicit NotificationPolicy(NotificationPort &port) : m_port(port) {}

  // Every battery level the window shows, with its percentage.
  void BatteryRead(int level, int percent);
  // Pairing has ended with a new mouse bound to the receiver.
  void MouseBound();

private:
  NotificationPort &m_port;
  bool m_armed = true;
};

} // namespace receiver
