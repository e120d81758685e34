#pragma once

#include "hid/SimulatedHidBinding.h"

#include <cstdint>
#include <string>

namespace fakes {

// A simulated HID interface at "sim:<id>" named "Dev <id>"; by default a receiver's mouse
// collection with its 9-byte command report.
inline hid::VirtualDevice HidInterface(const std::string &id, std::uint16_t vendor = 0x3A7E,
                                       std::uint16_t product = 0x0A11, std::uint16_t usagePage = 1,
                                       std::uint16_t usage = 2, std::uint16_t featureLength = 9) {
  hid::VirtualDevice device;
  device.Id = id;
  device.VendorID = vendor;
  device.ProductID = product;
  device.ProductName = u"Dev " + std::u16string(id.begin(), id.end());
  device.Caps.UsagePage = usagePage;
  device.Caps.Usage = usage;
  device.Caps.FeatureReportByteLength = featureLength;
  return device;
}

} // namespace fakes
