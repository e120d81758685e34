#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace tray {

// The window changes the tray icon reacts to, as the application and owner windows report them.
enum class WindowMessage {
  Minimized,   // the window became minimised
  Activated,   // the window became the active one
  ShownByCall, // the program showed the window (not the window system on a restore)
};

// Sees the main window's state changes before the window's own handling and turns them into
// WindowMessage. The only place where Qt's window events are mapped. Removing the hook gives the
// window its plain handling back.
class ApplicationWindowHook final : public QObject {
  Q_OBJECT
public:
  using Sink = std::function<void(WindowMessage)>;

  ApplicationWindowHook(QWidget *window, Sink sink);
  ~ApplicationWindowHook() override;

  QWidget *window() const { return m_window; }

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  QPointer<QWidget> m_window;
  Sink m_sink;
};

} // namespace tray
