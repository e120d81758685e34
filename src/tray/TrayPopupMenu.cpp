#include "tray/TrayPopupMenu.h"

#include <QAction>
#include <QMenu>

namespace tray {

QMenuTrayPopup::QMenuTrayPopup(QMenu *menu) : QObject(menu), m_menu(menu) {}

QObject *QMenuTrayPopup::component() {
  return m_menu;
}

void QMenuTrayPopup::Popup(int x, int y) {
  m_menu->exec(QPoint(x, y));
}

bool QMenuTrayPopup::ClickDefaultItem() {
  QAction *item = m_menu->defaultAction();
  if (item == nullptr || !item->isEnabled() || !m_menu->actions().contains(item)) return false;
  item->trigger();
  return true;
}

} // namespace tray
