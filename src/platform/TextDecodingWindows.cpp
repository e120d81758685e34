#include "platform/TextDecoding.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <climits>
#include <string>

namespace platform {
namespace {

constexpr UINT FallbackCodePage = 1252;
// A character of a double-byte code page is at most two bytes.
constexpr std::size_t MaxCharBytes = 2;

UINT windowsCodePage(int codePage) {
  switch (codePage) {
  case 950:
  case 936:
  case 932:
  case 949:
    return static_cast<UINT>(codePage);
  default:
    return FallbackCodePage;
  }
}

// The UTF-16 of `bytes`, or none when any of them does not decode (or the code page is not there).
bool decodeStrict(UINT codePage, std::string_view bytes, std::wstring &out) {
  const int length = static_cast<int>(bytes.size());
  const int units =
      ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
  if (units <= 0) return false;
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  if (::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(),
                            units) != units)
    return false;
  out += wide;
  return true;
}

// Character by character: what does not decode becomes U+FFFD and decoding goes on after its
// first byte, as the Linux decoder does.
std::wstring decodeLeniently(UINT codePage, std::string_view bytes) {
  std::wstring out;
  for (std::size_t at = 0; at < bytes.size();) {
    const bool lead = ::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[at])) != 0;
    const std::size_t length = lead && at + 1 < bytes.size() ? MaxCharBytes : 1;
    if (decodeStrict(codePage, bytes.substr(at, length), out)) {
      at += length;
    } else {
      out += L'\uFFFD';
      ++at;
    }
  }
  return out;
}

} // namespace

QString DecodeText(std::string_view bytes, int codePage) {
  if (bytes.empty()) return {};
  UINT windows = windowsCodePage(codePage);
  if (!::IsValidCodePage(windows)) windows = FallbackCodePage;
  std::wstring wide;
  if (bytes.size() > static_cast<std::size_t>(INT_MAX) || !decodeStrict(windows, bytes, wide))
    wide = decodeLeniently(windows, bytes);
  return QString::fromWCharArray(wide.data(), static_cast<qsizetype>(wide.size()));
}

} // namespace platform
