#include "framework/QtMessageLoop.h"

#include <QCoreApplication>
#include <QMetaObject>
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
  std::this_thread::sleep_for(duration);
}

} // namespace framework
