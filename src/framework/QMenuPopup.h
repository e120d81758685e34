#pragma once

#include "framework/PopupMenuPort.h"

#include <QObject>
#include <QPointer>

class QMenu;

namespace framework {

// A plain QMenu as a tray icon's menu. Made a child of the menu so that it goes with it.
class QMenuPopup final : public QObject, public PopupMenuPort {
  Q_OBJECT
public:
  explicit QMenuPopup(QMenu *menu);

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

} // namespace framework
