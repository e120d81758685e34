#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace app {

// Puts `bytes` at `path` whole or not at all: a temporary file beside it renamed over it. Anything
// but a regular file (a FIFO, a device, a folder) and a file the effective user may not write are
// refused without being opened; a symbolic link stays and the file it names is replaced. A write
// past the file-size limit fails. False, with why in `reason`, when nothing was written.
bool WriteWholeFile(const std::string &path, std::span<const std::uint8_t> bytes,
                    std::string &reason);

} // namespace app
