#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace framework::text {

// Four upper-case hexadecimal digits: "3A7E", "00A1".
std::string Hex4(std::uint16_t value);
// Upper-case hexadecimal pairs separated by spaces: "01 0A CC"; empty for no bytes.
std::string HexBytes(const std::uint8_t *bytes, std::size_t length);

} // namespace framework::text
