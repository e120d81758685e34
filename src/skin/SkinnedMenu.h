#pragma once

#include <QMenu>
#include <QPointer>
#include <QProxyStyle>

namespace skin {

class TMenuItem;
class TsuiPopupMenu;

// A Qt menu showing skinned items. Qt keeps the keyboard navigation, sub-menus and hot keys;
// hooked items are measured and drawn by their popup menu through MenuStyle.
class SkinnedMenu : public QMenu {
  Q_OBJECT
public:
  SkinnedMenu(TsuiPopupMenu &owner, QWidget *parent = nullptr);

  TsuiPopupMenu *Owner() const { return m_owner; }
  // The item an action shows; it may go away while the menu is open.
  void Bind(QAction *action, TMenuItem *item);
  // The hooked item behind a style option of this menu, or null.
  static TMenuItem *HookedItem(const QStyleOption *option);

protected:
  void initStyleOption(QStyleOptionMenuItem *option, const QAction *action) const override;

private:
  QPointer<TsuiPopupMenu> m_owner;
};

// Measures and draws the items of skinned menus with their popup menu's rules; everything else,
// the sub-menu arrow among it, is the window system's.
class MenuStyle : public QProxyStyle {
  Q_OBJECT
public:
  MenuStyle();

  int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                  const QWidget *widget = nullptr) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                         const QWidget *widget) const override;
  void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                   const QWidget *widget = nullptr) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};

} // namespace skin
