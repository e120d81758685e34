#include "platform/CodePage.h"
#include "platform/TextDecoding.h"

#include <gtest/gtest.h>

TEST(CodePage, LanguageAndLocaleNamesMapToAnsiCodePages) {
  const struct {
    const char *name;
    int codePage;
  } cases[] = {
      {"zh_TW.UTF-8", 950},  {"zh_HK", 950},         {"zh_MO.Big5", 950},
      {"zh-TW", 950},        {"zh-Hant", 950},       {"zh_Hant_SG", 950},
      {"zh-hant-cn", 950},   {"zh_CN.GB18030", 936}, {"zh_SG", 936},
      {"zh", 936},           {"zh-Hans-HK", 936},    {"zh_CN@stroke", 936},
      {"ZH_tw", 950},        {"ja_JP.UTF-8", 932},   {"ja", 932},
      {"ko_KR.EUC-KR", 949}, {"en_US.UTF-8", 1252},  {"C", 1252},
      {"jam_JM", 1252},      {"zha_TW", 1252},       {"", 1252},
      {"-", 1252},           {"en-TW", 1252},
  };
  for (const auto &c : cases)
    EXPECT_EQ(platform::CodePageForLocale(c.name), c.codePage) << c.name;
}

TEST(TextDecoding, BrokenBytesAreMarkedNotDropped) {
  // A lone lead byte at the end and a byte that starts no character.
  const QString text = platform::DecodeText("A\xB9", 950);
  EXPECT_EQ(text.left(1), "A");
  EXPECT_EQ(text.size(), 2);
  EXPECT_EQ(text.at(1), QChar(0xFFFD));
  EXPECT_EQ(platform::DecodeText("\xE9", 1252), QStringLiteral(u"é"));
  EXPECT_TRUE(platform::DecodeText("", 936).isEmpty());
}
