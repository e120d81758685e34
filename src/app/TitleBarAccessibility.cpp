#include "app/TitleBarAccessibility.h"

#include "app/DesktopTexts.h"
#include "app/TForm1.h"
#include "skin/TsuiTitleBar.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include <map>
#include <vector>

namespace app {
namespace {

using skin::TsuiTitleBar;
using skin::TsuiTitleBarBtnType;

constexpr LanguageTexts HideName = {u"Hide", u"隱藏", u"隐藏"};
constexpr LanguageTexts CloseName = {u"Close", u"關閉", u"关闭"};
constexpr LanguageTexts MinimiseName = {u"Minimize", u"最小化", u"最小化"};
constexpr LanguageTexts MaximiseName = {u"Maximize", u"最大化", u"最大化"};
constexpr LanguageTexts HelpName = {u"Help", u"說明", u"帮助"};
constexpr LanguageTexts MenuName = {u"Window menu", u"視窗選單", u"窗口菜单"};

receiver::TLngID LanguageOf(const QWidget &bar) {
  const auto *const form = qobject_cast<const TForm1 *>(bar.window());
  return form ? form->Languages().Language() : receiver::TLngID::Eng;
}

class TitleButtonAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
  TitleButtonAccessible(TsuiTitleBar *bar, int index) : m_bar(bar), m_index(index) {}

  bool isValid() const override {
    const TsuiTitleBar *const bar = m_bar.data();
    return bar != nullptr && m_index < bar->Buttons().Count();
  }
  QObject *object() const override { return nullptr; }
  QWindow *window() const override {
    const TsuiTitleBar *const bar = m_bar.data();
    return bar != nullptr ? bar->window()->windowHandle() : nullptr;
  }
  QList<std::pair<QAccessibleInterface *, QAccessible::Relation>>
  relations(QAccessible::Relation) const override {
    return {};
  }
  QAccessibleInterface *focusChild() const override { return nullptr; }
  QAccessibleInterface *childAt(int, int) const override { return nullptr; }
  QAccessibleInterface *parent() const override {
    TsuiTitleBar *const bar = m_bar.data();
    return bar != nullptr ? QAccessible::queryAccessibleInterface(bar) : nullptr;
  }
  QAccessibleInterface *child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface *) const override { return -1; }
  QString text(QAccessible::Text kind) const override {
    const TsuiTitleBar *const bar = m_bar.data();
    if (kind != QAccessible::Name || bar == nullptr) return QString();
    return TitleBarButtonName(*bar, m_index, LanguageOf(*bar));
  }
  void setText(QAccessible::Text, const QString &) override {}
  QRect rect() const override {
    const TsuiTitleBar *const bar = m_bar.data();
    if (bar == nullptr) return {};
    const QRect shown = bar->ButtonRect(m_index);
    return shown.isEmpty() ? QRect() : QRect(bar->mapToGlobal(shown.topLeft()), shown.size());
  }
  QAccessible::Role role() const override { return QAccessible::Button; }
  QAccessible::State state() const override {
    QAccessible::State state;
    const TsuiTitleBar *const bar = m_bar.data();
    state.invisible = bar == nullptr || bar->ButtonRect(m_index).isEmpty();
    state.pressed = bar != nullptr && bar->Pressed() && bar->HotButton() == m_index;
    return state;
  }
  void *interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                : nullptr;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString &name) override {
    TsuiTitleBar *const bar = m_bar.data();
    if (name != pressAction() || bar == nullptr) return;
    // After the answer to the call that asked: closing may end the program.
    QMetaObject::invokeMethod(
        bar,
        [target = m_bar, index = m_index] {
          if (TsuiTitleBar *const shown = target.data(); shown != nullptr)
            shown->ClickButton(index);
        },
        Qt::QueuedConnection);
  }
  QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
  QPointer<TsuiTitleBar> m_bar;
  int m_index;
};

class TitleBarAccessible final : public QAccessibleWidget {
public:
  explicit TitleBarAccessible(TsuiTitleBar *bar) : QAccessibleWidget(bar, QAccessible::Grouping) {}
  ~TitleBarAccessible() override {
    for (const auto &[index, id] : m_buttons)
      QAccessible::deleteAccessibleInterface(id);
  }
  TitleBarAccessible(const TitleBarAccessible &) = delete;
  TitleBarAccessible &operator=(const TitleBarAccessible &) = delete;

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) return Bar()->Caption();
    return QAccessibleWidget::text(kind);
  }
  int childCount() const override { return static_cast<int>(Shown().size()); }
  QAccessibleInterface *child(int index) const override {
    const std::vector<int> buttons = Shown();
    if (index < 0 || index >= static_cast<int>(buttons.size())) return nullptr;
    return Button(buttons[static_cast<std::size_t>(index)]);
  }
  int indexOfChild(const QAccessibleInterface *child) const override {
    const std::vector<int> buttons = Shown();
    for (std::size_t i = 0; i < buttons.size(); ++i)
      if (const auto found = m_buttons.find(buttons[i]);
          found != m_buttons.end() && QAccessible::accessibleInterface(found->second) == child)
        return static_cast<int>(i);
    return -1;
  }
  QAccessibleInterface *childAt(int x, int y) const override {
    for (const int index : Shown())
      if (QAccessibleInterface *const candidate = Button(index); candidate->rect().contains(x, y))
        return candidate;
    return nullptr;
  }

private:
  TsuiTitleBar *Bar() const { return static_cast<TsuiTitleBar *>(widget()); }
  std::vector<int> Shown() const {
    std::vector<int> buttons;
    for (int i = 0; i < Bar()->Buttons().Count(); ++i)
      if (!Bar()->ButtonRect(i).isEmpty()) buttons.push_back(i);
    return buttons;
  }
  // Made once a button and kept: a screen reader keeps referring to a button by its id.
  QAccessibleInterface *Button(int index) const {
    auto found = m_buttons.find(index);
    if (found == m_buttons.end())
      found = m_buttons
                  .emplace(index, QAccessible::registerAccessibleInterface(
                                      new TitleButtonAccessible(Bar(), index)))
                  .first;
    return QAccessible::accessibleInterface(found->second);
  }

  mutable std::map<int, QAccessible::Id> m_buttons;
};

} // namespace

QAccessibleInterface *MakeTitleBarAccessible(TsuiTitleBar *bar) {
  return new TitleBarAccessible(bar);
}

QString TitleBarButtonName(const TsuiTitleBar &bar, int index, receiver::TLngID language) {
  const skin::TsuiTitleBarButton *const button = bar.Buttons().Items(index);
  if (button == nullptr) return QString();
  switch (button->ButtonType()) {
  case TsuiTitleBarBtnType::suiClose:
    return Pick(CloseName, language);
  case TsuiTitleBarBtnType::suiMin:
    return Pick(MinimiseName, language);
  case TsuiTitleBarBtnType::suiMax:
    return Pick(MaximiseName, language);
  case TsuiTitleBarBtnType::suiHelp:
    return Pick(HelpName, language);
  case TsuiTitleBarBtnType::suiControlBox:
    return Pick(MenuName, language);
  case TsuiTitleBarBtnType::suiCustom:
    return Pick(HideName, language);
  }
  return QString();
}

} // namespace app
