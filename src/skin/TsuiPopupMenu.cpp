#include "skin/TsuiPopupMenu.h"

#include "framework/Fonts.h"
#include "skin/DefaultStyle.h"

#include <QMenu>
#include <QPointer>

namespace skin {

TMenuItem::TMenuItem(QObject *parent, const QString &name, const QString &caption)
    : QObject(parent), m_caption(caption) {
  setObjectName(name);
}

TMenuItem *TMenuItem::Add(const QString &name, const QString &caption) {
  auto *item = new TMenuItem(this, name, caption);
  m_items.emplace_back(item);
  return item;
}

TMenuItem *TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return m_items[static_cast<std::size_t>(index)];
}

TMenuItem *TMenuItem::Find(const QString &name) {
  if (objectName() == name) return this;
  for (const QPointer<TMenuItem> &item : m_items)
    if (item)
      if (TMenuItem *found = item->Find(name)) return found;
  return nullptr;
}

void TMenuItem::Click() {
  if (m_enabled && m_onClick) m_onClick(this);
}

TsuiPopupMenu::TsuiPopupMenu(QObject *owner) : QObject(owner), m_items(new TMenuItem(this)) {
  m_uiStyle = DefaultStyle(owner);
}

TsuiPopupMenu::~TsuiPopupMenu() = default;

namespace {

void addItems(QMenu &menu, const TMenuItem &parent, const QFont &font) {
  for (int i = 0; i < parent.Count(); ++i) {
    TMenuItem *item = parent.Items(i);
    if (!item || !item->Visible()) continue;
    if (item->IsLine()) {
      menu.addSeparator();
      continue;
    }
    if (item->Count() > 0) {
      QMenu *sub = menu.addMenu(item->Caption());
      sub->setFont(font);
      sub->setEnabled(item->Enabled());
      sub->menuAction()->setObjectName(item->Name());
      addItems(*sub, *item, font);
      continue;
    }
    QAction *action = menu.addAction(item->Caption());
    action->setObjectName(item->Name());
    action->setCheckable(item->Checked());
    action->setChecked(item->Checked());
    action->setEnabled(item->Enabled());
    if (item->Default()) {
      QFont bold = font;
      bold.setBold(true);
      action->setFont(bold);
    }
    // The item may go away while the menu is open.
    QPointer<TMenuItem> target(item);
    QObject::connect(action, &QAction::triggered, &menu, [target] {
      if (target) target->Click();
    });
  }
}

} // namespace

std::unique_ptr<QMenu> TsuiPopupMenu::BuildMenu() const {
  auto menu = std::make_unique<QMenu>();
  const QFont font = framework::MakeFont(m_fontName, -(m_fontSize * 96 + 36) / 72);
  menu->setFont(font);
  addItems(*menu, *m_items, font);
  return menu;
}

void TsuiPopupMenu::Popup(int x, int y) {
  const std::unique_ptr<QMenu> menu = BuildMenu();
  QPointer<TsuiPopupMenu> self(this);
  m_popped = true;
  menu->exec(QPoint(x, y));
  if (self) m_popped = false;
}

bool TsuiPopupMenu::ClickDefaultItem() {
  for (int i = 0; i < m_items->Count(); ++i) {
    TMenuItem *item = m_items->Items(i);
    if (item && item->Default()) {
      item->Click();
      return true;
    }
  }
  return false;
}

} // namespace skin
