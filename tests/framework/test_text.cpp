#include "framework/text/Hex.h"
#include "framework/text/Json.h"
#include "framework/text/Utf.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QString>
#include <gtest/gtest.h>

#include <fstream>
#include <new>
#include <random>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace framework::text;

namespace {

TEST(Text, HexIsUpperCaseWithLeadingZeros) {
  EXPECT_EQ(Hex4(0), "0000");
  EXPECT_EQ(Hex4(0x0A1), "00A1");
  EXPECT_EQ(Hex4(0xBEEF), "BEEF");
  const std::uint8_t bytes[] = {0x01, 0x0A, 0xCC, 0xFF};
  EXPECT_EQ(HexBytes(bytes, 4), "01 0A CC FF");
  EXPECT_EQ(HexBytes(bytes, 0), "");
  EXPECT_EQ(HexBytes(nullptr, 9), "");
}

// UTF-8 from outside: each maximal ill-formed part becomes one U+FFFD.
TEST(Text, Utf8DecodingReplacesIllFormedParts) {
  const struct {
    const char *In;
    std::u16string Out;
  } cases[] = {
      {"Receiver", u"Receiver"},
      {"\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"},
      {"\xE6\xBB\x91\xE9\xBC\xA0", u"\u6ED1\u9F20"},
      {"\xF0\x9F\x96\xB1", u"\U0001F5B1"},
      {"a\xFF"
       "b",
       u"a\uFFFDb"},
      {"\x80", u"\uFFFD"}, // stray continuation
      {"\xC3", u"\uFFFD"}, // truncated
      {"\xE6\xBB"
       "x",
       u"\uFFFDx"},                                      // truncated, then ASCII
      {"\xF0\x9F\x96", u"\uFFFD"},                       // truncated pair
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                     // overlong
      {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},           // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
  };
  for (const auto &c : cases)
    EXPECT_EQ(Utf8ToUtf16(c.In, 100), c.Out) << c.In;
}

TEST(Text, Utf8ToUtf16StopsAtTheLimitWithoutSplittingAPair) {
  EXPECT_EQ(Utf8ToUtf16("Receiver", 4), u"Rece");
  EXPECT_EQ(Utf8ToUtf16("Receiver", 0), u"");
  EXPECT_EQ(Utf8ToUtf16("a\xF0\x9F\x96\xB1", 2), u"a");
}

TEST(Text, Utf16ToUtf8CombinesPairsAndReplacesLoneSurrogates) {
  EXPECT_EQ(Utf16ToUtf8(u"M\u00FCs \U0001F5B1"), "M\xC3\xBCs \xF0\x9F\x96\xB1");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00, 0xD800}), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD800}), "a\xEF\xBF\xBD");
}

TEST(Text, JsonStringsEscapeControlsAndRepairBrokenText) {
  EXPECT_EQ(JsonString("a\"b\\c\n\r\t\x01\x7F"), "\"a\\\"b\\\\c\\n\\r\\t\\u0001\\u007f\"");
  EXPECT_EQ(JsonString(std::string_view("\0", 1)), "\"\\u0000\"");
  EXPECT_EQ(JsonString("\xC3\xA9"), "\"\xC3\xA9\"");
  EXPECT_EQ(JsonString("\xC2\x9B"), "\"\\u009b\""); // C1 CSI: a terminal would obey it
  EXPECT_EQ(JsonString("\xC0\xAF"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
}

TEST(Text, DuplicateKeysAreFoundWithTheirPlace) {
  const struct {
    const char *Json;
    std::optional<DuplicateKey> Found;
  } cases[] = {
      {R"({"a": 1, "b": {"a": 2}, "c": [{"a": 3}, {"a": 4}]})", std::nullopt},
      {R"({"a": 1, "a": 2})", DuplicateKey{"", "a"}},
      {R"({"a": 1, "\u0061": 2})", DuplicateKey{"", "a"}}, // one key, two spellings
      {R"({"k\"": 1, "k\u0022": 2})", DuplicateKey{"", "k\""}},
      {R"({"d": [{"x": ":,{"}, {"x": 1, "y": [], "x": 2}]})", DuplicateKey{"d[1]", "x"}},
      {R"({"d": [{"r": {"c": 1, "c": 2}}]})", DuplicateKey{"d[0].r", "c"}},
      {R"({"\ud83d\uddb1": 1, "\uD83D\uDDB1": 2})", DuplicateKey{"", "\xF0\x9F\x96\xB1"}},
      {R"(["a", "a"])", std::nullopt}, // values, not keys
  };
  for (const auto &c : cases) {
    const auto found = FindDuplicateKey(c.Json);
    ASSERT_EQ(found.has_value(), c.Found.has_value()) << c.Json;
    if (found) {
      EXPECT_EQ(found->Where, c.Found->Where) << c.Json;
      EXPECT_EQ(found->Key, c.Found->Key) << c.Json;
    }
  }
}

#ifndef _WIN32 // an address-space limit as Linux has it
// 1000 objects in each other under 1000-character keys: a place copied per level would take
// about 500 MB, the search must fit in a small part of that.
TEST(Text, DuplicateKeysBelowDeepNestingAreFoundInLittleMemory) {
#if defined(__SANITIZE_ADDRESS__) || (defined(__has_feature) && __has_feature(address_sanitizer))
  GTEST_SKIP() << "the sanitizer reserves more address space than any ceiling here";
#endif
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
#endif

// Whatever the bytes, a JSON reader takes the literal; well-formed text comes back unchanged.
TEST(Text, JsonStringsOfAnyBytesAreValidJson) {
  std::mt19937 random(11);
  const unsigned char interesting[] = {0x00, 0x0A, 0x1F, '"',  '\\', 'a',  0x7F, 0x80, 0xBF,
                                       0xC0, 0xC3, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
  for (int n = 0; n < 5000; ++n) {
    std::string bytes(random() % 9, '\0');
    for (char &b : bytes)
      b = static_cast<char>(random() % 2 ? interesting[random() % sizeof interesting]
                                         : random() % 256);
    const std::string literal = "[" + JsonString(bytes) + "]";
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(literal), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << literal;
    const QString decoded = document.array().at(0).toString();
    EXPECT_EQ(decoded.toStdU16String(), Utf8ToUtf16(bytes, bytes.size())) << literal;
  }
}

} // namespace
