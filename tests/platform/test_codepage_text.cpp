#include "platform/CodePage.h"
#include "platform/TextDecoding.h"
#include "receiver/Languages.h"

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

TEST(TextDecoding, TermsReadCorrectlyWhateverTheSystemCodePage) {
  using receiver::TLngID;
  const auto term = [](std::size_t id, TLngID lng) {
    return platform::DecodeText(receiver::Terms.at(id).Texts.at(static_cast<std::size_t>(lng)),
                                lng == TLngID::Cht   ? 950
                                : lng == TLngID::Chs ? 936
                                                     : 1252);
  };
  EXPECT_EQ(term(0, TLngID::Cht), QStringLiteral(u"解析度"));
  EXPECT_EQ(term(0, TLngID::Chs), QStringLiteral(u"解析度"));
  EXPECT_EQ(term(1, TLngID::Chs), QStringLiteral(u"    高"));
  EXPECT_EQ(term(2, TLngID::Cht), QStringLiteral(u"  低"));
  EXPECT_EQ(term(3, TLngID::Cht), QStringLiteral(u"結束"));
  EXPECT_EQ(term(4, TLngID::Chs), QStringLiteral(u"显示"));
  EXPECT_EQ(term(6, TLngID::Cht), QStringLiteral(u"對碼中"));
  EXPECT_EQ(term(6, TLngID::Chs), QStringLiteral(u"对码中"));
  EXPECT_EQ(term(6, TLngID::Eng), QStringLiteral(u"&Connecting"));
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
