#include "framework/text/Json.h"

#include "framework/text/Utf.h"

namespace framework::text {

std::string JsonString(std::string_view bytes) {
  static constexpr char Digits[] = "0123456789abcdef";
  std::string out = "\"";
  out.reserve(bytes.size() + 2);
  for (std::size_t at = 0; at < bytes.size();) {
    const char32_t c = DecodeUtf8(bytes, at);
    switch (c) {
    case '"':
      out += "\\\"";
      break;
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    case '\t':
      out += "\\t";
      break;
    default:
      if (c < 0x20 || c == 0x7F) {
        out += "\\u00";
        out += Digits[c >> 4];
        out += Digits[c & 0xF];
      } else {
        AppendUtf8(out, c);
      }
    }
  }
  out += '"';
  return out;
}

} // namespace framework::text
