#include "framework/text/Json.h"

#include <gtest/gtest.h>

#include <fstream>
#include <new>
#include <optional>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

using namespace framework::text;

namespace {

// gcc says so by a macro, clang by a feature test.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool AddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool AddressSanitizer = true;
#else
constexpr bool AddressSanitizer = false;
#endif
#else
constexpr bool AddressSanitizer = false;
#endif

// 1000 objects in each other under 1000-character keys: a place copied per level would take
// about 500 MB, the search must fit in a small part of that.
TEST(Text, DuplicateKeysBelowDeepNestingAreFoundInLittleMemory) {
  if (AddressSanitizer)
    GTEST_SKIP() << "the sanitizer reserves more address space than any ceiling here";
  const std::string key(1000, 'k');
  std::string json = R"({"a": )";
  for (int i = 0; i < 1000; ++i)
    json += "{\"" + key + "\": ";
  json += "1" + std::string(1000, '}') + R"(, "a": 2})";
  rlimit old = {};
  ASSERT_EQ(::getrlimit(RLIMIT_AS, &old), 0);
  std::ifstream statm("/proc/self/statm");
  rlim_t pages = 0;
  ASSERT_TRUE(statm >> pages);
  const rlimit ceiling = {pages * ::sysconf(_SC_PAGESIZE) + (64 << 20), old.rlim_max};
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &ceiling), 0);
  std::optional<DuplicateKey> found;
  try {
    found = FindDuplicateKey(json);
  } catch (const std::bad_alloc &) {
  }
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &old), 0);
  ASSERT_TRUE(found) << "out of memory";
  EXPECT_EQ(found->Where, "");
  EXPECT_EQ(found->Key, "a");
}

} // namespace
