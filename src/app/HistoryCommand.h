#pragma once

#include "receiver/BatteryHistory.h"

#include <cstdint>
#include <iosfwd>
#include <string>

namespace app {

// The battery history's outlook for the commands: the store at `path` read (and put right, as
// the window would) at `now`. Faults of the store are said on `err`; the outlook is then that of
// what could be read, or empty.
receiver::BatteryOutlook ReadOutlook(const std::string &path, std::int64_t now, std::ostream &err);

// Runs `--history`: the battery periods as a table, or one JSON object with `json`. Answers the
// exit status: 0, or 1 when the output could not be written.
int RunHistoryCommand(const std::string &path, std::int64_t now, bool json, std::ostream &out,
                      std::ostream &err);

} // namespace app
