// libFuzzer target for the picture completeness check (untrusted bytes from picture files).
//
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQUELVANE_FUZZ=ON
//   cmake --build build-fuzz
//   ./build-fuzz/fuzz/fuzz_picture_file -max_total_time=60 fuzz/corpus_picture_file
//
// Besides the sanitizers' checks it asserts that a file which ends before its own first byte of
// content (an empty one) is never complete, and that the check is deterministic.
#include "framework/PictureFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using framework::PictureFormat;
  const std::span<const std::uint8_t> bytes(data, size);
  for (const PictureFormat format : {PictureFormat::Gif, PictureFormat::Bmp, PictureFormat::Png}) {
    const bool complete = framework::PictureIsComplete(bytes, format);
    if (complete != framework::PictureIsComplete(bytes, format)) std::abort();
    if (complete && framework::PictureIsComplete(bytes.first(0), format)) std::abort();
  }
  return 0;
}
