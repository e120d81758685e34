#pragma once

#include "framework/Colors.h"
#include "framework/PopupMenuPort.h"
#include "skin/SkinTypes.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <vector>

class QMenu;

namespace skin {

// One menu item; its sub-items are its children. A caption of "-" makes a separator.
class TMenuItem : public QObject {
  Q_OBJECT
public:
  explicit TMenuItem(QObject *parent, const QString &name = {}, const QString &caption = {});

  QString Name() const { return objectName(); }
  const QString &Caption() const { return m_caption; }
  void SetCaption(const QString &value) { m_caption = value; }
  bool Checked() const { return m_checked; }
  void SetChecked(bool value) { m_checked = value; }
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool value) { m_enabled = value; }
  bool Visible() const { return m_visible; }
  void SetVisible(bool value) { m_visible = value; }
  bool Default() const { return m_default; }
  void SetDefault(bool value) { m_default = value; }
  bool IsLine() const { return m_caption == QStringLiteral("-"); }
  const TNotifyEvent &OnClick() const { return m_onClick; }
  void SetOnClick(TNotifyEvent handler) { m_onClick = std::move(handler); }

  // Adds a sub-item owned by this one.
  TMenuItem *Add(const QString &name, const QString &caption);
  int Count() const { return static_cast<int>(m_items.size()); }
  TMenuItem *Items(int index) const;
  // This item or the first sub-item (at any depth) of that name.
  TMenuItem *Find(const QString &name);

  // Raises OnClick; a disabled item does nothing.
  void Click();

private:
  QString m_caption;
  bool m_checked = false;
  bool m_enabled = true;
  bool m_visible = true;
  bool m_default = false;
  TNotifyEvent m_onClick;
  std::vector<QPointer<TMenuItem>> m_items;
};

// The skinned popup menu: a tree of items shown as a menu at a screen point. Serves as the tray
// icon's menu.
class TsuiPopupMenu : public QObject, public framework::PopupMenuPort {
  Q_OBJECT
public:
  explicit TsuiPopupMenu(QObject *owner);
  ~TsuiPopupMenu() override;

  TMenuItem &Items() { return *m_items; }
  TMenuItem *Find(const QString &name) { return m_items->Find(name); }

  TsuiUIStyle UIStyle() const { return m_uiStyle; }
  void SetUIStyle(TsuiUIStyle value) { m_uiStyle = value; }
  bool OwnerDraw() const { return true; }
  void SetOwnerDraw(bool) {}
  int MenuItemHeight() const { return m_menuItemHeight; }
  void SetMenuItemHeight(int value) { m_menuItemHeight = value; }
  int SeparatorHeight() const { return m_separatorHeight; }
  void SetSeparatorHeight(int value) { m_separatorHeight = value; }
  int BarWidth() const { return m_barWidth; }
  void SetBarWidth(int value) { m_barWidth = value; }
  framework::TColor BarColor() const { return m_barColor; }
  void SetBarColor(framework::TColor value) { m_barColor = value; }
  framework::TColor Color() const { return m_color; }
  void SetColor(framework::TColor value) { m_color = value; }
  framework::TColor SeparatorColor() const { return m_separatorColor; }
  void SetSeparatorColor(framework::TColor value) { m_separatorColor = value; }
  framework::TColor SelectedBorderColor() const { return m_selectedBorderColor; }
  void SetSelectedBorderColor(framework::TColor value) { m_selectedBorderColor = value; }
  framework::TColor SelectedColor() const { return m_selectedColor; }
  void SetSelectedColor(framework::TColor value) { m_selectedColor = value; }
  framework::TColor SelectedFontColor() const { return m_selectedFontColor; }
  void SetSelectedFontColor(framework::TColor value) { m_selectedFontColor = value; }
  framework::TColor FontColor() const { return m_fontColor; }
  void SetFontColor(framework::TColor value) { m_fontColor = value; }
  framework::TColor BorderColor() const { return m_borderColor; }
  void SetBorderColor(framework::TColor value) { m_borderColor = value; }
  bool FlatMenu() const { return m_flatMenu; }
  void SetFlatMenu(bool value) { m_flatMenu = value; }
  const QString &FontName() const { return m_fontName; }
  void SetFontName(const QString &value) { m_fontName = value; }
  int FontSize() const { return m_fontSize; }
  void SetFontSize(int value) { m_fontSize = value; }
  bool UseSystemFont() const { return m_useSystemFont; }
  void SetUseSystemFont(bool value) { m_useSystemFont = value; }
  void SetAutoPopup(bool value) { m_autoPopup = value; }

  // The menu as it would pop up now (items, captions, checks, enabled states); the caller owns it.
  std::unique_ptr<QMenu> BuildMenu() const;
  // True while the menu is shown.
  bool PoppedUp() const { return m_popped; }

  // framework::PopupMenuPort
  QObject *component() override { return this; }
  bool AutoPopup() const override { return m_autoPopup; }
  void SetPopupComponent(QObject *component) override { m_popupComponent = component; }
  void Popup(int x, int y) override;
  bool ClickDefaultItem() override;

private:
  TMenuItem *m_items; // owned through Qt parenting
  QPointer<QObject> m_popupComponent;
  bool m_autoPopup = true;
  bool m_popped = false;
  TsuiUIStyle m_uiStyle = TsuiUIStyle::DeepBlue;
  int m_menuItemHeight = 21;
  int m_separatorHeight = 21;
  int m_barWidth = 0;
  framework::TColor m_barColor = framework::clBtnFace;
  framework::TColor m_color = framework::clWhite;
  framework::TColor m_separatorColor = 8421504;
  framework::TColor m_selectedBorderColor = framework::clHighlight;
  framework::TColor m_selectedColor = framework::clHighlight;
  framework::TColor m_selectedFontColor = framework::clWhite;
  framework::TColor m_fontColor = framework::clWhite;
  framework::TColor m_borderColor = framework::clBlack;
  bool m_flatMenu = false;
  QString m_fontName = QStringLiteral("MS Sans Serif");
  int m_fontSize = 8;
  bool m_useSystemFont = true;
};

} // namespace skin
