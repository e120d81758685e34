#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace hid {

// The one place report traffic and scans are reported (the program's --trace). Calls come from
// the GUI thread.
class HidTrace {
public:
  enum class FeatureOp { Set, Get };

  virtual ~HidTrace() = default;
  // Every feature-report call the device layer makes; `bytes` as the buffer holds them after the
  // call.
  virtual void Feature(const std::string &path, FeatureOp op, const std::uint8_t *bytes,
                       std::size_t length, bool ok) = 0;
  // Every controller scan.
  virtual void Scan(std::size_t devices, bool changed) = 0;
};

} // namespace hid
