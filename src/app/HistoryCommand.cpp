#include "app/HistoryCommand.h"

#include "app/BatteryChartFile.h"
#include "app/BatteryHistoryWindow.h"
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

std::vector<std::int64_t> BatteryChangeTimes(const receiver::BatteryOutlook &outlook) {
  std::vector<std::int64_t> times;
  for (const receiver::BatteryPeriod &period : outlook.Periods)
    if (period.Began != receiver::BatteryStart::FirstRecord) times.push_back(period.StartSeconds);
  return times;
}

int RunHistoryPlot(const std::string &path, std::int64_t now, const std::string &file,
                   receiver::TLngID language, skin::TsuiUIStyle style, std::ostream &err) {
  const BatteryStore store(path, err);
  std::vector<receiver::BatteryRecord> records = store.Records();
  const receiver::BatteryOutlook outlook = receiver::ReadBatteryHistory(records, now);
  const BatteryHistorySource source{[&records] { return records; },
                                    [&outlook] { return BatteryChangeTimes(outlook); },
                                    [now] { return now; }};
  std::string message;
  if (!WriteBatteryChartPng(file, ReadBatteryHistory(source, language), style, message)) {
    err << ProgramName << ": " << message << '\n';
    return 1;
  }
  return 0;
}

} // namespace app
