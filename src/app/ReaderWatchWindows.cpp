#include "app/ReaderWatch.h"

namespace app {

std::unique_ptr<QSocketNotifier> WatchReaderLeaving(int, bool &) {
  // A notifier takes sockets only there.
  return nullptr;
}

} // namespace app
