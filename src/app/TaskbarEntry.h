#pragma once

class QWidget;

namespace app {

// Keeps a top-level window off the task bar and the pager. On X11 the window manager learns it
// from _NET_WM_STATE, which Qt::Tool alone does not set; call before the window is mapped (at
// creation and from its show event). Answers false where the platform has no such state (any
// platform but xcb) or the call failed.
bool SkipTaskbar(QWidget &window);

} // namespace app
