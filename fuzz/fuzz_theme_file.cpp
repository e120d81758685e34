// libFuzzer target for the theme-file reader (whatever file a user or a download hands us).
//
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQUELVANE_FUZZ=ON
//   cmake --build build-fuzz
//   ./build-fuzz/fuzz/fuzz_theme_file -max_total_time=60 fuzz/corpus_theme_file
//
// Besides the sanitizers' checks it asserts the reader's contract: a refused file gives no
// entries, and whatever is accepted is written again and read back as it was.
#include "skin/theme/ThemeFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using namespace skin::theme;
  const ThemeParse parse = ParseThemeFile({data, size});
  if (parse.Error != ThemeError::None) {
    if (!parse.Contents.Entries.empty() || parse.ErrorOffset > size) std::abort();
    return 0;
  }
  const auto written = WriteThemeFile(parse.Contents.Entries);
  if (!written) std::abort();
  const ThemeParse again = ParseThemeFile(*written);
  if (again.Error != ThemeError::None || again.Contents != parse.Contents) std::abort();
  return 0;
}
