// libFuzzer target for the report-descriptor parser (untrusted bytes from any HID device).
//
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQUELVANE_FUZZ=ON
//   cmake --build build-fuzz
//   ./build-fuzz/fuzz/fuzz_report_descriptor -max_total_time=60 fuzz/corpus_report_descriptor
//
// Besides the sanitizers' checks it asserts the parser's contract: a rejected descriptor gives no
// collections, and a parse is deterministic.
#include "hid/ReportDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const hid::DescriptorParse r = hid::ParseReportDescriptorDetailed(data, size);
  if (r.Error != hid::DescriptorError::None && !r.Collections.empty()) std::abort();
  if (r.Error != hid::DescriptorError::None && r.ErrorOffset > size) std::abort();
  const auto again = hid::ParseReportDescriptor(data, size);
  if (again.has_value() != (r.Error == hid::DescriptorError::None)) std::abort();
  if (again && *again != r.Collections) std::abort();
  return 0;
}
