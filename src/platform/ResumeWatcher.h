#pragma once

#include <QDBusConnection>
#include <QObject>

#include <functional>

namespace platform {

// Reports the system's wake from sleep, as logind announces it on the system bus
// (PrepareForSleep(false)). Devices may have come and gone while the machine slept without any
// hotplug event reaching us.
class ResumeWatcher final : public QObject {
  Q_OBJECT
public:
  static constexpr const char *Service = "org.freedesktop.login1";
  static constexpr const char *Path = "/org/freedesktop/login1";
  static constexpr const char *Interface = "org.freedesktop.login1.Manager";

  ResumeWatcher(std::function<void()> resumed, QDBusConnection bus = QDBusConnection::systemBus(),
                QObject *parent = nullptr);
  ~ResumeWatcher() override;

  // False without a system bus (a container, a test machine): resumes then go unnoticed.
  bool Watching() const { return m_watching; }

private slots:
  void prepareForSleep(bool sleeping);

private:
  std::function<void()> m_resumed;
  QDBusConnection m_bus;
  bool m_watching = false;
};

} // namespace platform
