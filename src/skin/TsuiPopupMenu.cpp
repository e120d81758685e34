#include "skin/TsuiPopupMenu.h"

#include "framework/Fonts.h"
#include "skin/DefaultStyle.h"
#include "skin/MenuMirror.h"
#include "skin/SkinnedMenu.h"
#include "skin/TsuiMainMenu.h"
#include "skin/style/StyleFacts.h"
#include "skin/style/StyleReads.h"

#include <QApplication>
#include <QChildEvent>
#include <QPointer>

namespace skin {

TsuiPopupMenu::TsuiPopupMenu(QObject *owner)
    : QObject(owner), m_items(new TMenuItem(this)),
      m_fileTheme(
          *this, [this] { SetUIStyle(m_uiStyle); }, [this] { SetUIStyle(TsuiUIStyle::DeepBlue); }) {
  SetUIStyle(DefaultStyle(owner));
  if (owner) owner->installEventFilter(this);
}

TsuiPopupMenu::~TsuiPopupMenu() = default;

void TsuiPopupMenu::HookItems() {
  m_items->HookTo(this);
}

bool TsuiPopupMenu::eventFilter(QObject *watched, QEvent *event) {
  if (watched == parent() && event->type() == QEvent::ChildAdded) {
    // The child is told while its constructor runs: what it is shows only afterwards.
    QPointer<QObject> child = static_cast<QChildEvent *>(event)->child();
    QMetaObject::invokeMethod(
        this, [this, child] { hookAdded(child); }, Qt::QueuedConnection);
  }
  return QObject::eventFilter(watched, event);
}

void TsuiPopupMenu::hookAdded(QObject *component) {
  TMenuItem *items = qobject_cast<TMenuItem *>(component);
  if (auto *mainMenu = qobject_cast<TsuiMainMenu *>(component)) items = &mainMenu->Items();
  if (auto *popupMenu = qobject_cast<TsuiPopupMenu *>(component)) items = &popupMenu->Items();
  if (items && !items->DrawnBy()) items->HookTo(this);
}

bool TsuiPopupMenu::fixedHeights() const {
  return style::Facts(style::ResolveStyle(FileTheme(), m_uiStyle).Style).MenuFixedHeights;
}

void TsuiPopupMenu::SetUIStyle(TsuiUIStyle value) {
  m_uiStyle = value;
  const style::StyleReader reader(FileTheme(), value);
  const style::StyleFacts &facts = style::Facts(reader.Resolved().Style);
  m_look.ItemHeight = facts.MenuItemHeight;
  m_look.SeparatorHeight = facts.MenuSeparatorHeight;
  m_look.SeparatorColor = facts.MenuSeparatorColor;
  m_look.BarWidth = 26;
  m_look.BarColor = reader.Color(style::StyleEntry::MenuBarColor);
  m_look.Color = reader.Color(style::StyleEntry::MenuBackgroundColor);
  m_look.SelectedBorderColor = reader.Color(style::StyleEntry::MenuSelectedBorderColor);
  m_look.SelectedColor = reader.Color(style::StyleEntry::MenuSelectedBackgroundColor);
  m_look.SelectedFontColor = reader.Color(style::StyleEntry::MenuSelectedFontColor);
  m_look.FontColor = reader.Color(style::StyleEntry::MenuFontColor);
  m_look.FormColor = reader.Color(style::StyleEntry::FormBackgroundColor);
}

void TsuiPopupMenu::SetFileTheme(TsuiFileTheme *value) {
  m_fileTheme.Set(value);
  SetUIStyle(m_uiStyle);
}

void TsuiPopupMenu::SetMenuItemHeight(int value) {
  // The style's item pictures are made for its own height.
  if (!fixedHeights()) m_look.ItemHeight = value;
}

void TsuiPopupMenu::SetSeparatorHeight(int value) {
  if (!fixedHeights()) m_look.SeparatorHeight = value;
}

MenuLook TsuiPopupMenu::Look() const {
  MenuLook look = m_look;
  if (m_useSystemFont) {
    look.Font = QApplication::font("QMenu");
    look.Font.setStyleStrategy(QFont::NoAntialias);
  } else {
    // Points at 96 dots per inch.
    look.Font = framework::MakeFont(m_fontName, -((m_fontSize * 96 + 36) / 72));
  }
  const style::StyleReader reader(FileTheme(), m_uiStyle);
  look.BarBitmap = reader.Bitmap("MENU_BAR");
  look.SelectBitmap = reader.Bitmap("MENU_SELECT");
  look.CheckMark = style::BuiltInBitmaps().Bitmap("MENU_CHECKED");
  look.RightToLeft = m_rightToLeft;
  return look;
}

MenuItemState TsuiPopupMenu::ItemState(const TMenuItem &item) const {
  MenuItemState state;
  state.Caption = item.Caption();
  state.ShortCut = item.ShortCut();
  state.Separator = item.IsLine();
  state.Enabled = item.Enabled();
  state.Checked = item.Checked();
  state.Default = item.Default();
  const int index = item.ImageIndex();
  if (index >= 0 && index < static_cast<int>(m_images.size()))
    state.Image = m_images[static_cast<std::size_t>(index)];
  return state;
}

namespace {

void addItems(TsuiPopupMenu &owner, SkinnedMenu &menu, const TMenuItem &parent) {
  for (int i = 0; i < parent.Count(); ++i) {
    TMenuItem *item = parent.Items(i);
    if (!item || !item->Visible()) continue;
    if (item->IsLine()) {
      QAction *line = menu.addSeparator();
      menu.Bind(line, item);
      continue;
    }
    if (item->Count() > 0) {
      auto *sub = new SkinnedMenu(owner, &menu);
      sub->setTitle(item->Caption());
      sub->setEnabled(item->Enabled());
      QAction *action = menu.addMenu(sub);
      action->setObjectName(item->Name());
      action->setEnabled(item->Enabled());
      menu.Bind(action, item);
      addItems(owner, *sub, *item);
      continue;
    }
    QAction *action = menu.addAction(item->Caption());
    action->setObjectName(item->Name());
    action->setCheckable(item->Checked());
    action->setChecked(item->Checked());
    action->setEnabled(item->Enabled());
    menu.Bind(action, item);
    if (item->Default() && !menu.defaultAction()) menu.setDefaultAction(action);
    // The item may go away while the menu is open.
    QPointer<TMenuItem> target(item);
    QObject::connect(action, &QAction::triggered, &menu, [target] {
      if (target) target->Click();
    });
  }
}

} // namespace

std::unique_ptr<QMenu> TsuiPopupMenu::BuildMenu() {
  auto menu = std::make_unique<SkinnedMenu>(*this);
  addItems(*this, *menu, *m_items);
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

void TsuiPopupMenu::MirrorInto(QMenu *menu) {
  m_mirror.reset();
  if (menu) m_mirror = std::make_unique<MenuMirror>(*m_items, *menu);
}

} // namespace skin
