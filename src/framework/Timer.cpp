#include "framework/Timer.h"

namespace framework {

Timer::Timer(QObject *owner) : QObject(owner) {
  m_timer.setTimerType(Qt::CoarseTimer);
  connect(&m_timer, &QTimer::timeout, this, &Timer::tick);
}

void Timer::SetEnabled(bool value) {
  if (value == m_enabled) return;
  m_enabled = value;
  update();
}

void Timer::SetInterval(int value) {
  if (value == m_interval) return;
  m_interval = value;
  update();
}

void Timer::SetOnTimer(Event handler) {
  m_onTimer = std::move(handler);
  update();
}

void Timer::tick() {
  if (m_onTimer) m_onTimer(this);
}

void Timer::update() {
  m_timer.stop();
  if (m_enabled && m_interval > 0 && m_onTimer) m_timer.start(m_interval);
}

} // namespace framework
