#include "framework/QtMessageLoop.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <chrono>
#include <thread>

namespace framework {

void QtMessageLoop::post(std::function<void()> message) {
  QCoreApplication *const app = QCoreApplication::instance();
  if (app == nullptr) return; // no loop any more: a message posted during shut-down is dropped
  QMetaObject::invokeMethod(app, std::move(message), Qt::QueuedConnection);
}

void QtMessageLoop::processPendingMessages() {
  QCoreApplication::processEvents();
}

void QtMessageLoop::sleep(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  while (m_pauseWork && std::chrono::steady_clock::now() < end) {
    // Held here while it runs: a step may set other work, which then takes its place.
    std::function<bool()> step = std::move(m_pauseWork);
    m_pauseWork = nullptr;
    if (step() && !m_pauseWork) m_pauseWork = std::move(step);
  }
  // Windows' sleeps may wake a fraction of a millisecond early.
  while (std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_until(end);
}

void QtMessageLoop::SetPauseWork(std::function<bool()> step) {
  m_pauseWork = std::move(step);
}

} // namespace framework
