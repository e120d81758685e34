#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace receiver {

// One receiver the program drives: its USB IDs, a third value that is remembered with a match
// but never read, and whether it is an alternative receiver, whose pairing is watched through both
// status bytes instead of a query.
struct SupportedDevice {
  std::uint32_t VendorID;
  std::uint32_t ProductID;
  std::uint32_t Third;
  bool Alternative;
};

// packaging/70-quelvane.rules grants access to exactly these IDs; a test keeps the two equal.
inline constexpr std::array<SupportedDevice, 6> SupportedDevices{{
    {0x3A7E, 0x0A11, 0, false},
    {0x3A7E, 0x0A12, 0, false},
    {0x2C19, 0x0B21, 14, false},
    {0x2C19, 0x0B22, 0, false},
    {0x3A7E, 0x0A15, 0, true},
    {0x3A7E, 0x0A16, 0, true},
}};

// Discovery compares a device with every row and remembers each match; with distinct rows the
// first match is the only one.
consteval bool RowsAreDistinct() {
  for (std::size_t i = 0; i < SupportedDevices.size(); ++i)
    for (std::size_t j = i + 1; j < SupportedDevices.size(); ++j)
      if (SupportedDevices[i].VendorID == SupportedDevices[j].VendorID &&
          SupportedDevices[i].ProductID == SupportedDevices[j].ProductID)
        return false;
  return true;
}
static_assert(RowsAreDistinct());

// Index of the row with these IDs, none when the device is not supported.
std::optional<std::size_t> FindSupportedRow(std::uint16_t vendorID, std::uint16_t productID);

} // namespace receiver
