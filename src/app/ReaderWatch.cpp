#include "app/ReaderWatch.h"

#include <QCoreApplication>

#include <sys/stat.h>

namespace app {

// A pipe's write end polls as readable only with an error: when its last reader has closed it.
// A terminal or a file is never watched (a terminal is readable when a key is typed).
std::unique_ptr<QSocketNotifier> WatchReaderLeaving(int fd, bool &gone) {
  struct stat status {};
  if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISFIFO(status.st_mode)) return nullptr;
  auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                   [&gone, notifier = notifier.get()] {
                     notifier->setEnabled(false);
                     gone = true;
                     QCoreApplication::exit(1);
                   });
  return notifier;
}

} // namespace app
