#include "receiver/Notifications.h"

namespace receiver {

void NotificationPolicy::BatteryRead(int level, int percent) {
  if (level >= RearmLevel) {
    m_armed = true;
  } else if (level <= LowLevel && m_armed) {
    m_armed = false;
    m_port.Notify({NotificationKind::BatteryLow, percent});
  }
}

void NotificationPolicy::MouseBound() {
  m_port.Notify({NotificationKind::MouseBound, 0});
}

} // namespace receiver
