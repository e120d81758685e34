#pragma once

#include "framework/Delegate.h"

#include <QObject>
#include <QTimer>

namespace framework {

// The framework timer: fires OnTimer every Interval milliseconds while Enabled. An interval of 0
// never fires, and a timer without a handler is not running. Any change of Enabled, Interval or
// OnTimer restarts the count.
class Timer : public QObject {
  Q_OBJECT
public:
  using Event = Delegate<void(Timer *)>;

  explicit Timer(QObject *owner = nullptr);

  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool value);
  int Interval() const { return m_interval; }
  void SetInterval(int value);
  const Event &OnTimer() const { return m_onTimer; }
  void SetOnTimer(Event handler);

  // True while a platform timer is counting.
  bool running() const { return m_timer.isActive(); }

  // Delivers one tick as the platform timer would; lets tests drive time.
  void tick();

private:
  void update();

  QTimer m_timer;
  bool m_enabled = true;
  int m_interval = 1000;
  Event m_onTimer;
};

} // namespace framework
