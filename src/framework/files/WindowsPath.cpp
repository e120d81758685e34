#include "framework/files/WindowsPath.h"

#include "framework/text/Utf.h"

#include <algorithm>
#include <array>

#include <windows.h>

namespace framework {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

constexpr std::string_view EncodedReplacement = "\xEF\xBF\xBD";

bool isSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

wchar_t upper(wchar_t c) {
  return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool sameLetters(std::wstring_view a, std::wstring_view b) {
  return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) { return upper(x) == upper(y); });
}

bool isDriveLetter(std::wstring_view text) {
  return text.size() >= 2 && upper(text[0]) >= L'A' && upper(text[0]) <= L'Z' && text[1] == L':';
}

// \\.\ and \??\ lead into the device namespace; \\?\ too, except before a drive or UNC path.
bool inDeviceNamespace(std::wstring_view path) {
  if (path.size() < 4 || !isSeparator(path[0]) || !isSeparator(path[3])) return false;
  const std::wstring_view marks = path.substr(1, 2);
  if (marks == L"??") return true;
  if (!isSeparator(marks[0])) return false;
  if (marks[1] == L'.') return true;
  if (marks[1] != L'?') return false;
  const std::wstring_view rest = path.substr(4);
  const bool drive = isDriveLetter(rest) && rest.size() >= 3 && isSeparator(rest[2]);
  const bool unc =
      rest.size() >= 4 && sameLetters(rest.substr(0, 3), L"UNC") && isSeparator(rest[3]);
  return !drive && !unc;
}

// Windows takes these as devices in any folder, with any extension and trailing spaces.
bool isReservedName(std::wstring_view name) {
  name = name.substr(0, std::min(name.find(L'.'), name.find(L':')));
  while (!name.empty() && name.back() == L' ')
    name.remove_suffix(1);
  constexpr std::array<std::wstring_view, 6> words = {L"CON", L"PRN",    L"AUX",
                                                      L"NUL", L"CONIN$", L"CONOUT$"};
  if (std::ranges::any_of(words, [&](std::wstring_view word) { return sameLetters(name, word); }))
    return true;
  if (name.size() != 4 ||
      !(sameLetters(name.substr(0, 3), L"COM") || sameLetters(name.substr(0, 3), L"LPT")))
    return false;
  const wchar_t digit = name[3];
  return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' ||
         digit == L'\u00B3';
}

} // namespace

std::optional<std::wstring> ToWide(std::string_view text) {
  std::wstring wide;
  wide.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t start = at;
    const char32_t c = text::DecodeUtf8(text, at);
    if (c == 0) return std::nullopt;
    if (c == text::Replacement && text.substr(start, at - start) != EncodedReplacement)
      return std::nullopt;
    if (c >= 0x10000) {
      wide += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      wide += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      wide += static_cast<wchar_t>(c);
    }
  }
  return wide;
}

std::string FromWide(std::wstring_view text) {
  return text::Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

bool NamesDevice(std::wstring_view path) {
  if (inDeviceNamespace(path)) return true;
  const std::size_t separator = path.find_last_of(L"\\/");
  std::wstring_view name = separator == std::wstring_view::npos ? path : path.substr(separator + 1);
  if (separator == std::wstring_view::npos && isDriveLetter(name)) name.remove_prefix(2);
  return isReservedName(name);
}

std::string SystemErrorText(unsigned long error) {
  wchar_t *text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
  std::wstring_view message(text, text ? length : 0);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.'))
    message.remove_suffix(1);
  std::string said = message.empty() ? "error " + std::to_string(error) : FromWide(message);
  if (text) ::LocalFree(text);
  return said;
}

} // namespace framework
