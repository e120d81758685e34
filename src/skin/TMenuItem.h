#pragma once

#include "skin/SkinTypes.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <vector>

namespace skin {

class TsuiPopupMenu;

// One menu item; its sub-items are its children. A caption of exactly "-" makes a separator.
class TMenuItem : public QObject {
  Q_OBJECT
public:
  explicit TMenuItem(QObject *parent, const QString &name = {}, const QString &caption = {});

  QString Name() const { return objectName(); }
  const QString &Caption() const { return m_caption; }
  void SetCaption(const QString &value);
  // The shortcut as text ("Ctrl+X"), shown at the right; empty for none.
  const QString &ShortCut() const { return m_shortCut; }
  void SetShortCut(const QString &value) { m_shortCut = value; }
  bool Checked() const { return m_checked; }
  void SetChecked(bool value);
  // An on/off setting of its own: each click turns the check mark over before OnClick runs.
  bool AutoCheck() const { return m_autoCheck; }
  void SetAutoCheck(bool value) { change(m_autoCheck, value); }
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool value);
  bool Visible() const { return m_visible; }
  void SetVisible(bool value);
  bool Default() const { return m_default; }
  void SetDefault(bool value) { m_default = value; }
  // Index into the menu's images; -1 for none.
  int ImageIndex() const { return m_imageIndex; }
  void SetImageIndex(int value) { m_imageIndex = value; }
  bool IsLine() const { return m_caption == QStringLiteral("-"); }
  const TNotifyEvent &OnClick() const { return m_onClick; }
  void SetOnClick(TNotifyEvent handler) { m_onClick = std::move(handler); }

  // The menu whose measuring and drawing this item uses; none until hooked, and then Qt's own
  // look applies.
  TsuiPopupMenu *DrawnBy() const;
  // Hooks this item and every sub-item, present and future, to `menu`.
  void HookTo(TsuiPopupMenu *menu);

  // Adds a sub-item owned by this one; it is drawn as this one is.
  TMenuItem *Add(const QString &name, const QString &caption);
  int Count() const { return static_cast<int>(m_items.size()); }
  TMenuItem *Items(int index) const;
  // This item or the first sub-item (at any depth) of that name.
  TMenuItem *Find(const QString &name);

  // Raises OnClick, after turning the mark over for an AutoCheck item; a disabled item does
  // nothing.
  void Click();

signals:
  // The caption, check mark or its kind, enabled state, visibility or the sub-items changed: a copy
  // of the menu that a tray host shows must follow.
  void Changed();

private:
  template <typename T> void change(T &field, const T &value) {
    if (field == value) return;
    field = value;
    emit Changed();
  }

  QString m_caption;
  QString m_shortCut;
  bool m_checked = false;
  bool m_autoCheck = false;
  bool m_enabled = true;
  bool m_visible = true;
  bool m_default = false;
  int m_imageIndex = -1;
  TNotifyEvent m_onClick;
  // Another menu's items may outlive the menu that hooked them.
  QPointer<TsuiPopupMenu> m_drawnBy;
  std::vector<QPointer<TMenuItem>> m_items;
};

} // namespace skin
