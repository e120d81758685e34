#include "skin/SkinnedMenu.h"

#include "skin/TMenuItem.h"
#include "skin/TsuiPopupMenu.h"

#include <QPainter>
#include <QStyleOptionMenuItem>

namespace skin {

namespace {

const char *const ItemProperty = "quelvaneMenuItem";

const TsuiPopupMenu *ownerOf(const QWidget *widget) {
  const auto *menu = qobject_cast<const SkinnedMenu *>(widget);
  return menu ? menu->Owner() : nullptr;
}

MenuItemState stateFor(const TMenuItem &item, const QStyleOption &option) {
  MenuItemState state = item.DrawnBy()->ItemState(item);
  state.Selected = option.state & QStyle::State_Selected;
  state.Enabled = item.Enabled() && (option.state & QStyle::State_Enabled);
  return state;
}

} // namespace

SkinnedMenu::SkinnedMenu(TsuiPopupMenu &owner, QWidget *parent) : QMenu(parent), m_owner(&owner) {
  auto *style = new MenuStyle;
  style->setParent(this);
  setStyle(style);
  setLayoutDirection(owner.RightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
}

void SkinnedMenu::Bind(QAction *action, TMenuItem *item) {
  action->setProperty(ItemProperty, QVariant::fromValue(QPointer<QObject>(item)));
}

void SkinnedMenu::initStyleOption(QStyleOptionMenuItem *option, const QAction *action) const {
  QMenu::initStyleOption(option, action);
  // The option carries a hooked item to the style; Qt uses this field for animations only.
  const QPointer<QObject> item = action->property(ItemProperty).value<QPointer<QObject>>();
  auto *menuItem = qobject_cast<TMenuItem *>(item.data());
  if (menuItem && menuItem->DrawnBy() && menuItem->DrawnBy() == m_owner) option->styleObject = item;
}

TMenuItem *SkinnedMenu::HookedItem(const QStyleOption *option) {
  return option ? qobject_cast<TMenuItem *>(option->styleObject) : nullptr;
}

MenuStyle::MenuStyle() = default;

int MenuStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                           const QWidget *widget) const {
  if (const TsuiPopupMenu *owner = ownerOf(widget)) {
    switch (metric) {
    // Items fill the menu inside its frame.
    case PM_MenuHMargin:
    case PM_MenuVMargin:
      return 0;
    case PM_MenuPanelWidth:
      if (owner->FlatMenu()) return 2;
      break;
    default:
      break;
    }
  }
  return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize MenuStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                  const QWidget *widget) const {
  if (type == CT_MenuItem)
    if (const TMenuItem *item = SkinnedMenu::HookedItem(option))
      return MeasureMenuItem(item->DrawnBy()->Look(), stateFor(*item, *option));
  return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void MenuStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const {
  if (element == CE_MenuItem) {
    if (const TMenuItem *item = SkinnedMenu::HookedItem(option)) {
      const QRect r = option->rect;
      if (r.isEmpty()) return;
      // At the ratio of the screen the menu is on, so that its text and bitmaps are sharp.
      const int ratio = framework::WholeRatio(painter->device()->devicePixelRatio());
      QImage image(r.size() * ratio, QImage::Format_RGB32);
      image.setDevicePixelRatio(ratio);
      framework::Canvas canvas(image);
      const MenuLook look = item->DrawnBy()->Look();
      DrawMenuItem(canvas, {0, 0, r.width(), r.height()}, look, stateFor(*item, *option));
      painter->drawImage(r.topLeft(), image);
      const auto *menuOption = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
      if (menuOption && menuOption->menuItemType == QStyleOptionMenuItem::SubMenu) {
        QStyleOption arrow = *option;
        const int size = std::min(r.height(), 16);
        arrow.rect = QRect(look.RightToLeft ? r.left() + 2 : r.right() - size - 1,
                           r.top() + (r.height() - size) / 2, size, size);
        arrow.palette.setColor(QPalette::ButtonText, framework::ToQColor(look.FontColor));
        QProxyStyle::drawPrimitive(look.RightToLeft ? PE_IndicatorArrowLeft
                                                    : PE_IndicatorArrowRight,
                                   &arrow, painter, widget);
      }
      return;
    }
  }
  if (element == CE_MenuEmptyArea)
    if (const TsuiPopupMenu *owner = ownerOf(widget)) {
      painter->fillRect(option->rect, framework::ToQColor(owner->Color()));
      return;
    }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void MenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                              QPainter *painter, const QWidget *widget) const {
  if (const TsuiPopupMenu *owner = ownerOf(widget)) {
    if (element == PE_PanelMenu) {
      painter->fillRect(option->rect, framework::ToQColor(owner->Color()));
      return;
    }
    if (element == PE_FrameMenu && owner->FlatMenu()) {
      // A black edge with white inside it, drawn in the menu's own window; the form's colour then
      // covers the white along the bottom, up the right and back along the top, leaving it on
      // the left only.
      const QRect r = option->rect;
      painter->setPen(Qt::black);
      painter->drawRect(r.adjusted(0, 0, -1, -1));
      painter->setPen(Qt::white);
      painter->drawRect(r.adjusted(1, 1, -2, -2));
      const QRect inner = r.adjusted(1, 1, -1, -1);
      const QPoint bottomLeft(inner.left(), inner.bottom()), bottomRight = inner.bottomRight(),
                                                             topRight = inner.topRight();
      painter->setPen(framework::ToQColor(owner->Look().FormColor));
      painter->drawPolyline(
          QPolygon({bottomLeft, bottomRight, topRight, QPoint(inner.left() + 1, inner.top())}));
      return;
    }
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

} // namespace skin
