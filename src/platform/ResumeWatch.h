#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace platform {

// Calls `resumed` on the GUI thread whenever the system wakes from sleep: devices may have come
// and gone meanwhile without any hotplug event reaching us. The watch lasts as long as the object
// returned; where the system cannot tell (no system bus), it watches nothing.
std::unique_ptr<QObject> WatchResume(std::function<void()> resumed);

} // namespace platform
