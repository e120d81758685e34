#include "skin/MenuMirror.h"

#include "skin/TMenuItem.h"

#include <QAction>
#include <QMenu>

#include <algorithm>
#include <vector>

namespace skin {
namespace {

std::vector<TMenuItem *> shownItems(const TMenuItem &parent) {
  std::vector<TMenuItem *> items;
  for (int i = 0; i < parent.Count(); ++i)
    if (TMenuItem *item = parent.Items(i); item && item->Visible()) items.push_back(item);
  return items;
}

// Whether `action` stands for `item` as it is now: same name and the same kind of entry.
bool sameShape(const QAction &action, const TMenuItem &item) {
  return action.objectName() == item.Name() && action.isSeparator() == item.IsLine() &&
         (action.menu() != nullptr) == (item.Count() > 0);
}

void empty(QMenu &menu) {
  for (QAction *action : menu.actions()) {
    menu.removeAction(action);
    // The action may be the one whose click changed the menu's shape, still being delivered.
    if (QMenu *sub = action->menu(); sub && sub->parent() == &menu)
      sub->deleteLater();
    else if (action->parent() == &menu)
      action->deleteLater();
  }
}

// `marked`: a sibling or the item itself is checked, as one of a group of choices.
void copyState(QAction &action, const TMenuItem &item, bool marked) {
  action.setText(item.Caption());
  action.setEnabled(item.Enabled());
  // A choice stays checkable when it loses its mark: a host applying the change in place must
  // be told the mark went, not only the caption. A setting of its own is always one.
  action.setCheckable(marked || item.AutoCheck());
  action.setChecked(item.Checked());
}

void add(QMenu &menu, TMenuItem &item) {
  if (item.IsLine()) {
    menu.addSeparator()->setObjectName(item.Name());
    return;
  }
  if (item.Count() > 0) {
    auto *sub = new QMenu(&menu);
    QAction *action = menu.addMenu(sub);
    action->setObjectName(item.Name());
    return;
  }
  QAction *action = menu.addAction(QString());
  action->setObjectName(item.Name());
  const QPointer<TMenuItem> target(&item);
  const QPointer<QAction> shown(action);
  QObject::connect(action, &QAction::triggered, action, [target, shown] {
    if (target.isNull()) return;
    target->Click();
    // Qt toggled a checked entry's mark at the click; the item's handler decides it, and an
    // unchanged item says nothing. The handler may have deleted either.
    if (const TMenuItem *const clicked = target.data(); clicked != nullptr && !shown.isNull())
      shown->setChecked(clicked->Checked());
  });
}

void mirror(QMenu &menu, const TMenuItem &parent) {
  const std::vector<TMenuItem *> items = shownItems(parent);
  const QList<QAction *> actions = menu.actions();
  bool same = actions.size() == static_cast<qsizetype>(items.size());
  for (std::size_t i = 0; same && i < items.size(); ++i)
    same = sameShape(*actions[static_cast<qsizetype>(i)], *items[i]);
  if (!same) {
    empty(menu);
    for (TMenuItem *item : items)
      add(menu, *item);
  }
  // A setting of its own that is on makes no choices of its neighbours.
  const bool marked = std::any_of(items.begin(), items.end(), [](const TMenuItem *item) {
    return item->Checked() && !item->AutoCheck();
  });
  const QList<QAction *> now = menu.actions();
  for (std::size_t i = 0; i < items.size(); ++i) {
    QAction &action = *now[static_cast<qsizetype>(i)];
    if (action.isSeparator()) continue;
    copyState(action, *items[i], marked);
    if (QMenu *sub = action.menu()) mirror(*sub, *items[i]);
  }
}

} // namespace

MenuMirror::MenuMirror(TMenuItem &root, QMenu &menu) : m_root(&root), m_menu(&menu) {
  sync();
}

MenuMirror::~MenuMirror() {
  if (m_menu) empty(*m_menu);
}

void MenuMirror::watch(TMenuItem &item) {
  connect(&item, &TMenuItem::Changed, this, &MenuMirror::sync, Qt::UniqueConnection);
  for (int i = 0; i < item.Count(); ++i)
    if (TMenuItem *sub = item.Items(i)) watch(*sub);
}

void MenuMirror::sync() {
  if (!m_root || !m_menu) return;
  // Items added since the last change are watched from now on.
  watch(*m_root);
  mirror(*m_menu, *m_root);
}

} // namespace skin
