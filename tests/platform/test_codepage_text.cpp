#include "platform/CodePage.h"
#include "platform/TextDecoding.h"

#include <gtest/gtest.h>

TEST(CodePage, LocaleNamesMapToAnsiCodePages) {
  EXPECT_EQ(platform::CodePageForLocale("zh_TW.UTF-8"), 950);
  EXPECT_EQ(platform::CodePageForLocale("zh_HK"), 950);
  EXPECT_EQ(platform::CodePageForLocale("zh_MO.Big5"), 950);
  EXPECT_EQ(platform::CodePageForLocale("zh_CN.GB18030"), 936);
  EXPECT_EQ(platform::CodePageForLocale("zh_SG"), 936);
  EXPECT_EQ(platform::CodePageForLocale("ja_JP.UTF-8"), 932);
  EXPECT_EQ(platform::CodePageForLocale("ko_KR.EUC-KR"), 949);
  EXPECT_EQ(platform::CodePageForLocale("en_US.UTF-8"), 1252);
  EXPECT_EQ(platform::CodePageForLocale("C"), 1252);
  EXPECT_EQ(platform::CodePageForLocale("jam_JM"), 1252);
  EXPECT_EQ(platform::CodePageForLocale("zh"), 1252);
}

TEST(CodePage, FirstNonEmptyLocaleVariableWins) {
  const QByteArray all = qgetenv("LC_ALL"), ctype = qgetenv("LC_CTYPE"), lang = qgetenv("LANG");
  qputenv("LC_ALL", "");
  qputenv("LC_CTYPE", "zh_CN.UTF-8");
  qputenv("LANG", "zh_TW.UTF-8");
  EXPECT_EQ(platform::AnsiCodePage(), 936);
  qputenv("LC_ALL", "ko_KR.UTF-8");
  EXPECT_EQ(platform::AnsiCodePage(), 949);
  qputenv("LC_ALL", "");
  qputenv("LC_CTYPE", "");
  EXPECT_EQ(platform::AnsiCodePage(), 950);
  qputenv("LC_ALL", all);
  qputenv("LC_CTYPE", ctype);
  qputenv("LANG", lang);
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
