#include "app/TaskbarEntry.h"

#include <QWidget>

#include <windows.h>

namespace app {

bool SetTaskbarEntry(QWidget &window, bool entry, TaskbarWindow state) {
  // A tool window (Qt::Tool) gets no task-bar button; an app window always gets one.
  const HWND hwnd = reinterpret_cast<HWND>(window.winId());
  if (!hwnd) return false;
  ::SetLastError(0);
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  if (style == 0 && ::GetLastError() != 0) return false;
  const LONG_PTR wanted = entry ? (style | WS_EX_APPWINDOW) & ~LONG_PTR{WS_EX_TOOLWINDOW}
                                : (style | WS_EX_TOOLWINDOW) & ~LONG_PTR{WS_EX_APPWINDOW};
  if (wanted == style) return true;
  ::SetLastError(0);
  if (::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, wanted) == 0 && ::GetLastError() != 0) return false;
  // The shell looks at the style when a window is shown: a shown one is shown again.
  if (state == TaskbarWindow::Mapped && ::IsWindowVisible(hwnd)) {
    ::ShowWindow(hwnd, SW_HIDE);
    ::ShowWindow(hwnd, SW_SHOWNA);
  }
  return true;
}

bool MapInNormalState(QWidget &) {
  // Windows has no initial-state hint that could be left at iconic.
  return false;
}

} // namespace app
