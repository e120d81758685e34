#pragma once

#include "receiver/BatteryRecord.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace receiver {

// The battery history as bytes: a header line, then one record a line,
//   "<seconds> <event> <level> <max> <crc>\n"
// with the event a letter (L level, C connected, D disconnected, N new mouse) and <crc> the
// CRC-32 of the text before it as eight lowercase hexadecimal digits. A line is only ever
// appended whole, so a crash can leave at most a torn last line, which reading drops.

inline constexpr std::string_view BatteryLogHeader = "quelvane battery history 1\n";

std::string FormatBatteryLine(const BatteryRecord &record);
// "<body> <crc>\n": any text signed as a line is.
std::string SignedBatteryLine(std::string_view body);
// The header and every record: a whole store.
std::string FormatBatteryLog(const std::vector<BatteryRecord> &records);

struct BatteryLog {
  std::vector<BatteryRecord> Records;
  // Bytes up to the end of the last good line: what stays when a torn last line is cut off.
  std::size_t WholeBytes = 0;
  // A bad line before the last one, or no header: not a store a crash could have left.
  bool Damaged = false;
};

// Reads a whole store. A bad last line (torn, or garbage a power cut left) is dropped; any other
// bad line makes the store Damaged, with no records.
BatteryLog ParseBatteryLog(std::string_view bytes);

// The same history in at most `maxRecords` records: repeated level readings and the connection
// events of all but the newest records go first, then the oldest records.
std::vector<BatteryRecord> CompactBatteryHistory(const std::vector<BatteryRecord> &records,
                                                 std::size_t maxRecords);

} // namespace receiver
