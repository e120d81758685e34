#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace receiver {

// The command report: 9 bytes, report ID first. A request carries the command code in byte 1;
// the answer carries its values in bytes 1 and 2 and AckByte in byte 7 when the receiver
// answered a query.
constexpr std::size_t CommandReportLength = 9;
constexpr std::uint8_t CommandReportId = 1;

constexpr std::uint8_t CmdQuery = 3;
constexpr std::uint8_t CmdPair = 8;
constexpr std::uint8_t CmdStatus = 9;
constexpr std::uint8_t CmdBattery = 10;
constexpr std::uint8_t CmdCPI = 11;

constexpr std::uint8_t QuerySubCodePairing = 14; // byte 2 of a CmdQuery request
constexpr std::uint8_t PairStart = 1;            // byte 3 of a CmdPair request

constexpr std::size_t AckIndex = 7;
constexpr std::uint8_t AckByte = 0xCC;

// Exchanges an acknowledged query makes at most.
constexpr int MaxTries = 5;

// A report buffer. It may be longer than the 9 bytes of the command report: the receiver's own
// feature-report length decides how many bytes the device calls touch.
using CommandReport = std::vector<std::uint8_t>;

// A fresh request: report ID, code, the named bytes, zeros elsewhere; at least `length` bytes.
inline CommandReport MakeRequest(std::uint8_t code, std::uint8_t subCode = 0,
                                 std::uint8_t parameter = 0,
                                 std::size_t length = CommandReportLength) {
  CommandReport report(std::max(length, CommandReportLength), 0);
  report[0] = CommandReportId;
  report[1] = code;
  report[2] = subCode;
  report[3] = parameter;
  return report;
}

inline bool IsAcknowledged(const CommandReport &report) {
  return report.size() > AckIndex && report[AckIndex] == AckByte;
}

} // namespace receiver
