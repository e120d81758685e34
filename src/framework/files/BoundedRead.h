#pragma once

#include "framework/files/RegularFile.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>

namespace framework {

// Reads an open file to its end into `text` through `read(into, room)`, which gives the bytes
// read, 0 at the end, or none on failure. Room for the file as it is now (`sizeNow`) and one byte
// more, which tells a file that grew; a growing file gets more room up to one byte past the limit,
// never the whole limit up front.
template <typename Read>
FileContents::Status ReadBounded(std::size_t sizeNow, std::size_t maxBytes, std::string &text,
                                 Read read) {
  using Status = FileContents::Status;
  const std::size_t ceiling = maxBytes + 1;
  text.assign(std::min(ceiling, sizeNow + 1), '\0');
  std::size_t filled = 0;
  for (;;) {
    if (filled == text.size()) {
      if (text.size() == ceiling) break;
      text.resize(std::min(ceiling, text.size() * 2));
    }
    const std::optional<std::size_t> got = read(text.data() + filled, text.size() - filled);
    if (!got) return Status::Unreadable;
    if (*got == 0) break;
    filled += *got;
  }
  if (filled > maxBytes) return Status::TooLarge;
  text.resize(filled);
  return Status::Read;
}

} // namespace framework
