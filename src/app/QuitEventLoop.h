#pragma once

namespace app {

// Quits the application's event loop, also when it has not started yet: Qt forgets a quit that
// comes while start-up handles events outside the loop, so that one is held until the loop runs.
// On the GUI thread, with a QCoreApplication.
void QuitEventLoop();

} // namespace app
