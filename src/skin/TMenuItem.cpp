#include "skin/TMenuItem.h"

#include "skin/TsuiPopupMenu.h"

namespace skin {

TMenuItem::TMenuItem(QObject *parent, const QString &name, const QString &caption)
    : QObject(parent), m_caption(caption) {
  setObjectName(name);
}

void TMenuItem::SetCaption(const QString &value) {
  change(m_caption, value);
}

void TMenuItem::SetChecked(bool value) {
  change(m_checked, value);
}

void TMenuItem::SetEnabled(bool value) {
  change(m_enabled, value);
}

void TMenuItem::SetVisible(bool value) {
  change(m_visible, value);
}

TsuiPopupMenu *TMenuItem::DrawnBy() const {
  return m_drawnBy;
}

void TMenuItem::HookTo(TsuiPopupMenu *menu) {
  m_drawnBy = menu;
  for (const QPointer<TMenuItem> &item : m_items)
    if (item) item->HookTo(menu);
}

TMenuItem *TMenuItem::Add(const QString &name, const QString &caption) {
  auto *item = new TMenuItem(this, name, caption);
  m_items.emplace_back(item);
  // Items added after the menu was hooked are hooked too.
  if (m_drawnBy) item->HookTo(m_drawnBy);
  emit Changed();
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
  if (!m_enabled) return;
  if (m_autoCheck) SetChecked(!m_checked);
  if (m_onClick) m_onClick(this);
}

} // namespace skin
