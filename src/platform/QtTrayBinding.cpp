#include "platform/QtTrayBinding.h"

#include "platform/HostMenuRequests.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>
#include <QPointer>
#include <QStyleHints>

namespace platform {

QtTrayBinding::QtTrayBinding(QObject *parent) : QObject(parent) {
  connect(&m_icon, &QSystemTrayIcon::activated, this, &QtTrayBinding::activated);
  m_statusNotifierItem = HostDrawsTheMenu(m_icon, m_hostMenu);
}

void QtTrayBinding::apply(const QIcon &icon, const QString &tip) {
  if (icon.isNull()) {
    // An empty picture would leave nothing to click, and the window may be hidden behind it.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    m_icon.setIcon(QIcon(blank));
  } else {
    m_icon.setIcon(icon);
  }
  m_icon.setToolTip(tip);
}

bool QtTrayBinding::add(const QIcon &icon, const QString &tip) {
  if (m_present) return false;
  // Without a StatusNotifierItem only an X11 tray could take the icon, and Qt's choice is made
  // for good: on Wayland no tray can ever show it, and Qt would only warn about that.
  if (!m_statusNotifierItem && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
    return false;
  apply(icon, tip);
  m_icon.show();
  m_present = true;
  // Qt registers its item at the first show; the adaptor stays through a later hide and show.
  if (m_statusNotifierItem && !m_hostMenuAdaptor)
    m_hostMenuAdaptor =
        TakeOverHostMenuRequests(m_hostMenu, [this](QPoint at) { m_requestedAt = at; });
  return true;
}

bool QtTrayBinding::modify(const QIcon &icon, const QString &tip) {
  if (!m_present) return false;
  apply(icon, tip);
  return true;
}

bool QtTrayBinding::remove() {
  if (!m_present) return false;
  m_icon.hide();
  m_present = false;
  return true;
}

std::optional<QPoint> QtTrayBinding::cursorPosition() const {
  return m_deliveringAt ? m_deliveringAt : QCursor::pos();
}

bool QtTrayBinding::available() const {
  return QSystemTrayIcon::isSystemTrayAvailable();
}

std::vector<TrayMouseMessage> QtTrayBinding::messagesFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
  case QSystemTrayIcon::Trigger:
    return {TrayMouseMessage::LeftButtonDown, TrayMouseMessage::LeftButtonUp};
  case QSystemTrayIcon::DoubleClick:
    return {TrayMouseMessage::LeftButtonDblClk, TrayMouseMessage::LeftButtonUp};
  case QSystemTrayIcon::Context:
    return {TrayMouseMessage::RightButtonDown, TrayMouseMessage::RightButtonUp};
  case QSystemTrayIcon::MiddleClick:
    return {TrayMouseMessage::MiddleButtonDown, TrayMouseMessage::MiddleButtonUp};
  case QSystemTrayIcon::Unknown:
    break;
  }
  return {};
}

void QtTrayBinding::activated(QSystemTrayIcon::ActivationReason reason) {
  if (reason == QSystemTrayIcon::Trigger && m_sinceActivation.isValid() &&
      m_sinceActivation.elapsed() <= QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
    reason = QSystemTrayIcon::DoubleClick;
  }
  // The activation after a double-click is a first click again.
  if (reason == QSystemTrayIcon::Trigger)
    m_sinceActivation.start();
  else
    m_sinceActivation.invalidate();
  const std::optional<QPoint> hostPosition =
      reason == QSystemTrayIcon::Context ? m_requestedAt : std::nullopt;
  m_requestedAt.reset();
  if (m_statusNotifierItem) {
    // The host waits for its call's answer, and a handler may run a menu's loop.
    QMetaObject::invokeMethod(
        this, [this, reason, hostPosition] { deliver(reason, hostPosition); },
        Qt::QueuedConnection);
    return;
  }
  deliver(reason, std::nullopt);
}

void QtTrayBinding::deliver(QSystemTrayIcon::ActivationReason reason,
                            std::optional<QPoint> hostPosition) {
  // A handler may end the program while a menu runs its own loop between the two messages.
  const QPointer<QtTrayBinding> alive(this);
  m_deliveringAt = hostPosition;
  for (const TrayMouseMessage message : messagesFor(reason)) {
    if (!alive) return;
    deliverMouse({message, *cursorPosition(), QGuiApplication::queryKeyboardModifiers()});
  }
  if (alive) m_deliveringAt.reset();
}

bool QtTrayBinding::showMessage(const QString &title, const QString &body) {
  // On X11 the icon stays added while no tray is there to show it, nor its messages.
  if (!m_present || !available() || !QSystemTrayIcon::supportsMessages()) return false;
  m_icon.showMessage(title, body, QSystemTrayIcon::Information);
  return true;
}

} // namespace platform
