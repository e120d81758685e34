#include "tray/CoolTrayIcon.h"

#include "framework/PopupMenuPort.h"
#include "tray/ImageList.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QStyleHints>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace tray {

QString trayTip(const QString &hint, bool showHint) {
  if (hint.isEmpty() || !showHint) return QString();
  // The shell's tip ends at the first zero.
  QString tip = hint.left(hint.indexOf(QChar(0)) < 0 ? hint.size() : hint.indexOf(QChar(0)));
  if (tip.size() > TCoolTrayIcon::MaxTipLength) {
    qsizetype length = TCoolTrayIcon::MaxTipLength;
    // Never leave half of a surrogate pair behind.
    if (tip.at(length - 1).isHighSurrogate()) --length;
    tip.truncate(length);
  }
  return tip;
}

TCoolTrayIcon::TCoolTrayIcon(QObject *owner, std::unique_ptr<platform::TrayBinding> binding,
                             framework::MessageLoop *loop)
    : QObject(owner), m_binding(binding ? std::move(binding) : platform::createTrayBinding()),
      m_loop(loop), m_owner(qobject_cast<QWidget *>(owner)) {
  m_binding->setMouseHandler([this](const platform::TrayMouseInput &input) { handleMouse(input); });
  m_binding->setTaskbarCreatedHandler([this] { taskbarCreated(); });

  m_cycleTimer.SetEnabled(false);
  m_cycleTimer.SetInterval(0);
  m_cycleTimer.SetOnTimer(framework::Timer::Event::bind<&TCoolTrayIcon::cycleTimerTick>(this));

  m_clickTimer.SetEnabled(false);
  // A zero double-click time would keep every single click pending for ever.
  m_clickTimer.SetInterval(std::max(1, QGuiApplication::styleHints()->mouseDoubleClickInterval()));
  m_clickTimer.SetOnTimer(framework::Timer::Event::bind<&TCoolTrayIcon::clickTimerTick>(this));

  if (QWidget *window = ownerWindow())
    m_windowHook = std::make_unique<ApplicationWindowHook>(
        window, [this](WindowMessage message) { handleWindowMessage(message); });
}

TCoolTrayIcon::~TCoolTrayIcon() {
  RemoveIcon();
  m_designPreview = false;
  m_windowHook.reset();
  m_binding->setMouseHandler(nullptr);
  m_binding->setTaskbarCreatedHandler(nullptr);
  QObject::disconnect(m_iconListGone);
  QObject::disconnect(m_popupMenuGone);
}

QWidget *TCoolTrayIcon::ownerWindow() const {
  return m_owner ? m_owner->window() : nullptr;
}

void TCoolTrayIcon::Loaded() {
  if (QWidget *window = ownerWindow(); window && m_startMinimized) {
    m_showMainForm = false;
    window->hide();
  }
  UpdateIcon();
  if (m_iconVisible)
    AddIcon();
  else
    RemoveIcon();
}

void TCoolTrayIcon::Notification(QObject *component, TOperation operation) {
  if (operation != TOperation::opRemove || component == nullptr) return;
  if (component == m_iconList) SetIconList(nullptr);
  if (component == m_popupComponent) {
    // What is left of the menu is no longer one; it stopped its copy itself.
    m_popupMenu = nullptr;
    SetPopupMenu(nullptr);
  }
}

void TCoolTrayIcon::SetIconList(TImageList *value) {
  QObject::disconnect(m_iconListGone);
  m_iconListGone = {};
  m_iconList = value;
  if (value)
    m_iconListGone = connect(value, &QObject::destroyed, this,
                             [this](QObject *gone) { Notification(gone, TOperation::opRemove); });
  SetIconIndex(0);
}

void TCoolTrayIcon::SetCycleIcons(bool value) {
  m_cycleIcons = value;
  if (value) SetIconIndex(0);
  m_cycleTimer.SetEnabled(value);
}

void TCoolTrayIcon::SetCycleInterval(std::uint32_t value) {
  m_cycleInterval = value;
  m_cycleTimer.SetInterval(
      static_cast<int>(std::min<std::uint32_t>(value, std::numeric_limits<int>::max())));
}

void TCoolTrayIcon::SetHint(const QString &value) {
  m_hint = value;
  UpdateIcon();
}

void TCoolTrayIcon::SetShowHint(bool value) {
  m_showHint = value;
  UpdateIcon();
}

void TCoolTrayIcon::SetIcon(const QIcon &value) {
  m_icon = value;
  UpdateIcon();
}

void TCoolTrayIcon::SetIconVisible(bool value) {
  if (value)
    AddIcon();
  else
    RemoveIcon();
}

void TCoolTrayIcon::SetIconIndex(int value) {
  const int count = m_iconList ? m_iconList->Count() : 0;
  if (count > 0) {
    // Outside the list there is no picture to show: keep to the nearest one.
    m_iconIndex = std::clamp(value, 0, count - 1);
    m_icon = m_iconList->GetIcon(m_iconIndex);
  } else {
    m_iconIndex = 0;
  }
  UpdateIcon();
}

void TCoolTrayIcon::SetPopupMenu(framework::PopupMenuPort *value) {
  QObject::disconnect(m_popupMenuGone);
  m_popupMenuGone = {};
  // A host that draws the menu itself is given a copy that follows the items.
  QMenu *const hostMenu = m_binding->hostMenu();
  if (hostMenu && m_popupMenu && m_popupMenu != value) m_popupMenu->MirrorInto(nullptr);
  if (hostMenu && value) value->MirrorInto(hostMenu);
  m_popupMenu = value;
  m_popupComponent = value ? value->component() : nullptr;
  if (m_popupComponent)
    m_popupMenuGone = connect(m_popupComponent, &QObject::destroyed, this,
                              [this](QObject *gone) { Notification(gone, TOperation::opRemove); });
}

bool TCoolTrayIcon::AddIcon() {
  m_iconVisible = true;
  return m_binding->add(m_icon, trayTip(m_hint, m_showHint));
}

bool TCoolTrayIcon::RemoveIcon() {
  m_iconVisible = false;
  return m_binding->remove();
}

bool TCoolTrayIcon::UpdateIcon() {
  return m_binding->modify(m_icon, trayTip(m_hint, m_showHint));
}

void TCoolTrayIcon::Click() {
  if (m_onClick) m_onClick(this);
}

void TCoolTrayIcon::DblClick() {
  if (m_onDblClick) m_onDblClick(this);
}

void TCoolTrayIcon::DoCycle(int nextIndex) {
  if (m_onCycle) m_onCycle(this, nextIndex);
}

void TCoolTrayIcon::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (m_onMouseDown) m_onMouseDown(this, button, shift, x, y);
}

void TCoolTrayIcon::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (m_onMouseUp) m_onMouseUp(this, button, shift, x, y);
}

void TCoolTrayIcon::MouseMove(TShiftState shift, int x, int y) {
  if (m_onMouseMove) m_onMouseMove(this, shift, x, y);
}

void TCoolTrayIcon::handleMouse(const platform::TrayMouseInput &input) {
  if (!m_enabled) return;
  TShiftState shift;
  if (input.modifiers.testFlag(Qt::ShiftModifier)) shift |= TShiftFlag::ssShift;
  if (input.modifiers.testFlag(Qt::AltModifier)) shift |= TShiftFlag::ssAlt;
  if (input.modifiers.testFlag(Qt::ControlModifier)) shift |= TShiftFlag::ssCtrl;
  const int x = input.position.x();
  const int y = input.position.y();

  using platform::TrayMouseMessage;
  switch (input.message) {
  case TrayMouseMessage::MouseMove:
    MouseMove(shift, x, y);
    break;
  case TrayMouseMessage::LeftButtonDown:
    m_clickTimer.SetEnabled(true);
    MouseDown(TMouseButton::mbLeft, shift | TShiftFlag::ssLeft, x, y);
    m_leftDownSeen = true;
    if (m_leftPopup) ShowMenuAtCursor();
    break;
  case TrayMouseMessage::LeftButtonUp:
    if (m_leftDownSeen) {
      m_clickPending = true;
      if (!m_clickTimer.Enabled()) {
        m_leftDownSeen = false;
        m_clickPending = false;
        Click();
      }
    }
    m_leftDownSeen = false;
    MouseUp(TMouseButton::mbLeft, shift | TShiftFlag::ssLeft, x, y);
    break;
  case TrayMouseMessage::LeftButtonDblClk:
    m_clickPending = false;
    m_doubleClickSeen = true;
    DblClick();
    if (m_popupMenu && m_popupMenu->AutoPopup() && !m_leftPopup) m_popupMenu->ClickDefaultItem();
    break;
  case TrayMouseMessage::RightButtonDown:
    MouseDown(TMouseButton::mbRight, shift | TShiftFlag::ssRight, x, y);
    ShowMenuAtCursor();
    break;
  case TrayMouseMessage::RightButtonUp:
    MouseUp(TMouseButton::mbRight, shift | TShiftFlag::ssRight, x, y);
    break;
  case TrayMouseMessage::MiddleButtonDown:
    MouseDown(TMouseButton::mbMiddle, shift | TShiftFlag::ssMiddle, x, y);
    break;
  case TrayMouseMessage::MiddleButtonUp:
    MouseUp(TMouseButton::mbMiddle, shift | TShiftFlag::ssMiddle, x, y);
    break;
  case TrayMouseMessage::RightButtonDblClk:
  case TrayMouseMessage::MiddleButtonDblClk:
    break;
  }
}

void TCoolTrayIcon::clickTimerTick(framework::Timer * /*timer*/) {
  m_clickTimer.SetEnabled(false);
  if (!m_doubleClickSeen && m_clickPending) {
    m_clickPending = false;
    Click();
  }
  m_doubleClickSeen = false;
}

void TCoolTrayIcon::cycleTimerTick(framework::Timer * /*timer*/) {
  const int count = m_iconList ? m_iconList->Count() : 0;
  if (count == 0) return;
  // The list may have shrunk since the index was set.
  const int index = std::clamp(m_iconIndex, 0, count - 1);
  m_icon = m_iconList->GetIcon(index);
  const int next = index + 1 < count ? index + 1 : 0;
  DoCycle(next);
  UpdateIcon();
  SetIconIndex(next);
}

void TCoolTrayIcon::ShowMenuAtCursor() {
  // One menu at a time: a tray host asks as often as it likes, and each request would run its
  // menu inside the loop of the one before, or of the messages pumped before that one opens.
  if (m_menuRequested || !m_popupMenu || !m_popupMenu->AutoPopup()) return;
  const std::optional<QPoint> cursor = m_binding->cursorPosition();
  if (!cursor) return;
  // A handler may destroy the icon meanwhile.
  const QPointer<TCoolTrayIcon> alive(this);
  m_menuRequested = true;
  if (m_loop)
    m_loop->processPendingMessages();
  else
    QCoreApplication::processEvents();
  // The pending messages may have taken the menu away.
  if (alive && m_popupMenu) {
    if (QWidget *window = ownerWindow(); window && window->isVisible()) window->activateWindow();
    m_popupMenu->SetPopupComponent(this);
    m_popupMenu->Popup(cursor->x(), cursor->y());
  }
  if (alive) m_menuRequested = false;
}

void TCoolTrayIcon::SendToTray() {
  // Without a tray host nothing could bring the window back.
  if (QWidget *window = ownerWindow(); window && m_binding->available()) window->hide();
  SetIconVisible(true);
}

void TCoolTrayIcon::ShowOwnerMinimized() {
  QWidget *window = ownerWindow();
  if (window == nullptr) return;
  m_showingOwnerMinimized = true;
  window->showMinimized();
  m_showingOwnerMinimized = false;
}

void TCoolTrayIcon::taskbarCreated() {
  if (m_iconVisible) AddIcon();
}

void TCoolTrayIcon::handleWindowMessage(WindowMessage message) {
  QWidget *window = ownerWindow();
  if (window == nullptr) return;
  switch (message) {
  case WindowMessage::Minimized:
    if (m_minimizeToTray) SendToTray();
    break;
  case WindowMessage::Activated:
    if (QWidget *focus = window->focusWidget()) focus->setFocus(Qt::ActiveWindowFocusReason);
    break;
  case WindowMessage::ShownByCall:
    if (m_showingOwnerMinimized) break;
    // A window sent to the tray while minimised must come back restored. Showing it stacked it
    // on top already (Qt raises a window it shows); the foreground is the active window.
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->activateWindow();
    break;
  }
}

} // namespace tray
