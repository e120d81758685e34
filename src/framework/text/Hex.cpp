#include "framework/text/Hex.h"

namespace framework::text {

namespace {
constexpr char Digits[] = "0123456789ABCDEF";
} // namespace

std::string Hex4(std::uint16_t value) {
  return {Digits[(value >> 12) & 0xF], Digits[(value >> 8) & 0xF], Digits[(value >> 4) & 0xF],
          Digits[value & 0xF]};
}

std::string HexBytes(const std::uint8_t *bytes, std::size_t length) {
  std::string text;
  if (bytes == nullptr) return text;
  text.reserve(length * 3);
  for (std::size_t i = 0; i < length; ++i) {
    if (i != 0) text += ' ';
    text += Digits[bytes[i] >> 4];
    text += Digits[bytes[i] & 0x0F];
  }
  return text;
}

} // namespace framework::text
