#pragma once

#include <QPoint>

#include <functional>

class QMenu;
class QSystemTrayIcon;

namespace platform {

// Makes a StatusNotifierItem host's menu request for the tray icon whose menu is `hostMenu` reach
// `requested` with the position the host gave. False where the platform has no such items (the
// tray's own clicks say everything there) or they cannot be taken over.
bool TakeOverHostMenuRequests(QMenu &hostMenu, std::function<void(QPoint)> requested);

// Whether the tray's host draws `icon`'s menu itself, exported from `hostMenu` (a
// StatusNotifierItem host); `hostMenu` stays the icon's menu only then. Elsewhere (an XEmbed
// tray, Windows' notification area) the program pops its own skinned menu.
bool HostDrawsTheMenu(QSystemTrayIcon &icon, QMenu &hostMenu);

} // namespace platform
