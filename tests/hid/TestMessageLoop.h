#pragma once

#include "framework/MessageLoop.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Posted messages wait until the test runs them. Posting is thread-safe (reader threads post).
class TestMessageLoop final : public framework::MessageLoop {
public:
  void post(std::function<void()> message) override {
    {
      const std::lock_guard lock(m_mutex);
      m_queue.push_back(std::move(message));
    }
    m_posted.notify_all();
  }

  void processPendingMessages() override {
    ++m_pumps;
    RunPending();
  }

  void sleep(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }

  // Runs the messages queued now (not those they post); answers how many ran.
  std::size_t RunPending() {
    std::deque<std::function<void()>> batch;
    {
      const std::lock_guard lock(m_mutex);
      batch.swap(m_queue);
    }
    for (auto &message : batch)
      message();
    return batch.size();
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
  int Pumps() const { return m_pumps; }

private:
  mutable std::mutex m_mutex;
  std::condition_variable m_posted;
  std::deque<std::function<void()>> m_queue;
  int m_pumps = 0;
};
