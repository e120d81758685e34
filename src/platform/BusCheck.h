#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Qt connects to the session and system buses on the thread that first asks, and libdbus waits
// without limit for a bus that takes the connection but never answers: Qt's first user on the
// window's thread (the accessibility bridge at the first show, the tray icon, a notification,
// the wake-from-sleep watch) would hold the window for good. The check greets both buses on
// threads of its own while the program starts; a bus that has not answered by the end of the
// answer time is switched off for the process, so that Qt finds no bus there at once and the
// program goes without it (the tray icon's messages, an XEmbed icon, no wake watch).
class BusCheck {
public:
  static constexpr std::chrono::milliseconds AnswerTime{1000};

  virtual ~BusCheck() = default;
  // Starts greeting both buses; nothing to greet where the platform has no D-Bus.
  static std::unique_ptr<BusCheck> Start(std::chrono::milliseconds answerTime = AnswerTime);
  // Waits for the greetings, no longer than the answer time from the start, and switches off
  // every bus that was silent; returns their names ("session", "system"). Once only.
  virtual std::vector<std::string> Finish() = 0;
};

} // namespace platform
