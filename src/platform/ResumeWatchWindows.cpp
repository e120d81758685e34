#include "platform/ResumeWatch.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

namespace platform {
namespace {

// Every top-level window is told of power events; Qt's own windows are enough to listen with.
class ResumeFilter final : public QObject, public QAbstractNativeEventFilter {
public:
  explicit ResumeFilter(std::function<void()> resumed) : m_resumed(std::move(resumed)) {
    if (QCoreApplication *const application = QCoreApplication::instance())
      application->installNativeEventFilter(this);
  }
  ~ResumeFilter() override {
    if (QCoreApplication *const application = QCoreApplication::instance())
      application->removeNativeEventFilter(this);
  }
  ResumeFilter(const ResumeFilter &) = delete;
  ResumeFilter &operator=(const ResumeFilter &) = delete;

  bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override {
    const MSG *const msg = static_cast<const MSG *>(message);
    // Sent to each top-level window: the first one's answer is enough.
    if (msg->message == WM_POWERBROADCAST && msg->wParam == PBT_APMRESUMEAUTOMATIC &&
        msg->time != m_lastTime) {
      m_lastTime = msg->time;
      if (m_resumed) m_resumed();
    }
    return false;
  }

private:
  std::function<void()> m_resumed;
  DWORD m_lastTime = 0;
};

} // namespace

std::unique_ptr<QObject> WatchResume(std::function<void()> resumed) {
  return std::make_unique<ResumeFilter>(std::move(resumed));
}

} // namespace platform
