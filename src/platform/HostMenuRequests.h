#pragma once

#include <QPoint>

#include <functional>

class QMenu;

namespace platform {

// Makes a StatusNotifierItem host's menu request for the tray icon whose menu is `hostMenu` reach
// `requested` with the position the host gave. False where the platform has no such items (the
// tray's own clicks say everything there) or they cannot be taken over.
bool TakeOverHostMenuRequests(QMenu &hostMenu, std::function<void(QPoint)> requested);

} // namespace platform
