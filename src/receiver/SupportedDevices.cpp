#include "receiver/SupportedDevices.h"

namespace receiver {

std::optional<std::size_t> FindSupportedRow(std::uint16_t vendorID, std::uint16_t productID) {
  for (std::size_t i = 0; i < SupportedDevices.size(); ++i)
    if (SupportedDevices[i].VendorID == vendorID && SupportedDevices[i].ProductID == productID)
      return i;
  return std::nullopt;
}

} // namespace receiver
