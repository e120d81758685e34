#pragma once

class QMenu;
class QObject;

namespace framework {

// What a tray icon needs from a popup menu. Declared here, below both, so that the tray uses it
// and the skinned popup menu implements it without either knowing the other.
class PopupMenuPort {
public:
  virtual ~PopupMenuPort() = default;

  // The object whose destruction ends the menu; the icon drops its reference then. The
  // implementation must live at least as long as this object.
  virtual QObject *component() = 0;

  // Whether the menu pops up by itself on a right click.
  virtual bool AutoPopup() const = 0;
  // The component the menu was popped up for, for handlers that ask.
  virtual void SetPopupComponent(QObject *component) = 0;
  // Shows the menu at a screen point; returns when the menu is closed.
  virtual void Popup(int x, int y) = 0;
  // Clicks the first top-level item marked as default; false when there is none.
  virtual bool ClickDefaultItem() = 0;
  // Keeps `menu` showing this menu's items, for tray hosts that draw the menu themselves,
  // until called with another menu or null; the menu kept before is left empty. A menu that
  // cannot be copied leaves it empty.
  virtual void MirrorInto(QMenu * /*menu*/) {}
};

} // namespace framework
