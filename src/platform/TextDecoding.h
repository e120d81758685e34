#pragma once

#include <QString>
#include <string_view>

namespace platform {

// Decodes 8-bit text with the code page it was written in, whatever the system's own code page
// is. 1252 and unknown code pages decode as Windows-1252; undecodable bytes become U+FFFD.
QString DecodeText(std::string_view bytes, int codePage);

} // namespace platform
