#include "app/StatusCommand.h"

#include "app/Messages.h"
#include "framework/QtMessageLoop.h"
#include "hid/HidBinding.h"
#include "hid/JvHidDeviceController.h"
#include "receiver/ReceiverConnection.h"
#include "receiver/StatusQuery.h"

#include <QCoreApplication>

#include <ostream>
#include <string>

namespace app {

namespace {

std::string WhyNot(const receiver::StatusReading &reading) {
  switch (reading.Failure) {
  case receiver::StatusFailure::NotFound:
    break;
  case receiver::StatusFailure::NoPermission:
    return "no permission to write to the receiver " + reading.Detail +
           ": install the udev rule 70-quelvane.rules and plug the receiver in again (see the "
           "README)";
  case receiver::StatusFailure::NoAnswer:
    return "the receiver does not answer: " + reading.Detail;
  case receiver::StatusFailure::BadAnswer:
    return "the receiver's answer cannot be shown: " + reading.Detail;
  }
  return "no supported receiver found (quelvane --list shows what is)";
}

} // namespace

int RunStatusCommand(hid::HidBinding &binding, hid::HidTrace *trace, bool json, std::ostream &out,
                     std::ostream &err, const std::string &historyMembers) {
  // The reading's own members first, unchanged; the history's after them.
  const auto withHistory = [&](std::string object) {
    object.insert(object.size() - 1, historyMembers);
    return object;
  };
  // A script polling --json gets an object whatever happened; the line why goes beside it.
  const auto failed = [&](const receiver::StatusReading &reading, const std::string &why) {
    err << ProgramName << ": " << why << '\n';
    if (json) out << withHistory(receiver::FormatStatusJson(reading)) << '\n';
    return OutputStatus(out, err, 1);
  };
  if (!binding.Bound()) return failed({}, "the HID device services are not available");
  // The controller would take a failed enumeration for an empty machine.
  if (!binding.Enumerate()) return failed({}, "the HID devices cannot be enumerated");
  if (QCoreApplication::instance() == nullptr) return failed({}, "no application event loop");
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
          out << (json ? withHistory(receiver::FormatStatusJson(*reading.Status))
                       : receiver::FormatStatusText(*reading.Status))
              << '\n';
          status = OutputStatus(out, err, 0);
        } else {
          status = failed(reading, WhyNot(reading));
        }
        QCoreApplication::exit(status);
      },
      &tag));
  controller.Loaded();
  // The first scan may have read the receiver already, before there was a loop to end.
  if (!done) QCoreApplication::exec();
  return status;
}

} // namespace app
