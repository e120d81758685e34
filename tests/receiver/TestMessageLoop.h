#pragma once

#include "framework/MessageLoop.h"

#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace receiver::test {

// A message loop under the test's control: posted messages wait until a pump, pauses are only
// counted, and a hook can run inside each pump as a nested device change would.
class TestMessageLoop final : public framework::MessageLoop {
public:
  void post(std::function<void()> message) override { m_queue.push_back(std::move(message)); }

  void processPendingMessages() override {
    ++Pumps;
    if (OnPump) OnPump(Pumps);
    while (!m_queue.empty()) {
      auto message = std::move(m_queue.front());
      m_queue.pop_front();
      message();
    }
  }

  void sleep(std::chrono::milliseconds duration) override { Sleeps.push_back(duration); }

  int Pumps = 0;
  std::vector<std::chrono::milliseconds> Sleeps;
  std::function<void(int pump)> OnPump; // called with the pump's number, from 1

private:
  std::deque<std::function<void()>> m_queue;
};

} // namespace receiver::test
