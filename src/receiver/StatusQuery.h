#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace hid {
class TJvHidDevice;
class TJvHidDeviceController;
} // namespace hid

namespace receiver {

class ReceiverConnection;

// The row of the supported-device table a HID interface stands for, when it is one the window
// would try: a mouse or keyboard collection with feature reports, of a supported receiver.
std::optional<std::size_t> ReceiverCandidateRow(hid::TJvHidDevice &device);

// One reading of the receiver, as the window shows it.
struct ReceiverStatus {
  std::uint16_t Vendor = 0;
  std::uint16_t Product = 0;
  bool Connected = false; // the status query was answered: the window's LED is lit
  int Level = 0;          // 0..6
  int Percentage = 0;
  bool CpiHigh = false;

  bool operator==(const ReceiverStatus &) const = default;
};

// NoPermission: the receiver may only be looked at, not written to (no udev rule for the user).
enum class StatusFailure : std::uint8_t { NotFound, NoPermission, NoAnswer, BadAnswer };

struct StatusReading {
  std::optional<ReceiverStatus> Status;
  StatusFailure Failure = StatusFailure::NotFound; // when there is no status
  std::string Detail;                              // what did not answer, for the message
  // Once a receiver was found, also when it could not be read.
  std::uint16_t Vendor = 0;
  std::uint16_t Product = 0;
};

// Takes the receiver the window would take (the last candidate of the scan) and reads status,
// battery and CPI once each with the acknowledged query. The controller must have scanned; the
// devices it lends are given back before this returns.
StatusReading ReadReceiverStatus(hid::TJvHidDeviceController &controller,
                                 ReceiverConnection &connection);

// One line: "3A7E:0A11 connected, battery level 5 (83%), CPI HIGH".
std::string FormatStatusText(const ReceiverStatus &status);
// One JSON object on one line, without a line end.
std::string FormatStatusJson(const ReceiverStatus &status);
// The same object for any reading, so that a script always gets one: one that failed is not
// connected (unless only its answer was out of range), its readouts null, and its IDs null
// without a receiver.
std::string FormatStatusJson(const StatusReading &reading);

} // namespace receiver
