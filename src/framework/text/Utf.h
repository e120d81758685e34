#pragma once

// UTF-8 and UTF-16 for text from outside (device strings, paths, files): malformed input never
// fails, it becomes U+FFFD, one for each maximal ill-formed part as Unicode recommends.

#include <cstddef>
#include <string>
#include <string_view>

namespace framework::text {

inline constexpr char32_t Replacement = 0xFFFD;

// The code point at `text[at]`, `at` moved past it; U+FFFD for an ill-formed part, `at` moved
// past that part only. `at` must be inside `text`.
char32_t DecodeUtf8(std::string_view text, std::size_t &at);
// `c` must be a scalar value (no surrogate, at most U+10FFFF).
void AppendUtf8(std::string &out, char32_t c);

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// At most `maxUnits` code units; a surrogate pair that would not fit whole is left out.
std::u16string Utf8ToUtf16(std::string_view text, std::size_t maxUnits);

} // namespace framework::text
