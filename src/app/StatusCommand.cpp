#include "app/StatusCommand.h"

#include "app/Messages.h"
#include "framework/QtMessageLoop.h"
#include "hid/HidBinding.h"
#include "hid/JvHidDeviceController.h"
#include "receiver/ReceiverConnection.h"
#include "receiver/StatusQuery.h"

#include <QCoreApplication>

#include <ostream>

namespace app {

int RunStatusCommand(hid::HidBinding &binding, hid::HidTrace *trace, bool json, std::ostream &out,
                     std::ostream &err) {
  if (!binding.Bound()) {
    err << ProgramName << ": the HID device services are not available\n";
    return 1;
  }
  // The controller would take a failed enumeration for an empty machine.
  if (!binding.Enumerate()) {
    err << ProgramName << ": the HID devices cannot be enumerated\n";
    return 1;
  }
  if (QCoreApplication::instance() == nullptr) {
    err << ProgramName << ": no application event loop\n";
    return 1;
  }
  framework::QtMessageLoop loop;
  receiver::ReceiverConnection connection(loop);
  hid::TJvHidDeviceController controller(binding, loop, trace);
  static const char tag = 0;
  bool done = false;
  int status = 1;
  controller.Loading();
  controller.SetOnDeviceChange(hid::TNotifyEvent::fromFunction(
      [&](hid::TJvHidDeviceController *sender) {
        // The queries pump messages: a device change arriving meanwhile must not read again.
        if (done) return;
        done = true;
        const receiver::StatusReading reading = receiver::ReadReceiverStatus(*sender, connection);
        if (reading.Status) {
          out << (json ? receiver::FormatStatusJson(*reading.Status)
                       : receiver::FormatStatusText(*reading.Status))
              << '\n';
          status = OutputStatus(out, err, 0);
        } else if (reading.Failure == receiver::StatusFailure::NotFound) {
          err << ProgramName << ": no supported receiver found (quelvane --list shows what is)\n";
        } else if (reading.Failure == receiver::StatusFailure::BadAnswer) {
          err << ProgramName << ": the receiver's answer cannot be shown: " << reading.Detail
              << '\n';
        } else {
          err << ProgramName << ": the receiver does not answer: " << reading.Detail << '\n';
        }
        QCoreApplication::exit(status);
      },
      &tag));
  controller.Loaded();
  QCoreApplication::exec();
  return status;
}

} // namespace app
