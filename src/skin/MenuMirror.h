#pragma once

#include <QObject>
#include <QPointer>

class QMenu;

namespace skin {

class TMenuItem;

// Keeps a plain Qt menu showing a tree of items: captions, check marks, enabled states, sub-menus,
// and actions that click the items. Tray hosts that draw menus themselves are handed such a
// menu; they are told of each change, so items are updated in place and the menu is only
// rebuilt when its shape changes.
class MenuMirror final : public QObject {
  Q_OBJECT
public:
  MenuMirror(TMenuItem &root, QMenu &menu);
  // Leaves the menu empty.
  ~MenuMirror() override;

  QMenu *Menu() const { return m_menu; }

private slots:
  void sync();

private:
  void watch(TMenuItem &item);

  QPointer<TMenuItem> m_root;
  QPointer<QMenu> m_menu;
};

} // namespace skin
