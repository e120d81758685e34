#pragma once

#include <QObject>
#include <QPointer>

class QMenu;

namespace tray {

// What the tray icon needs from a popup menu. Implemented by the skinned popup menu and, for a
// plain QMenu, by QMenuTrayPopup.
class TrayPopupMenu {
public:
  virtual ~TrayPopupMenu() = default;

  // The object whose destruction ends the menu; the icon drops its reference then. The
  // implementation must live at least as long as this object.
  virtual QObject *component() = 0;

  // Whether the menu pops up by itself on a right click.
  virtual bool AutoPopup() const = 0;
  // The component the menu was popped up for, for handlers that ask.
  virtual void SetPopupComponent(QObject *component) = 0;
  // Shows the menu at a screen point; returns when the menu is closed.
  virtual void Popup(int x, int y) = 0;
  // Clicks the first top-level item marked as default; false when there is none.
  virtual bool ClickDefaultItem() = 0;
};

// A plain QMenu as the tray's menu. Made a child of the menu so that it goes with it.
class QMenuTrayPopup final : public QObject, public TrayPopupMenu {
  Q_OBJECT
public:
  explicit QMenuTrayPopup(QMenu *menu);

  QObject *component() override;
  bool AutoPopup() const override { return m_autoPopup; }
  void SetAutoPopup(bool value) { m_autoPopup = value; }
  void SetPopupComponent(QObject *component) override { m_popupComponent = component; }
  QObject *PopupComponent() const { return m_popupComponent; }
  void Popup(int x, int y) override;
  bool ClickDefaultItem() override;

private:
  QMenu *m_menu;
  bool m_autoPopup = true;
  QPointer<QObject> m_popupComponent;
};

} // namespace tray
