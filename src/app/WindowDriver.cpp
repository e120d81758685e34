#include "app/WindowDriver.h"

#include "app/StateTrace.h"
#include "app/TForm1.h"
#include "app/WholeFile.h"
#include "framework/WindowlessControl.h"
#include "platform/HeadlessTrayBinding.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiPopupMenu.h"
#include "tray/CoolTrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

namespace app {

WindowDriver::WindowDriver(TForm1 &form, StateTrace *trace) : m_form(&form), m_trace(trace) {}

bool WindowDriver::done(bool result) {
  if (m_trace) m_trace->Check();
  return result;
}

bool WindowDriver::Click(const std::string &control) {
  TForm1 *const form = m_form.data();
  if (!form) return false;
  QObject *target = form->findChild<QObject *>(QString::fromStdString(control));
  if (auto *button = qobject_cast<skin::TsuiButton *>(target)) {
    // A disabled button takes the click without acting, as on screen.
    if (button->isEnabled()) button->Click();
    return done(true);
  }
  if (auto *windowless = qobject_cast<framework::WindowlessControl *>(target)) {
    windowless->Click();
    return done(true);
  }
  return done(false);
}

namespace {

// The menu that is open, the top of it when a sub-menu is open too.
QMenu *openMenu() {
  auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
  while (menu && qobject_cast<QMenu *>(menu->parentWidget()))
    menu = qobject_cast<QMenu *>(menu->parentWidget());
  return menu;
}

// The open menu and those of its sub-menus that are open.
QList<QMenu *> shownMenus(QMenu &top) {
  QList<QMenu *> shown = {&top};
  for (QMenu *menu : top.findChildren<QMenu *>())
    if (menu->isVisible()) shown.append(menu);
  return shown;
}

// The open menus as they lie on the screen, nothing around them.
QImage menuPicture(QMenu &top) {
  const QList<QMenu *> shown = shownMenus(top);
  QRect all;
  for (const QMenu *menu : shown)
    all |= menu->geometry();
  // In the screen's pixels, as the menus themselves are drawn.
  const qreal ratio = top.devicePixelRatioF();
  QImage picture(all.size() * ratio, QImage::Format_ARGB32);
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  for (QMenu *menu : shown)
    painter.drawPixmap(menu->geometry().topLeft() - all.topLeft(), menu->grab());
  return picture;
}

void closePopups() {
  // Bounded: a popup that refuses to close must not hang the timeline.
  for (int i = 0; i < 16; ++i) {
    QWidget *const popup = QApplication::activePopupWidget();
    if (!popup) return;
    popup->close();
  }
}

} // namespace

bool WindowDriver::Menu(const std::string &item) {
  TForm1 *const form = m_form.data();
  if (!form) return false;
  const QString name = QString::fromStdString(item);
  if (QMenu *const open = openMenu()) {
    // Picked from the menu as it is shown: an item it does not show cannot be chosen.
    QAction *picked = nullptr;
    QAction *subMenu = nullptr;
    for (QAction *action : open->findChildren<QAction *>(name))
      (action->menu() ? subMenu : picked) = action;
    if (!picked && subMenu) {
      // As a click on it does: the item is selected and its sub-menu opens.
      for (QMenu *menu : shownMenus(*open))
        if (menu->actions().contains(subMenu)) {
          menu->setActiveAction(subMenu);
          return done(true);
        }
      return done(false);
    }
    if (!picked) return done(false);
    // As a click does: the menus close, then the item acts.
    closePopups();
    picked->trigger();
    return done(true);
  }
  skin::TMenuItem *found = form->pmnTray->Find(name);
  if (!found || found == &form->pmnTray->Items()) return done(false);
  found->Click();
  return done(true);
}

bool WindowDriver::Tray(TrayAction action) {
  TForm1 *const form = m_form.data();
  if (!form) return false;
  if (action == TrayAction::RightClick) {
    // The menu it opens runs a loop of its own until it closes; started from the event loop
    // rather than inside this step, it lets the later steps run, a menu step among them.
    QTimer::singleShot(0, form, [this] { sendTray(TrayAction::RightClick); });
    return done(true);
  }
  sendTray(action);
  return done(true);
}

void WindowDriver::sendTray(TrayAction action) {
  TForm1 *const form = m_form.data();
  if (!form) return;
  using platform::TrayMouseMessage;
  if (auto *headless = dynamic_cast<platform::HeadlessTrayBinding *>(form->TrayBinding())) {
    // The messages the shell sends for each action, at the cursor's place.
    const QPoint at = headless->cursorPosition().value_or(QPoint(0, 0));
    switch (action) {
    case TrayAction::Click:
      headless->injectMouse(TrayMouseMessage::LeftButtonDown, at);
      headless->injectMouse(TrayMouseMessage::LeftButtonUp, at);
      break;
    case TrayAction::DoubleClick:
      headless->injectMouse(TrayMouseMessage::LeftButtonDown, at);
      headless->injectMouse(TrayMouseMessage::LeftButtonUp, at);
      headless->injectMouse(TrayMouseMessage::LeftButtonDblClk, at);
      headless->injectMouse(TrayMouseMessage::LeftButtonUp, at);
      break;
    case TrayAction::RightClick:
      headless->injectMouse(TrayMouseMessage::RightButtonDown, at);
      headless->injectMouse(TrayMouseMessage::RightButtonUp, at);
      break;
    }
    return;
  }
  // A real notification area cannot be played; act as its messages would.
  switch (action) {
  case TrayAction::Click:
    if (form->tray1->OnClick()) form->tray1->OnClick()(form->tray1);
    break;
  case TrayAction::DoubleClick:
    if (form->tray1->OnDblClick()) form->tray1->OnDblClick()(form->tray1);
    break;
  case TrayAction::RightClick:
    form->tray1->ShowMenuAtCursor();
    break;
  }
}

bool WindowDriver::TitleButton(int index) {
  TForm1 *const form = m_form.data();
  if (!form) return false;
  const skin::TsuiTitleBarButton *button = form->sfrm1->TitleBarButtons().Items(index);
  if (!button || !button->Visible()) return done(false);
  form->sfrm1->TitleBar().ClickButton(index);
  return done(true);
}

bool WindowDriver::Screenshot(const QString &path) {
  TForm1 *const form = m_form.data();
  if (!form) return false;
  // What the user looks at: an open menu rather than the window beneath it.
  QMenu *const open = openMenu();
  const QImage picture = open ? menuPicture(*open) : form->grab().toImage();
  // Encoded in memory and written whole: the image writer misses errors at flush and close and
  // would open a FIFO or a device in place of a file.
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) return done(false);
  std::string reason;
  return done(WriteWholeFile(QFile::encodeName(path).toStdString(),
                             {reinterpret_cast<const std::uint8_t *>(png.constData()),
                              static_cast<std::size_t>(png.size())},
                             reason));
}

} // namespace app
