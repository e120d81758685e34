#pragma once

#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/PopupMenuPort.h"
#include "skin/MenuItemDraw.h"
#include "skin/SkinTypes.h"
#include "skin/TMenuItem.h"
#include "skin/ThemeLink.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class QMenu;

namespace skin {

class MenuMirror;

// The skinned popup menu: a tree of items shown as a Qt menu whose items we measure and draw.
// Serves as the tray icon's menu.
class TsuiPopupMenu : public QObject, public framework::PopupMenuPort, public framework::Component {
  Q_OBJECT
public:
  explicit TsuiPopupMenu(QObject *owner);
  ~TsuiPopupMenu() override;

  TMenuItem &Items() { return *m_items; }
  TMenuItem *Find(const QString &name) { return m_items->Find(name); }
  // Gives every item, sub-items included, this menu's measuring and drawing; items added later
  // follow. Loaded() does it, and so must a menu that adds items in code afterwards. Items and
  // other menus that the owner takes on later are hooked too, once built, unless a menu draws
  // them already.
  void HookItems();
  void Loaded() override { HookItems(); }

  TsuiUIStyle UIStyle() const { return m_uiStyle; }
  // Applies the style's menu colours, heights and bar width.
  void SetUIStyle(TsuiUIStyle value);
  TsuiFileTheme *FileTheme() const { return m_fileTheme.Theme(); }
  // Re-applies the style from the theme, and again whenever the theme loads a file or goes away
  // (FromThemeFile then draws as DeepBlue).
  void SetFileTheme(TsuiFileTheme *value);
  bool OwnerDraw() const { return true; }
  void SetOwnerDraw(bool) {}
  int MenuItemHeight() const { return m_look.ItemHeight; }
  void SetMenuItemHeight(int value);
  int SeparatorHeight() const { return m_look.SeparatorHeight; }
  void SetSeparatorHeight(int value);
  int BarWidth() const { return m_look.BarWidth; }
  void SetBarWidth(int value) { m_look.BarWidth = value; }
  framework::TColor BarColor() const { return m_look.BarColor; }
  void SetBarColor(framework::TColor value) { m_look.BarColor = value; }
  framework::TColor Color() const { return m_look.Color; }
  void SetColor(framework::TColor value) { m_look.Color = value; }
  framework::TColor SeparatorColor() const { return m_look.SeparatorColor; }
  void SetSeparatorColor(framework::TColor value) { m_look.SeparatorColor = value; }
  framework::TColor SelectedBorderColor() const { return m_look.SelectedBorderColor; }
  void SetSelectedBorderColor(framework::TColor value) { m_look.SelectedBorderColor = value; }
  framework::TColor SelectedColor() const { return m_look.SelectedColor; }
  void SetSelectedColor(framework::TColor value) { m_look.SelectedColor = value; }
  framework::TColor SelectedFontColor() const { return m_look.SelectedFontColor; }
  void SetSelectedFontColor(framework::TColor value) { m_look.SelectedFontColor = value; }
  framework::TColor FontColor() const { return m_look.FontColor; }
  void SetFontColor(framework::TColor value) { m_look.FontColor = value; }
  // Kept for window descriptions; nothing is drawn with it.
  framework::TColor BorderColor() const { return m_borderColor; }
  void SetBorderColor(framework::TColor value) { m_borderColor = value; }
  bool FlatMenu() const { return m_flatMenu; }
  void SetFlatMenu(bool value) { m_flatMenu = value; }
  const QString &FontName() const { return m_fontName; }
  void SetFontName(const QString &value) { m_fontName = value; }
  int FontSize() const { return m_fontSize; }
  void SetFontSize(int value) { m_fontSize = value; }
  int FontCharset() const { return m_fontCharset; }
  void SetFontCharset(int value) { m_fontCharset = value; }
  bool UseSystemFont() const { return m_useSystemFont; }
  void SetUseSystemFont(bool value) { m_useSystemFont = value; }
  // Right-to-left reading mirrors the bar, the texts and the mark column.
  bool RightToLeft() const { return m_rightToLeft; }
  void SetRightToLeft(bool value) { m_rightToLeft = value; }
  void SetAutoPopup(bool value) { m_autoPopup = value; }
  // The pictures items refer to by ImageIndex.
  const std::vector<QImage> &Images() const { return m_images; }
  void SetImages(std::vector<QImage> value) { m_images = std::move(value); }

  // What the items are drawn with now: the properties, the font and the style's pictures.
  MenuLook Look() const;
  // An item's state apart from selection.
  MenuItemState ItemState(const TMenuItem &item) const;

  // The menu as it would pop up now (items, captions, checks, enabled states); the caller owns it.
  std::unique_ptr<QMenu> BuildMenu();
  // True while the menu is shown.
  bool PoppedUp() const { return m_popped; }

  // framework::PopupMenuPort
  QObject *component() override { return this; }
  bool AutoPopup() const override { return m_autoPopup; }
  void SetPopupComponent(QObject *component) override { m_popupComponent = component; }
  QObject *PopupComponent() const { return m_popupComponent; }
  void Popup(int x, int y) override;
  bool ClickDefaultItem() override;
  void MirrorInto(QMenu *menu) override;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  bool fixedHeights() const;
  void hookAdded(QObject *component);

  TMenuItem *m_items; // owned through Qt parenting
  QPointer<QObject> m_popupComponent;
  ThemeLink m_fileTheme;
  bool m_autoPopup = true;
  bool m_popped = false;
  TsuiUIStyle m_uiStyle = TsuiUIStyle::DeepBlue;
  MenuLook m_look;
  framework::TColor m_borderColor = framework::clBlack;
  bool m_flatMenu = false;
  QString m_fontName = QStringLiteral("MS Sans Serif");
  int m_fontSize = 8;
  int m_fontCharset = 1; // the default character set
  bool m_useSystemFont = true;
  bool m_rightToLeft = false;
  std::vector<QImage> m_images;
  std::unique_ptr<MenuMirror> m_mirror;
};

} // namespace skin
