#pragma once

// The text of a settings file in the INI form that earlier versions wrote through QSettings:
//
//   [General]
//   LngSection=Chs
//
// parsed apart from any I/O. Every function takes untrusted bytes and never reads outside them.
// A line that cannot be read is skipped, so one broken line costs nothing but itself.

#include <optional>
#include <string>
#include <string_view>

namespace platform::ini {

// The value `key` of the top-level section ("[General]", any letter case, or the lines before
// the first section); the last one wins. None when it is missing or is not one plain string: a
// list ("a, b"), a typed value ("@ByteArray(…)"), an unterminated quote or an unknown escape.
// Escapes and quotes are undone; the bytes are otherwise kept as they are (UTF-8).
std::optional<std::string> ReadTopLevelString(std::string_view text, std::string_view key);

// `text` with the top-level value `key` set to `data`, escaped so that both this reader and
// QSettings read `data` back. The line that holds the value read is replaced; without one, a
// line is added under the first "[General]" header, or a header with the line is put in front.
// Every other byte of `text` is kept.
std::string WithTopLevelString(std::string_view text, std::string_view key, std::string_view data);

} // namespace platform::ini
