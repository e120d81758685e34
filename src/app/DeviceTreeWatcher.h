#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace hid {
class HidBinding;
}

namespace app {

// Hands the binding's device-tree events to it on the GUI thread. Does nothing for a binding
// without an event descriptor (the simulated one notifies by itself).
class DeviceTreeWatcher final : public QObject {
  Q_OBJECT
public:
  explicit DeviceTreeWatcher(hid::HidBinding &binding, QObject *parent = nullptr);
  ~DeviceTreeWatcher() override;

  bool Watching() const { return m_notifier != nullptr; }

private:
  hid::HidBinding &m_binding;
  std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace app
