#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace skin::theme {

struct NumberRange {
  std::int32_t Lowest;
  std::int32_t Highest;
};

// The values the window can draw with for a size or offset entry (both ends included); -1, which
// reads as a missing entry, is always among them. None for any other name: colours and entries
// the window does not read take any 32-bit value.
std::optional<NumberRange> ThemeNumberRange(std::string_view name);

} // namespace skin::theme
