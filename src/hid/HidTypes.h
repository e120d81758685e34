#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hid {

// Vendor, product and version of a device, as the platform reports them.
struct HIDD_ATTRIBUTES {
  std::uint32_t Size = 0;
  std::uint16_t VendorID = 0;
  std::uint16_t ProductID = 0;
  std::uint16_t VersionNumber = 0;
};

// Capabilities of one top-level collection. Report lengths count the report ID byte, also for a
// device that uses no report IDs. Only the leading five fields are filled by our parser.
struct HIDP_CAPS {
  std::uint16_t Usage = 0;
  std::uint16_t UsagePage = 0;
  std::uint16_t InputReportByteLength = 0;
  std::uint16_t OutputReportByteLength = 0;
  std::uint16_t FeatureReportByteLength = 0;
  std::uint16_t Reserved[17] = {};
  std::uint16_t NumberLinkCollectionNodes = 0;
  std::uint16_t NumberInputButtonCaps = 0;
  std::uint16_t NumberInputValueCaps = 0;
  std::uint16_t NumberInputDataIndices = 0;
  std::uint16_t NumberOutputButtonCaps = 0;
  std::uint16_t NumberOutputValueCaps = 0;
  std::uint16_t NumberOutputDataIndices = 0;
  std::uint16_t NumberFeatureButtonCaps = 0;
  std::uint16_t NumberFeatureValueCaps = 0;
  std::uint16_t NumberFeatureDataIndices = 0;
};
static_assert(sizeof(HIDP_CAPS) == 64, "the capabilities record is 64 bytes");

// The 26 device-setup registry properties of one interface. A property the platform has no
// counterpart for stays empty (or 0).
struct DeviceProperties {
  std::uint32_t Capabilities = 0;
  std::string ClassName;
  std::string ClassGuid;
  std::vector<std::string> CompatibleIds;
  std::uint32_t ConfigFlags = 0;
  std::string DeviceDesc;
  std::string Driver;
  std::string FriendlyName;
  std::vector<std::string> HardwareId;
  std::vector<std::string> LowerFilters;
  std::string Mfg;
  std::vector<std::string> UpperFilters;
  std::string Address;
  std::uint32_t BusNumber = 0;
  std::string BusTypeGuid;
  std::string Characteristics;
  std::uint32_t DevType = 0;
  std::string EnumeratorName;
  std::uint32_t Exclusive = 0;
  std::uint32_t LegacyBusType = 0;
  std::string LocationInformation;
  std::string PhysicalDeviceObjectName;
  std::string SecuritySds;
  std::string Service;
  std::uint32_t UiNumber = 0;
  std::string DevicePowerData;
};

// One enumerated HID interface (one top-level collection).
struct InterfaceRecord {
  std::uint32_t DeviceInstance = 0; // stable while the device stays, new after a re-plug
  std::string DevicePath;
  DeviceProperties Properties;
};

} // namespace hid
