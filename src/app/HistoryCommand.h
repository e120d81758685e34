#pragma once

#include "receiver/BatteryHistory.h"
#include "receiver/Languages.h"
#include "skin/SkinTypes.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace app {

// The battery history's outlook for the commands: the store at `path` read (and put right, as
// the window would) at `now`. Faults of the store are said on `err`; the outlook is then that of
// what could be read, or empty.
receiver::BatteryOutlook ReadOutlook(const std::string &path, std::int64_t now, std::ostream &err);

// Runs `--history`: the battery periods as a table, or one JSON object with `json`. Answers the
// exit status: 0, or 1 when the output could not be written.
int RunHistoryCommand(const std::string &path, std::int64_t now, bool json, std::ostream &out,
                      std::ostream &err);

// When each battery after the first went in (a new battery or a newly bound mouse), oldest first.
std::vector<std::int64_t> BatteryChangeTimes(const receiver::BatteryOutlook &outlook);

// Runs `--history --plot=FILE`: the battery chart of the store at `path` at `now`, in `language`
// and `style`, written to `file` as a PNG picture. Needs a GUI application. Answers the exit
// status: 0, or 1 with one line on `err` when nothing was written.
int RunHistoryPlot(const std::string &path, std::int64_t now, const std::string &file,
                   receiver::TLngID language, skin::TsuiUIStyle style, std::ostream &err);

} // namespace app
