#include "skin/TsuiTitleBarPopupMenu.h"

#include "skin/SkinStrings.h"
#include "skin/TsuiTitleBar.h"

namespace skin {

namespace {

bool showsButton(const TsuiTitleBar &bar, TsuiTitleBarBtnType type) {
  for (int i = 0; i < bar.Buttons().Count(); ++i) {
    const TsuiTitleBarButton &button = *bar.Buttons().Items(i);
    if (button.Visible() && button.ButtonType() == type) return true;
  }
  return false;
}

} // namespace

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(TsuiTitleBar &bar) : TsuiPopupMenu(&bar), m_bar(bar) {
  const SkinStrings &strings = Strings();
  Items()
      .Add(QStringLiteral("mniMinimize"), strings.SystemMenuMinimize)
      ->SetOnClick(TNotifyEvent::bind<&TsuiTitleBarPopupMenu::minimizeClick>(this));
  Items()
      .Add(QStringLiteral("mniMaximize"), strings.SystemMenuMaximizeRestore)
      ->SetOnClick(TNotifyEvent::bind<&TsuiTitleBarPopupMenu::maximizeClick>(this));
  Items().Add(QStringLiteral("mniLine"), QStringLiteral("-"));
  Items()
      .Add(QStringLiteral("mniClose"), strings.SystemMenuClose)
      ->SetOnClick(TNotifyEvent::bind<&TsuiTitleBarPopupMenu::closeClick>(this));
  // Items made in code are hooked by hand.
  HookItems();
}

void TsuiTitleBarPopupMenu::UpdateItems() {
  Items().Items(0)->SetEnabled(showsButton(m_bar, TsuiTitleBarBtnType::suiMin));
  Items().Items(1)->SetEnabled(showsButton(m_bar, TsuiTitleBarBtnType::suiMax));
  Items().Items(3)->SetEnabled(showsButton(m_bar, TsuiTitleBarBtnType::suiClose));
}

void TsuiTitleBarPopupMenu::minimizeClick(QObject *) {
  m_bar.window()->showMinimized();
}

void TsuiTitleBarPopupMenu::maximizeClick(QObject *) {
  for (int i = 0; i < m_bar.Buttons().Count(); ++i) {
    const TsuiTitleBarButton &button = *m_bar.Buttons().Items(i);
    if (button.Visible() && button.ButtonType() == TsuiTitleBarBtnType::suiMax)
      m_bar.PerformAction(i);
  }
}

void TsuiTitleBarPopupMenu::closeClick(QObject *) {
  m_bar.window()->close();
}

} // namespace skin
