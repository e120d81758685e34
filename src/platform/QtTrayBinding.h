#pragma once

#include "platform/TrayBinding.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSystemTrayIcon>

namespace platform {

// The notification area through QSystemTrayIcon. Qt reports a whole click at the press, so each
// activation is delivered as the pair of messages the shell would send; the context menu is the
// component's business, never Qt's. A visible QSystemTrayIcon is registered again by Qt with a
// new tray host, so the taskbar's re-creation needs no report from here.
//
// XEmbed trays report a double-click as such; StatusNotifierItem hosts send one plain activation
// per click, so a second one within the double-click time is delivered as the double-click.
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

  const QSystemTrayIcon &trayIcon() const { return m_icon; }

  // The messages one activation stands for, in delivery order.
  static std::vector<TrayMouseMessage> messagesFor(QSystemTrayIcon::ActivationReason reason);

private:
  void activated(QSystemTrayIcon::ActivationReason reason);
  void apply(const QIcon &icon, const QString &tip);

  QSystemTrayIcon m_icon;
  bool m_present = false;
  // Running while a plain activation may still become the first half of a double-click.
  QElapsedTimer m_sinceActivation;
};

} // namespace platform
