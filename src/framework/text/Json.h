#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace framework::text {

// A JSON string literal, quotes included, for any bytes: control characters (C0, DEL, C1) are
// escaped, ill-formed UTF-8 becomes U+FFFD, so that the result is always valid JSON and safe to
// print on a terminal.
std::string JsonString(std::string_view bytes);

// A key that appears twice in one object: most JSON readers keep one of the two silently.
struct DuplicateKey {
  std::string Where; // the object's place: "devices[1].receiver", empty for the top
  std::string Key;   // decoded UTF-8
};
// Qt's JSON reader refuses deeper nesting.
inline constexpr std::size_t MaxJsonDepth = 1024;

// The first duplicate in document order. Meant for text a JSON reader has accepted; any other
// text (deeper than MaxJsonDepth included) gives a wrong answer or none, never a fault. Memory
// grows with the text, not faster.
std::optional<DuplicateKey> FindDuplicateKey(std::string_view json);

} // namespace framework::text
