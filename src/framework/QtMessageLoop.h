#pragma once

#include "framework/MessageLoop.h"

namespace framework {

// Posted messages go through Qt's event queue of the application object, so they run from
// exec() or from QCoreApplication::processEvents() like any window message.
class QtMessageLoop final : public MessageLoop {
public:
  void post(std::function<void()> message) override;
  void processPendingMessages() override;
  void sleep(std::chrono::milliseconds duration) override;
  void SetPauseWork(std::function<bool()> step) override;

private:
  std::function<bool()> m_pauseWork;
};

} // namespace framework
