#pragma once

#include "framework/Component.h"
#include "framework/Delegate.h"
#include "framework/MessageLoop.h"
#include "framework/Timer.h"
#include "platform/TrayBinding.h"
#include "tray/ApplicationWindowHook.h"

#include <QFlags>
#include <QIcon>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>

namespace framework {
class PopupMenuPort;
}

namespace tray {

class TImageList;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

enum class TShiftFlag {
  ssShift = 0x01,
  ssAlt = 0x02,
  ssCtrl = 0x04,
  ssLeft = 0x08,
  ssRight = 0x10,
  ssMiddle = 0x20,
};
Q_DECLARE_FLAGS(TShiftState, TShiftFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TShiftState)

enum class TOperation { opInsert, opRemove };

// The tip the notification area shows: the shell keeps 127 characters and a terminating zero.
QString trayTip(const QString &hint, bool showHint);

// One icon in the notification area, with its tip, popup menu, click events, icon cycling and
// minimise-to-tray. The owner, when it is a widget, is the window the icon belongs to: the icon
// watches it for minimising, showing and activation.
class TCoolTrayIcon : public QObject, public framework::Component {
  Q_OBJECT
public:
  using TNotifyEvent = framework::Delegate<void(QObject *)>;
  using TMouseEvent = framework::Delegate<void(QObject *, TMouseButton, TShiftState, int, int)>;
  using TMouseMoveEvent = framework::Delegate<void(QObject *, TShiftState, int, int)>;
  using TCycleEvent = framework::Delegate<void(QObject *, int)>;

  static constexpr int MaxTipLength = 127;

  // Without a binding the platform's own is used; without a loop, Qt's event queue is pumped.
  explicit TCoolTrayIcon(QObject *owner, std::unique_ptr<platform::TrayBinding> binding = nullptr,
                         framework::MessageLoop *loop = nullptr);
  ~TCoolTrayIcon() override;

  // Called once the owner has been built and every property applied.
  void Loaded() override;
  // Told when a component this icon refers to goes away.
  virtual void Notification(QObject *component, TOperation operation);

  bool DesignPreview() const { return m_designPreview; }
  void SetDesignPreview(bool value) { m_designPreview = value; }
  TImageList *IconList() const { return m_iconList; }
  void SetIconList(TImageList *value);
  bool CycleIcons() const { return m_cycleIcons; }
  void SetCycleIcons(bool value);
  std::uint32_t CycleInterval() const { return m_cycleInterval; }
  void SetCycleInterval(std::uint32_t value);
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool value) { m_enabled = value; }
  const QString &Hint() const { return m_hint; }
  void SetHint(const QString &value);
  bool ShowHint() const { return m_showHint; }
  void SetShowHint(bool value);
  const QIcon &Icon() const { return m_icon; }
  void SetIcon(const QIcon &value);
  bool IconVisible() const { return m_iconVisible; }
  void SetIconVisible(bool value);
  int IconIndex() const { return m_iconIndex; }
  void SetIconIndex(int value);
  framework::PopupMenuPort *PopupMenu() const { return m_popupMenu; }
  void SetPopupMenu(framework::PopupMenuPort *value);
  bool LeftPopup() const { return m_leftPopup; }
  void SetLeftPopup(bool value) { m_leftPopup = value; }
  bool StartMinimized() const { return m_startMinimized; }
  void SetStartMinimized(bool value) { m_startMinimized = value; }
  bool MinimizeToTray() const { return m_minimizeToTray; }
  // Whether a notification area can show the icon now; without one, a window hidden "to the
  // tray" could not be brought back.
  bool IconReachable() const { return m_binding->available(); }
  void SetMinimizeToTray(bool value) { m_minimizeToTray = value; }

  const TNotifyEvent &OnClick() const { return m_onClick; }
  void SetOnClick(TNotifyEvent handler) { m_onClick = std::move(handler); }
  const TNotifyEvent &OnDblClick() const { return m_onDblClick; }
  void SetOnDblClick(TNotifyEvent handler) { m_onDblClick = std::move(handler); }
  const TMouseEvent &OnMouseDown() const { return m_onMouseDown; }
  void SetOnMouseDown(TMouseEvent handler) { m_onMouseDown = std::move(handler); }
  const TMouseEvent &OnMouseUp() const { return m_onMouseUp; }
  void SetOnMouseUp(TMouseEvent handler) { m_onMouseUp = std::move(handler); }
  const TMouseMoveEvent &OnMouseMove() const { return m_onMouseMove; }
  void SetOnMouseMove(TMouseMoveEvent handler) { m_onMouseMove = std::move(handler); }
  const TCycleEvent &OnCycle() const { return m_onCycle; }
  void SetOnCycle(TCycleEvent handler) { m_onCycle = std::move(handler); }

  // Each answers whether the platform took the call; callers here ignore it.
  virtual bool AddIcon();
  virtual bool RemoveIcon();
  virtual bool UpdateIcon();

  void ShowMenuAtCursor();
  virtual void SendToTray();
  // Shows the owner's window minimised, where no tray could take it back; unlike other shows by
  // a call, this one is not restored.
  void ShowOwnerMinimized();

  // False when the program asked not to show its main window at start.
  bool ShowMainForm() const { return m_showMainForm; }

  framework::Timer &ClickTimer() { return m_clickTimer; }
  framework::Timer &CycleTimer() { return m_cycleTimer; }
  bool LeftDownSeen() const { return m_leftDownSeen; }
  bool ClickPending() const { return m_clickPending; }
  bool DoubleClickSeen() const { return m_doubleClickSeen; }

protected:
  virtual void Click();
  virtual void DblClick();
  virtual void DoCycle(int nextIndex);
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);

private:
  void handleMouse(const platform::TrayMouseInput &input);
  void handleWindowMessage(WindowMessage message);
  void taskbarCreated();
  void clickTimerTick(framework::Timer *timer);
  void cycleTimerTick(framework::Timer *timer);
  QWidget *ownerWindow() const;

  std::unique_ptr<platform::TrayBinding> m_binding;
  framework::MessageLoop *m_loop;
  QPointer<QWidget> m_owner;

  bool m_designPreview = false;
  TImageList *m_iconList = nullptr; // cleared when the list is destroyed
  QMetaObject::Connection m_iconListGone;
  bool m_cycleIcons = false;
  std::uint32_t m_cycleInterval = 0;
  bool m_enabled = true;
  QString m_hint;
  bool m_showHint = true;
  QIcon m_icon;
  bool m_iconVisible = true;
  int m_iconIndex = 0;
  framework::PopupMenuPort *m_popupMenu = nullptr;
  QObject *m_popupComponent = nullptr;
  QMetaObject::Connection m_popupMenuGone;
  bool m_leftPopup = false;
  // From a menu request's pending messages until its menu is closed.
  bool m_menuRequested = false;
  bool m_startMinimized = false;
  bool m_minimizeToTray = false;
  bool m_showingOwnerMinimized = false;

  TNotifyEvent m_onClick;
  TNotifyEvent m_onDblClick;
  TMouseEvent m_onMouseDown;
  TMouseEvent m_onMouseUp;
  TMouseMoveEvent m_onMouseMove;
  TCycleEvent m_onCycle;

  framework::Timer m_cycleTimer;
  framework::Timer m_clickTimer;
  bool m_leftDownSeen = false;
  bool m_clickPending = false;
  bool m_doubleClickSeen = false;
  bool m_showMainForm = true;

  std::unique_ptr<ApplicationWindowHook> m_windowHook;
};

} // namespace tray
