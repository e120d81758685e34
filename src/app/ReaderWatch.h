#pragma once

#include <QSocketNotifier>

#include <memory>

namespace app {

// Ends the event loop with status 1, and sets `gone`, once the last reader of the pipe `fd`
// writes to has left. None for anything but a pipe, or where the platform cannot watch one: the
// next write then finds the reader gone.
std::unique_ptr<QSocketNotifier> WatchReaderLeaving(int fd, bool &gone);

} // namespace app
