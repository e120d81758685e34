#pragma once

#include <chrono>
#include <string>

namespace platform {

// What greeting a D-Bus bus at its address gave.
enum class BusGreeting {
  Answered,    // the bus took the connection and answered the greeting
  Silent,      // it took the connection and did not answer in time
  Unreachable, // nothing took the connection, or it was closed at once
  Unchecked,   // an address of a kind not greeted here (tcp, autolaunch ...)
};

// Greets the bus at `addresses` (D-Bus address entries separated by ';', tried in order as
// libdbus does) with the first line of its authentication, waiting no longer than `deadline`.
// Only the address kinds a local bus uses (unix:path=, unix:abstract=) are greeted.
BusGreeting GreetBus(const std::string &addresses, std::chrono::steady_clock::time_point deadline);

} // namespace platform
