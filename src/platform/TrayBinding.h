#pragma once

#include <QIcon>
#include <QPoint>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QMenu;

namespace platform {

// What the notification area reports about the mouse on the icon, in the order the shell's
// callback messages would arrive.
enum class TrayMouseMessage {
  MouseMove,
  LeftButtonDown,
  LeftButtonUp,
  LeftButtonDblClk,
  RightButtonDown,
  RightButtonUp,
  RightButtonDblClk,
  MiddleButtonDown,
  MiddleButtonUp,
  MiddleButtonDblClk,
};

struct TrayMouseInput {
  TrayMouseMessage message = TrayMouseMessage::MouseMove;
  QPoint position;                      // screen coordinates of the cursor when delivered
  Qt::KeyboardModifiers modifiers = {}; // keys down when delivered
};

// One icon in the platform's notification area. add/modify/remove answer whether the platform
// took the call, as the shell does: adding an icon that is there, or changing or removing one
// that is not, fails.
class TrayBinding {
public:
  using MouseHandler = std::function<void(const TrayMouseInput &)>;
  using TaskbarCreatedHandler = std::function<void()>;

  virtual ~TrayBinding() = default;

  virtual bool add(const QIcon &icon, const QString &tip) = 0;
  virtual bool modify(const QIcon &icon, const QString &tip) = 0;
  virtual bool remove() = 0;

  // Empty when the cursor position cannot be read.
  virtual std::optional<QPoint> cursorPosition() const = 0;

  // False while no tray host can show the icon: hiding a window "to the tray" would then leave
  // the user without a way back.
  virtual bool available() const = 0;

  // A message from the icon, for desktops without a notification service. False when the icon
  // is not shown or its host cannot show messages.
  virtual bool showMessage(const QString &title, const QString &body) = 0;

  // The menu a tray host draws itself (a StatusNotifierItem host, which gets it over D-Bus),
  // owned by the binding and empty until filled; null where the menu is the program's to show.
  virtual QMenu *hostMenu() { return nullptr; }

  void setMouseHandler(MouseHandler handler) { m_mouseHandler = std::move(handler); }
  // Called after the notification area was re-created and has forgotten every icon.
  void setTaskbarCreatedHandler(TaskbarCreatedHandler handler) {
    m_taskbarCreatedHandler = std::move(handler);
  }

protected:
  void deliverMouse(const TrayMouseInput &input) const {
    if (m_mouseHandler) m_mouseHandler(input);
  }
  void deliverTaskbarCreated() const {
    if (m_taskbarCreatedHandler) m_taskbarCreatedHandler();
  }

private:
  MouseHandler m_mouseHandler;
  TaskbarCreatedHandler m_taskbarCreatedHandler;
};

// The binding for this process: headless on platforms without a desktop (offscreen, minimal),
// the Qt tray otherwise, even when no tray host runs yet, because one may start later (an
// autostarted program usually starts before the panel).
std::unique_ptr<TrayBinding> createTrayBinding();

} // namespace platform
