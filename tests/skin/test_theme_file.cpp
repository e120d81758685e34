#include "ThemeFileSamples.h"

#include "skin/theme/BitmapFile.h"
#include "skin/theme/ThemeFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using namespace skin::theme;
using namespace skin::test;

TEST(ThemeFile, WhatTheWriterWritesIsReadBackAsItWas) {
  for (const auto &entries :
       {SampleEntries(),
        std::vector<ThemeEntry>{},
        {ThemeEntry::Text("", "")},
        {ThemeEntry::Integer(std::string(63, 'k'), INT_MIN), ThemeEntry::Boolean("b", false)}}) {
    const auto file = WriteThemeFile(entries);
    ASSERT_TRUE(file);
    const ThemeParse parse = ParseThemeFile(*file);
    EXPECT_EQ(parse.Error, ThemeError::None) << DescribeRefusal(parse);
    EXPECT_EQ(parse.Contents.Entries, entries);
  }
}

TEST(ThemeFile, EntriesAreFoundByNameAndKind) {
  const ThemeContents contents = ParseThemeFile(SampleFile()).Contents;
  ASSERT_TRUE(contents.Find("FormMinWidthInt", ThemeEntryKind::Integer));
  EXPECT_EQ(contents.Find("FormMinWidthInt", ThemeEntryKind::Integer)->Value(), 130);
  EXPECT_EQ(contents.Find("ButtonTransparentBool", ThemeEntryKind::Boolean)->Value(), 1);
  EXPECT_FALSE(contents.Find("FormMinWidthInt", ThemeEntryKind::Boolean));
  EXPECT_FALSE(contents.Find("formminwidthint", ThemeEntryKind::Integer));
}

TEST(ThemeFile, TheWriterRefusesWhatTheReaderWouldRefuse) {
  std::vector<std::vector<ThemeEntry>> unwritable = {
      {ThemeEntry::Text(std::string(64, 'k'), "")},
      {ThemeEntry::Text(std::string("a\0b", 3), "")},
      {ThemeEntry::Integer("same", 1), ThemeEntry::Boolean("same", true)},
      {ThemeEntry{"short", ThemeEntryKind::Integer, {1, 2, 3}}},
      {ThemeEntry::Image("noBitmap", {'B', 'M', 0, 0})},
      {ThemeEntry{"kind", static_cast<ThemeEntryKind>(4), {}}},
      {ThemeEntry::Integer("FormBorderWidthInt", INT_MAX)},
      {},
  };
  for (int i = 0; i < 5; ++i)
    unwritable.back().push_back(
        ThemeEntry::Image("Picture" + std::to_string(i), RunLengthBitmap(2048, 2048)));
  for (const auto &entries : unwritable)
    EXPECT_FALSE(WriteThemeFile(entries)) << entries.front().Name;
  EXPECT_FALSE(WriteThemeFile(std::vector<ThemeEntry>(MaxEntries + 1)));
}

TEST(ThemeFile, TheSignatureIsTheTextUpToTheFirstZeroOfTwelveBytes) {
  Bytes file = SampleFile();
  EXPECT_TRUE(HasThemeSignature(file));
  Bytes longer = file;
  longer[10] = 'X';
  EXPECT_FALSE(HasThemeSignature(longer));
  EXPECT_FALSE(HasThemeSignature(Bytes(file.begin(), file.begin() + 15))) << "16 bytes are read";
  Bytes tail = file;
  tail[12] = tail[13] = 'Z';
  EXPECT_TRUE(HasThemeSignature(tail)) << "byte 12 on is no longer the signature";
}

namespace {

struct Damage {
  const char *What;
  std::function<void(Bytes &)> Apply;
  ThemeError Expected;
};

// Offsets of the sample file's entries: 0 image, 1 integer, 2 boolean, 3 text.
std::size_t E(const Bytes &f, int i) {
  return EntryOffset(f, i);
}

// The sample image's bitmap inside the file.
std::size_t Bmp(const Bytes &f) {
  return U32(f, E(f, 0) + DataAt);
}

void AppendEntries(Bytes &f, std::size_t count) {
  std::size_t last = E(f, 3);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = f.size();
    f.resize(at + EntryHeaderBytes, 0);
    f[at] = static_cast<std::uint8_t>('a' + i % 26);
    f[at + 1] = static_cast<std::uint8_t>('a' + i / 26 % 26);
    f[at + 2] = static_cast<std::uint8_t>('a' + i / 676);
    f[at + KindAt] = static_cast<std::uint8_t>(ThemeEntryKind::Text);
    SetU32(f, at + DataAt, static_cast<std::uint32_t>(at));
    SetU32(f, last + NextAt, static_cast<std::uint32_t>(at));
    last = at;
  }
}

using enum ThemeError;

const std::vector<Damage> &Damages() {
  static const std::vector<Damage> damages = {
      {"another signature", [](Bytes &f) { f[0] = 'm'; }, BadSignature},
      {"shorter than the signature read", [](Bytes &f) { f.resize(15); }, BadSignature},
      {"empty", [](Bytes &f) { f.clear(); }, BadSignature},
      {"header fields cut off", [](Bytes &f) { f.resize(20); }, BadHeaderLength},
      {"header shorter than its fields", [](Bytes &f) { SetU32(f, 12, 20); }, BadHeaderLength},
      {"header longer than the file",
       [](Bytes &f) { SetU32(f, 12, static_cast<std::uint32_t>(f.size() + 1)); }, BadHeaderLength},
      {"first entry inside the header", [](Bytes &f) { SetU32(f, 20, 4); }, EntryInHeader},
      {"entry in a header declared longer", [](Bytes &f) { SetU32(f, 12, 200); }, EntryInHeader},
      {"first entry past the end", [](Bytes &f) { SetU32(f, 20, 0xFFFFFFFF); }, EntryOutsideFile},
      {"last entry header cut short", [](Bytes &f) { f.resize(E(f, 3) + 70); }, EntryOutsideFile},
      {"next entry past the end",
       [](Bytes &f) { SetU32(f, E(f, 1) + NextAt, static_cast<std::uint32_t>(f.size() - 10)); },
       EntryOutsideFile},
      {"chain back to the first entry",
       [](Bytes &f) { SetU32(f, E(f, 3) + NextAt, static_cast<std::uint32_t>(E(f, 0))); },
       EntryLoop},
      {"entry that follows itself",
       [](Bytes &f) { SetU32(f, E(f, 2) + NextAt, static_cast<std::uint32_t>(E(f, 2))); },
       EntryLoop},
      {"more entries than a theme has", [](Bytes &f) { AppendEntries(f, MaxEntries - 3); },
       TooManyEntries},
      {"name without its zero",
       [](Bytes &f) { std::fill_n(f.begin() + static_cast<long>(E(f, 1)), NameBytes, 'n'); },
       UnterminatedName},
      {"unknown kind", [](Bytes &f) { f[E(f, 3) + KindAt] = 4; }, UnknownKind},
      {"two entries of one name",
       [](Bytes &f) {
         std::copy_n(f.begin() + static_cast<long>(E(f, 1)), NameBytes,
                     f.begin() + static_cast<long>(E(f, 3)));
       },
       DuplicateName},
      {"data larger than any theme's",
       [](Bytes &f) { SetU32(f, E(f, 3) + SizeAt, MaxEntryBytes + 1); }, DataTooLarge},
      {"data past the end",
       [](Bytes &f) { SetU32(f, E(f, 3) + SizeAt, static_cast<std::uint32_t>(f.size())); },
       DataOutsideFile},
      {"data offset wrapping around",
       [](Bytes &f) {
         SetU32(f, E(f, 3) + DataAt, 0xFFFFFFF0);
         SetU32(f, E(f, 3) + SizeAt, 0x20);
       },
       DataOutsideFile},
      {"data inside the header", [](Bytes &f) { SetU32(f, E(f, 3) + DataAt, 2); }, DataInHeader},
      {"integer of three bytes", [](Bytes &f) { SetU32(f, E(f, 1) + SizeAt, 3); }, BadValueSize},
      {"boolean of eight bytes", [](Bytes &f) { SetU32(f, E(f, 2) + SizeAt, 8); }, BadValueSize},
      {"image that is no bitmap", [](Bytes &f) { f[Bmp(f)] = 'P'; }, BadBitmap},
      {"bitmap of zero width", [](Bytes &f) { SetU32(f, Bmp(f) + 18, 0); }, BadBitmap},
      {"bitmap of 7 bits per pixel", [](Bytes &f) { f[Bmp(f) + 28] = 7; }, BadBitmap},
      {"bitmap of more colours than its depth indexes",
       [](Bytes &f) {
         f[Bmp(f) + 28] = 1;
         SetU32(f, Bmp(f) + 46, 5);
       },
       BadBitmap},
      {"bitmap with two planes", [](Bytes &f) { f[Bmp(f) + 26] = 2; }, BadBitmap},
      {"bitmap of an unknown compression", [](Bytes &f) { f[Bmp(f) + 30] = 9; }, BadBitmap},
      {"bitmap pixels past its data", [](Bytes &f) { SetU32(f, Bmp(f) + 22, 3); }, BadBitmap},
      {"bitmap pixel offset past its data", [](Bytes &f) { SetU32(f, Bmp(f) + 10, 5000); },
       BadBitmap},
      {"bitmap information header too long", [](Bytes &f) { SetU32(f, Bmp(f) + 14, 4000); },
       BadBitmap},
      {"bitmap image cut short", [](Bytes &f) { SetU32(f, E(f, 0) + SizeAt, 20); }, BadBitmap},
      {"bitmap absurdly wide", [](Bytes &f) { SetU32(f, Bmp(f) + 18, 0x7FFFFFFF); },
       BitmapTooLarge},
      {"bitmap absurdly tall, rows from the top",
       [](Bytes &f) { SetU32(f, Bmp(f) + 22, 0x80000000); }, BitmapTooLarge},
      {"bitmap of too many pixels",
       [](Bytes &f) {
         SetU32(f, Bmp(f) + 18, MaxBitmapSide);
         SetU32(f, Bmp(f) + 22, MaxBitmapSide);
       },
       BitmapTooLarge},
      {"file larger than any theme", [](Bytes &f) { f.resize(MaxFileBytes + 1); }, FileTooLarge},
  };
  return damages;
}

} // namespace

TEST(ThemeFile, EveryDamageRefusesTheWholeFile) {
  for (const Damage &d : Damages()) {
    Bytes file = SampleFile();
    d.Apply(file);
    const ThemeParse parse = ParseThemeFile(file);
    EXPECT_EQ(parse.Error, d.Expected) << d.What << ": " << DescribeRefusal(parse);
    EXPECT_TRUE(parse.Contents.Entries.empty()) << d.What;
    EXPECT_LE(parse.ErrorOffset, file.size()) << d.What;
  }
}

TEST(ThemeFile, AChainOfTheMostEntriesAllowedIsRead) {
  Bytes file = SampleFile();
  AppendEntries(file, MaxEntries - 4);
  const ThemeParse parse = ParseThemeFile(file);
  EXPECT_EQ(parse.Error, ThemeError::None) << DescribeRefusal(parse);
  EXPECT_EQ(parse.Contents.Entries.size(), MaxEntries);
}

// Each entry counts with the whole of its data, however many share it: what is accepted can be
// written out entry by entry, and decoding every entry stays bounded.
TEST(ThemeFile, EntriesSharingDataCountAsManyTimesAsTheyAre) {
  const Bytes picture = RunLengthBitmap(2048, 2048); // a quarter of the pixels allowed
  const Bytes text(MaxEntryBytes, 't');
  const struct {
    ThemeEntryKind Kind;
    const Bytes &Data;
    std::size_t Count;
    ThemeError Expected;
  } cases[] = {
      {ThemeEntryKind::Image, picture, 4, ThemeError::None},
      {ThemeEntryKind::Image, picture, 5, ThemeError::PicturesTooLarge},
      {ThemeEntryKind::Image, SampleBitmap(), MaxEntries, ThemeError::None},
      {ThemeEntryKind::Text, text, 3, ThemeError::None},
      {ThemeEntryKind::Text, text, 4, ThemeError::EntriesTooLarge},
  };
  for (const auto &c : cases) {
    const ThemeParse parse = ParseThemeFile(SharedDataFile(c.Kind, c.Data, c.Count));
    EXPECT_EQ(parse.Error, c.Expected) << c.Count << " entries: " << DescribeRefusal(parse);
    EXPECT_EQ(parse.Contents.Entries.size(), c.Expected == ThemeError::None ? c.Count : 0u);
  }
}

// The sizes and offsets the window draws with; colours and names it does not read take any value.
TEST(ThemeFile, NumbersAreReadOnlyWithinTheRangeTheWindowCanDraw) {
  const struct {
    const char *Key;
    std::int32_t Lowest, Highest;
  } ranges[] = {
      {"FormBorderWidthInt", -1, 32},
      {"FormRoundCornerInt", -1, 255},
      {"FormBottomRoundCornerInt", -1, 255},
      {"FormMinWidthInt", -1, 4096},
      {"TitleBarButtonLeftOffsetInt", -256, 256},
      {"TitleBarButtonRightOffsetInt", -256, 256},
      {"TitleBarButtonTopInt", -256, 256},
      {"FormBorderColor", INT_MIN, INT_MAX},
      {"SomethingElseInt", INT_MIN, INT_MAX},
  };
  Bytes file;
  const auto parse = [&](const char *key, std::int64_t value) {
    file = *WriteThemeFile(
        std::vector<ThemeEntry>{ThemeEntry::Text("Author", "x"), ThemeEntry::Integer(key, 0)});
    SetU32(file, U32(file, EntryOffset(file, 1) + DataAt), static_cast<std::uint32_t>(value));
    return ParseThemeFile(file);
  };
  for (const auto &r : ranges) {
    for (const std::int64_t value : {std::int64_t{r.Lowest}, std::int64_t{r.Highest}})
      EXPECT_EQ(parse(r.Key, value).Error, ThemeError::None) << r.Key << " " << value;
    for (const std::int64_t value : {std::int64_t{r.Lowest} - 1, std::int64_t{r.Highest} + 1}) {
      if (value < INT_MIN || value > INT_MAX) continue;
      const ThemeParse refused = parse(r.Key, value);
      EXPECT_EQ(refused.Error, ThemeError::NumberOutOfRange) << r.Key << " " << value;
      EXPECT_EQ(refused.ErrorOffset, EntryOffset(file, 1)) << r.Key;
    }
  }
}

TEST(BitmapFile, WrittenBitmapsPassTheCheckAndKeepTheirRowsPadded) {
  for (const auto &[w, h] : {std::pair{1, 1}, {6, 2}, {7, 3}, {441, 23}}) {
    const Bytes bmp = SampleBitmap(w, h);
    EXPECT_EQ(CheckBitmapFile(bmp), BitmapCheck::Readable) << w << "x" << h;
    EXPECT_EQ(bmp.size(), 54u + static_cast<std::size_t>((w * 3 + 3) / 4 * 4 * h));
  }
  EXPECT_TRUE(WriteBitmapFile24(2, 2, std::vector<std::uint32_t>(3)).empty());
  EXPECT_TRUE(WriteBitmapFile24(0, 0, {}).empty());
}
