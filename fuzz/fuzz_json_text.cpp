// libFuzzer target for the text helpers that take outside bytes: UTF-8 decoding, JSON string
// literals, and the duplicate-key scan of scenario files.
//
//   ./build-fuzz/fuzz/fuzz_json_text -max_total_time=60
//
// Besides the sanitizers' checks it asserts their contracts: decoding respects its limit and
// repaired text decodes to itself, a literal holds no raw control character.
#include "framework/text/Json.h"
#include "framework/text/Utf.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace framework::text;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  [[maybe_unused]] const auto duplicate = FindDuplicateKey(bytes);

  const std::size_t limit = size % 7;
  if (Utf8ToUtf16(bytes, limit).size() > limit) std::abort();
  const std::u16string decoded = Utf8ToUtf16(bytes, size);
  if (Utf8ToUtf16(Utf16ToUtf8(decoded), size * 2) != decoded) std::abort();

  const std::string literal = JsonString(bytes);
  if (literal.size() < 2 || literal.front() != '"' || literal.back() != '"') std::abort();
  for (const char c : literal)
    if (static_cast<unsigned char>(c) < 0x20) std::abort();
  return 0;
}
