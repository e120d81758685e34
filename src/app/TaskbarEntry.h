#pragma once

class QWidget;

namespace app {

enum class TaskbarWindow {
  Unmapped, // not yet shown, or withdrawn (at creation, in its show event)
  Mapped,   // shown, minimised included
};

// Keeps a top-level window off the task bar and the pager (`entry` false) or puts it back there.
// On X11 the window manager learns it from _NET_WM_STATE, which Qt::Tool alone does not set: an
// unmapped window carries it in the property, a mapped one asks the window manager, which owns
// the property then. Answers false where the platform has no such state (any platform but xcb)
// or a call failed.
bool SetTaskbarEntry(QWidget &window, bool entry, TaskbarWindow state);

// Makes an unmapped window map in its normal state. Qt leaves the initial-state hint at iconic
// when the window manager, not Qt, restored a minimised window, and the window would come back
// iconic once withdrawn (hidden to the tray) and shown again. False as above.
bool MapInNormalState(QWidget &window);

} // namespace app
