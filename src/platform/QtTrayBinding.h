#pragma once

#include "platform/TrayBinding.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

namespace platform {

// The notification area through QSystemTrayIcon. Qt reports a whole click at the press, so each
// activation is delivered as the pair of messages the shell would send. A visible
// QSystemTrayIcon is registered again by Qt with a new tray host, so the taskbar's re-creation
// needs no report from here.
//
// Qt picks the kind of tray once, when the icon is made: a StatusNotifierItem over D-Bus when a
// host is registered on the session bus then, an XEmbed icon otherwise. On XEmbed trays the
// context menu is the component's business: Qt would pop a plain one of its own at the press,
// so it gets none. A StatusNotifierItem host draws the menu itself from hostMenu(), which Qt
// exports over D-Bus. Its hosts report a double-click as one plain activation per click, so a
// second one within the double-click time is delivered as the double-click; and every
// activation arrives inside the host's D-Bus call, so it is delivered after that call returned.
// A host that asks for the menu names where it should open; the pointer stands in where Qt's
// item cannot be taken over (see HostMenuAdaptor). The host's position is in its screen's
// device pixels, taken as they are (as QCursor's on a screen without scaling).
class QtTrayBinding final : public QObject, public TrayBinding {
  Q_OBJECT
public:
  explicit QtTrayBinding(QObject *parent = nullptr);

  bool add(const QIcon &icon, const QString &tip) override;
  bool modify(const QIcon &icon, const QString &tip) override;
  bool remove() override;
  std::optional<QPoint> cursorPosition() const override;
  bool available() const override;
  bool showMessage(const QString &title, const QString &body) override;
  QMenu *hostMenu() override { return m_statusNotifierItem ? &m_hostMenu : nullptr; }

  const QSystemTrayIcon &trayIcon() const { return m_icon; }

  // The messages one activation stands for, in delivery order.
  static std::vector<TrayMouseMessage> messagesFor(QSystemTrayIcon::ActivationReason reason);

private:
  void activated(QSystemTrayIcon::ActivationReason reason);
  void deliver(QSystemTrayIcon::ActivationReason reason, std::optional<QPoint> hostPosition);
  void apply(const QIcon &icon, const QString &tip);

  // Outlives the icon: Qt's exported menu refers to it until the icon is gone.
  QMenu m_hostMenu;
  QSystemTrayIcon m_icon;
  bool m_statusNotifierItem = false;
  bool m_present = false;
  bool m_hostMenuAdaptor = false;
  // Where the host's last ContextMenu call asked for the menu, until its activation is taken.
  std::optional<QPoint> m_requestedAt;
  // The host's position while its menu request is delivered.
  std::optional<QPoint> m_deliveringAt;
  // Running while a plain activation may still become the first half of a double-click.
  QElapsedTimer m_sinceActivation;
};

} // namespace platform
