#pragma once

#include <string>
#include <string_view>

namespace framework::text {

// A JSON string literal, quotes included, for any bytes: control characters and DEL are
// escaped, ill-formed UTF-8 becomes U+FFFD, so that the result is always valid JSON.
std::string JsonString(std::string_view bytes);

} // namespace framework::text
