// libFuzzer target for the battery history's reader (whatever the user's state folder holds) and
// the reading of the records it accepts.
//
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQUELVANE_FUZZ=ON
//   cmake --build build-fuzz
//   ./build-fuzz/fuzz/fuzz_battery_log -max_total_time=30 fuzz/corpus_battery_log
//
// Besides the sanitizers' checks it asserts: what is accepted is written back the same, the
// whole bytes are never more than the input, and no period lasts or estimate runs below zero.
#include "receiver/BatteryHistory.h"
#include "receiver/BatteryHistoryText.h"
#include "receiver/BatteryLog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  const receiver::BatteryLog log = receiver::ParseBatteryLog(text);
  if (log.WholeBytes > size) std::abort();
  if (log.Damaged && !log.Records.empty()) std::abort();
  if (!log.Damaged && !log.Records.empty() &&
      receiver::FormatBatteryLog(log.Records) != text.substr(0, log.WholeBytes))
    std::abort();
  const std::int64_t now = log.Records.empty() ? 0 : log.Records.front().UnixSeconds + 1000;
  const receiver::BatteryOutlook outlook = receiver::ReadBatteryHistory(log.Records, now);
  for (const receiver::BatteryPeriod &period : outlook.Periods)
    if (period.Seconds < 0) std::abort();
  if (outlook.SecondsLeft && *outlook.SecondsLeft < 0) std::abort();
  static_cast<void>(receiver::FormatHistoryJson(outlook));
  static_cast<void>(receiver::FormatHistoryText(outlook));
  return 0;
}
