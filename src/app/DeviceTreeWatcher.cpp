#include "app/DeviceTreeWatcher.h"

#include "hid/HidBinding.h"

#include <QSocketNotifier>

namespace app {

DeviceTreeWatcher::DeviceTreeWatcher(hid::HidBinding &binding, QObject *parent)
    : QObject(parent), m_binding(binding) {
  const int fd = m_binding.DeviceTreeEventFd();
  if (fd < 0) return;
  m_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  connect(m_notifier.get(), &QSocketNotifier::activated, this,
          [this] { m_binding.DeviceTreeEventReady(); });
}

DeviceTreeWatcher::~DeviceTreeWatcher() = default;

} // namespace app
