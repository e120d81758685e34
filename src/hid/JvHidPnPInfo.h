#pragma once

#include "hid/HidTypes.h"

#include <cstdint>
#include <string>

namespace hid {

// The plug-and-play record of one interface, as the scan found it. Immutable; a device and its
// check-in replacement share it.
class TJvHidPnPInfo {
public:
  explicit TJvHidPnPInfo(InterfaceRecord record) : m_record(std::move(record)) {}
  virtual ~TJvHidPnPInfo() = default;

  // Identity by which scans match devices; new after a re-plug.
  std::uint32_t DeviceInstance() const { return m_record.DeviceInstance; }
  const std::string &DevicePath() const { return m_record.DevicePath; }
  const DeviceProperties &Properties() const { return m_record.Properties; }

private:
  InterfaceRecord m_record;
};

} // namespace hid
