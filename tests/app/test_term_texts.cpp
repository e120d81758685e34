#include "platform/TextDecoding.h"
#include "receiver/Languages.h"

#include <QString>
#include <gtest/gtest.h>

namespace {

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

} // namespace
