// libFuzzer target for the settings file reader (whatever the user's configuration folder holds).
//
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQUELVANE_FUZZ=ON
//   cmake --build build-fuzz
//   ./build-fuzz/fuzz/fuzz_settings_ini -max_total_time=60 fuzz/corpus_settings_ini
//
// The first byte splits the input into a value and a file. Besides the sanitizers' checks it
// asserts the writer's contract: any value set in any file is read back as it was set.
#include "platform/settings/IniText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char *>(data) + 1, size - 1);
  const std::size_t split = std::min<std::size_t>(data[0], input.size());
  const std::string_view value = input.substr(0, split), text = input.substr(split);
  static_cast<void>(platform::ini::ReadTopLevelString(text, "LngSection"));
  const std::string written = platform::ini::WithTopLevelString(text, "LngSection", value);
  if (platform::ini::ReadTopLevelString(written, "LngSection") != value) std::abort();
  return 0;
}
