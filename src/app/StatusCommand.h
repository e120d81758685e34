#pragma once

#include <iosfwd>
#include <string>

namespace hid {
class HidBinding;
class HidTrace;
} // namespace hid

namespace app {

// Runs `--status` in the running application's event loop: finds the receiver as the window
// would, reads it once and prints one line (one JSON object with `json`). Answers the exit
// status: 0 with a reading, 1 with one line on `err` when no receiver is found, it may not be
// written to or it does not answer; with `json` the object is printed then too, not connected.
// `historyMembers` goes at the end of the JSON object (receiver::OutlookJsonMembers), whatever
// the reading.
int RunStatusCommand(hid::HidBinding &binding, hid::HidTrace *trace, bool json, std::ostream &out,
                     std::ostream &err, const std::string &historyMembers = std::string());

} // namespace app
