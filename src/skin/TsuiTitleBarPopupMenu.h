#pragma once

#include "skin/TsuiPopupMenu.h"

namespace skin {

class TsuiTitleBar;

// The title bar's system menu: minimise, maximise/restore, a line and close, each enabled while
// the bar shows a button of that kind.
class TsuiTitleBarPopupMenu : public TsuiPopupMenu {
  Q_OBJECT
public:
  explicit TsuiTitleBarPopupMenu(TsuiTitleBar &bar);

  // Enables the items by the visible buttons.
  void UpdateItems();

private:
  void minimizeClick(QObject *sender);
  void maximizeClick(QObject *sender);
  void closeClick(QObject *sender);

  TsuiTitleBar &m_bar;
};

} // namespace skin
