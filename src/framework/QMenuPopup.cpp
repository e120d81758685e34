#include "framework/QMenuPopup.h"

#include <QAction>
#include <QMenu>

namespace framework {

QMenuPopup::QMenuPopup(QMenu *menu) : QObject(menu), m_menu(menu) {}

QObject *QMenuPopup::component() {
  return m_menu;
}

void QMenuPopup::Popup(int x, int y) {
  m_menu->exec(QPoint(x, y));
}

bool QMenuPopup::ClickDefaultItem() {
  QAction *item = m_menu->defaultAction();
  if (item == nullptr || !item->isEnabled() || !m_menu->actions().contains(item)) return false;
  item->trigger();
  return true;
}

} // namespace framework
