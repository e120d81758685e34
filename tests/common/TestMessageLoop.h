#pragma once

#include "framework/MessageLoop.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <mutex>
#include <utility>
#include <vector>

// A message loop under the test's control: posted messages wait until the test runs them or the
// code under test pumps, pauses are only counted, and a hook can run inside each pump as a nested
// device change would. Posting is thread-safe (reader threads post); running is not.
class TestMessageLoop final : public framework::MessageLoop {
public:
  void post(std::function<void()> message) override {
    {
      const std::lock_guard lock(m_mutex);
      m_queue.push_back({m_nextSequence++, std::move(message)});
    }
    m_posted.notify_all();
  }

  // Like the real pump, runs everything queued, also what the messages post meanwhile.
  void processPendingMessages() override {
    ++Pumps;
    if (OnPump) OnPump(Pumps);
    while (RunNext(std::numeric_limits<std::uint64_t>::max())) {
    }
  }

  void sleep(std::chrono::milliseconds duration) override { Sleeps.push_back(duration); }

  // Runs the messages queued now, not those they post; answers how many ran here (a pump nested
  // in one of them may run some of the others first).
  std::size_t RunPending() {
    std::uint64_t end = 0;
    {
      const std::lock_guard lock(m_mutex);
      end = m_nextSequence;
    }
    std::size_t ran = 0;
    while (RunNext(end))
      ++ran;
    return ran;
  }

  // Runs messages until `done` holds or the timeout passes, waiting for posts in between.
  template <typename Predicate>
  bool RunUntil(Predicate done, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      if (RunPending() == 0) {
        std::unique_lock lock(m_mutex);
        m_posted.wait_for(lock, std::chrono::milliseconds(10), [&] { return !m_queue.empty(); });
      }
    }
    return true;
  }

  std::size_t Pending() const {
    const std::lock_guard lock(m_mutex);
    return m_queue.size();
  }

  int Pumps = 0;
  std::vector<std::chrono::milliseconds> Sleeps;
  std::function<void(int pump)> OnPump; // called with the pump's number, from 1

private:
  struct Message {
    std::uint64_t Sequence;
    std::function<void()> Run;
  };

  // Runs the oldest message if it was posted before `end`. Taken off the queue first, so a pump
  // nested in it sees only the others.
  bool RunNext(std::uint64_t end) {
    std::function<void()> run;
    {
      const std::lock_guard lock(m_mutex);
      if (m_queue.empty() || m_queue.front().Sequence >= end) return false;
      run = std::move(m_queue.front().Run);
      m_queue.pop_front();
    }
    run();
    return true;
  }

  mutable std::mutex m_mutex;
  std::condition_variable m_posted;
  std::deque<Message> m_queue;
  std::uint64_t m_nextSequence = 0;
};
