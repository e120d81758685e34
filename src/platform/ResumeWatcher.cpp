#include "platform/ResumeWatcher.h"
#include "platform/ResumeWatch.h"

namespace platform {

ResumeWatcher::ResumeWatcher(std::function<void()> resumed, QDBusConnection bus, QObject *parent)
    : QObject(parent), m_resumed(std::move(resumed)), m_bus(std::move(bus)) {
  m_watching = m_bus.isConnected() &&
               m_bus.connect(QLatin1String(Service), QLatin1String(Path), QLatin1String(Interface),
                             QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)));
}

ResumeWatcher::~ResumeWatcher() {
  if (m_watching)
    m_bus.disconnect(QLatin1String(Service), QLatin1String(Path), QLatin1String(Interface),
                     QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)));
}

void ResumeWatcher::prepareForSleep(bool sleeping) {
  if (!sleeping && m_resumed) m_resumed();
}

std::unique_ptr<QObject> WatchResume(std::function<void()> resumed) {
  return std::make_unique<ResumeWatcher>(std::move(resumed));
}

} // namespace platform
