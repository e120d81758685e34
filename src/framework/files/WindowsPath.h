#pragma once

// Our UTF-8 text as the UTF-16 that Windows' wide calls take, the names that are not files, and
// the system's words for an error.

#include <optional>
#include <string>
#include <string_view>

namespace framework {

// None for text that is not well-formed UTF-8 or holds a NUL: either would name another file (or
// key) than the one asked for.
std::optional<std::wstring> ToWide(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string FromWide(std::wstring_view text);

// True for a path that names a device or a pipe rather than a file, whatever its folder: a
// reserved device name (NUL, CON, COM1, "aux.txt", "lpt1 .log"), anything in the device namespace
// (\\.\pipe\x, \\.\COM1, \\?\GLOBALROOT\...). Opening one may act on it or wait.
bool NamesDevice(std::wstring_view path);

// The system's text for a GetLastError() code, in the user's language, without its closing full
// stop; "error N" when it has none.
std::string SystemErrorText(unsigned long error);

} // namespace framework
