#include "app/QuitEventLoop.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

#include <memory>

namespace app {

namespace {

bool LoopRuns() {
  return QThread::currentThread()->loopLevel() > 0;
}

} // namespace

void QuitEventLoop() {
  if (LoopRuns()) {
    QCoreApplication::quit();
    return;
  }
  QAbstractEventDispatcher *const dispatcher = QAbstractEventDispatcher::instance();
  if (dispatcher == nullptr) return;
  // A loop waits for its first events at once; a wait outside a loop is start-up's own.
  const auto held = std::make_shared<QMetaObject::Connection>();
  *held = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, [held] {
    if (!LoopRuns()) return;
    QObject::disconnect(*held);
    QCoreApplication::quit();
  });
}

} // namespace app
