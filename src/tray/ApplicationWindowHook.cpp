#include "tray/ApplicationWindowHook.h"

#include <QEvent>
#include <QMetaObject>
#include <QWindowStateChangeEvent>

namespace tray {

ApplicationWindowHook::ApplicationWindowHook(QWidget *window, Sink sink)
    : m_window(window), m_sink(std::move(sink)) {
  if (m_window) m_window->installEventFilter(this);
}

ApplicationWindowHook::~ApplicationWindowHook() {
  if (m_window) m_window->removeEventFilter(this);
}

bool ApplicationWindowHook::eventFilter(QObject *watched, QEvent *event) {
  if (watched != m_window || !m_sink) return false;
  switch (event->type()) {
  case QEvent::WindowStateChange: {
    const auto *change = static_cast<QWindowStateChangeEvent *>(event);
    const bool wasMinimized = change->oldState().testFlag(Qt::WindowMinimized);
    if (!wasMinimized && m_window->windowState().testFlag(Qt::WindowMinimized)) {
      // Reported once the change has settled: showMinimized() shows the window again right
      // after the state change, which would undo any hiding done here.
      QMetaObject::invokeMethod(
          this,
          [this] {
            if (m_window && m_sink && m_window->windowState().testFlag(Qt::WindowMinimized))
              m_sink(WindowMessage::Minimized);
          },
          Qt::QueuedConnection);
    }
    break;
  }
  case QEvent::Show:
    if (!event->spontaneous()) m_sink(WindowMessage::ShownByCall);
    break;
  case QEvent::WindowActivate:
    m_sink(WindowMessage::Activated);
    break;
  default:
    break;
  }
  // The window always handles its events itself afterwards.
  return false;
}

} // namespace tray
