#pragma once

#include <iosfwd>

namespace hid {
class HidBinding;
class HidTrace;
} // namespace hid

namespace app {

// Runs `--status` in the running application's event loop: finds the receiver as the window
// would, reads it once and prints one line (one JSON object with `json`). Answers the exit
// status: 0 with a reading, 1 with one line on `err` when no receiver is found, it may not be
// written to or it does not answer; with `json` the object is printed then too, not connected.
int RunStatusCommand(hid::HidBinding &binding, hid::HidTrace *trace, bool json, std::ostream &out,
                     std::ostream &err);

} // namespace app
