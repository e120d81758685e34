#include "app/HistoryCommand.h"

#include "app/BatteryStore.h"
#include "app/Messages.h"
#include "receiver/BatteryHistoryText.h"

#include <ostream>

namespace app {

receiver::BatteryOutlook ReadOutlook(const std::string &path, std::int64_t now, std::ostream &err) {
  const BatteryStore store(path, err);
  return receiver::ReadBatteryHistory(store.Records(), now);
}

int RunHistoryCommand(const std::string &path, std::int64_t now, bool json, std::ostream &out,
                      std::ostream &err) {
  const receiver::BatteryOutlook outlook = ReadOutlook(path, now, err);
  if (json)
    out << receiver::FormatHistoryJson(outlook) << '\n';
  else
    out << receiver::FormatHistoryText(outlook);
  return OutputStatus(out, err, 0);
}

} // namespace app
