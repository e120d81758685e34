#include "platform/BusCheck.h"

namespace platform {

namespace {

// Windows has no D-Bus: the tray and the notifications are the shell's.
class NoBuses final : public BusCheck {
public:
  std::vector<std::string> Finish() override { return {}; }
};

} // namespace

std::unique_ptr<BusCheck> BusCheck::Start(std::chrono::milliseconds) {
  return std::make_unique<NoBuses>();
}

} // namespace platform
