#include "common/MemorySettings.h"
#include "receiver/Languages.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace receiver;

namespace {

using fakes::MemorySettings;

class FakeView : public LanguageView {
public:
  void SetLanguageItemChecked(TLngID item, bool checked) override {
    checks[static_cast<int>(item)] = checked;
  }
  void SetBatteryPictureVisible(TLngID picture, bool visible) override {
    pictures[static_cast<int>(picture)] = visible;
  }
  void SetCPILabelFontSize(int points) override { labelFontSize = points; }
  void SetCPILabelTop(int top) override { labelTop = top; }
  void SetCPIBoxLeft(int left) override { boxLeft = left; }
  void SetCPIBoxHeight(int height) override { boxHeight = height; }
  void SetCPILabelCaption(const TermText &text) override { labelCaption = text; }
  void SetPairingButtonCaption(const TermText &text) override { buttonCaption = text; }
  void SetExitCaption(const TermText &text) override { exitCaption = text; }
  void SetShowCaption(const TermText &text) override { showCaption = text; }
  bool PairingTimerRunning() const override { return pairing; }

  std::array<bool, 3> checks{};
  std::array<bool, 3> pictures{};
  int labelFontSize = 0, labelTop = 125, boxLeft = 40, boxHeight = 22;
  TermText labelCaption, buttonCaption, exitCaption, showCaption;
  bool pairing = false;
};

std::string bytes(std::initializer_list<unsigned> values) {
  std::string s;
  for (unsigned v : values)
    s.push_back(static_cast<char>(v));
  return s;
}

// Languages loaded in English, as stored.
class English : public testing::Test {
protected:
  English() {
    settings.StoreLanguage("Eng");
    languages.LoadLanguage(1252, view);
  }
  MemorySettings settings;
  FakeView view;
  Languages languages{settings};
};

} // namespace

TEST(LanguageTable, HoldsTheExactBytesOfEachCodePage) {
  const auto text = [](int id, TLngID lng) {
    return std::string(
        Terms.at(static_cast<std::size_t>(id)).Texts.at(static_cast<std::size_t>(lng)));
  };
  const std::pair<std::string, std::string> chinese[] = {
      {bytes({0xB8, 0xD1, 0xAA, 0x52, 0xAB, 0xD7}), bytes({0xBD, 0xE2, 0xCE, 0xF6, 0xB6, 0xC8})},
      {bytes({0x20, 0x20, 0xB0, 0xAA}), bytes({0x20, 0x20, 0x20, 0x20, 0xB8, 0xDF})},
      {bytes({0x20, 0x20, 0xA7, 0x43}), bytes({0x20, 0x20, 0xB5, 0xCD})},
      {bytes({0xB5, 0xB2, 0xA7, 0xF4}), bytes({0xBD, 0xE1, 0xCA, 0xF8})},
      {bytes({0xC5, 0xE3, 0xA5, 0xDC}), bytes({0xCF, 0xD4, 0xCA, 0xBE})},
      {bytes({0xB9, 0xEF, 0xBD, 0x58}), bytes({0xB6, 0xD4, 0xC2, 0xEB})},
      {bytes({0xB9, 0xEF, 0xBD, 0x58, 0xA4, 0xA4}), bytes({0xB6, 0xD4, 0xC2, 0xEB, 0xD6, 0xD0})},
  };
  for (int id = 0; id < 7; ++id) {
    EXPECT_EQ(text(id, TLngID::Cht), chinese[id].first) << id;
    EXPECT_EQ(text(id, TLngID::Chs), chinese[id].second) << id;
  }
  const std::array<std::string_view, 7> english = {"CPI",   "HIGH",     "LOW",        "&Exit",
                                                   "&Show", "&Connect", "&Connecting"};
  for (std::size_t i = 0; i < Terms.size(); ++i) {
    EXPECT_EQ(Terms.at(i).Id, i);
    EXPECT_EQ(Terms.at(i).Texts.at(0), english.at(i));
  }
}

TEST(LanguageTable, GetTermFollowsTheLanguageAndKnowsNoOtherIds) {
  MemorySettings settings;
  settings.StoreLanguage("Chs");
  FakeView view;
  Languages languages(settings);
  EXPECT_EQ(languages.GetTerm(TermId::tmExit)->Bytes, "&Exit");
  languages.LoadLanguage(1252, view);
  const auto exit = languages.GetTerm(TermId::tmExit);
  ASSERT_TRUE(exit);
  EXPECT_EQ(exit->Bytes, bytes({0xBD, 0xE1, 0xCA, 0xF8}));
  EXPECT_EQ(exit->CodePage, 936);
  EXPECT_FALSE(languages.GetTerm(std::uint8_t{7}));
  EXPECT_FALSE(languages.GetTerm(std::uint8_t{255}));
}

TEST(LanguageTable, CodePageListsPickTheFirstLanguage) {
  for (int cp : {936, 10008, 50935, 51936, 52936})
    EXPECT_EQ(LanguageForCodePage(cp), TLngID::Chs) << cp;
  for (int cp : {950, 10002, 20000, 20002, 50937})
    EXPECT_EQ(LanguageForCodePage(cp), TLngID::Cht) << cp;
  for (int cp : {1252, 932, 949, 0, 65001})
    EXPECT_EQ(LanguageForCodePage(cp), TLngID::Eng) << cp;
}

struct FirstStart {
  int codePage;
  TLngID language;
  const char *stored;
};

class LoadLanguageFirstStart : public testing::TestWithParam<FirstStart> {};

TEST_P(LoadLanguageFirstStart, ChoosesFromTheCodePageAndWritesItBack) {
  MemorySettings settings;
  FakeView view;
  Languages languages(settings);
  languages.LoadLanguage(GetParam().codePage, view);
  EXPECT_EQ(languages.Language(), GetParam().language);
  EXPECT_EQ(settings.Language(), GetParam().stored);
  EXPECT_EQ(settings.Writes.size(), 1U);
  EXPECT_TRUE(view.checks.at(static_cast<std::size_t>(GetParam().language)));
}

INSTANTIATE_TEST_SUITE_P(CodePages, LoadLanguageFirstStart,
                         testing::Values(FirstStart{950, TLngID::Cht, "Cht"},
                                         FirstStart{936, TLngID::Chs, "Chs"},
                                         FirstStart{1252, TLngID::Eng, "Eng"}));

TEST(LoadLanguage, StoredNameInAnyCaseIsKeptWithoutWriting) {
  MemorySettings settings;
  settings.StoreLanguage("cht");
  FakeView view;
  Languages languages(settings);
  languages.LoadLanguage(936, view);
  EXPECT_EQ(languages.Language(), TLngID::Cht);
  EXPECT_TRUE(settings.Writes.empty());
  EXPECT_EQ(settings.Language(), "cht");
}

TEST(LoadLanguage, UnknownOrMissingValueIsReplacedByTheCodePageChoice) {
  MemorySettings settings;
  settings.StoreLanguage("Fr");
  FakeView view;
  Languages languages(settings);
  languages.LoadLanguage(950, view);
  EXPECT_EQ(languages.Language(), TLngID::Cht);
  EXPECT_EQ(settings.Language(), "Cht");

  // The store answers nothing for a value that is not a string; the same path follows.
  MemorySettings empty;
  Languages other(empty);
  other.LoadLanguage(936, view);
  EXPECT_EQ(other.Language(), TLngID::Chs);
  EXPECT_EQ(empty.Language(), "Chs");
}

TEST(LoadLanguage, RefusedWriteStillAppliesTheChoice) {
  MemorySettings settings;
  settings.RefuseWrites = true;
  FakeView view;
  Languages languages(settings);
  languages.LoadLanguage(936, view);
  EXPECT_EQ(languages.Language(), TLngID::Chs);
  EXPECT_EQ(view.labelCaption.CodePage, 936);
}

TEST_F(English, ApplyLanguageSetsChecksPicturesAndCaptions) {
  EXPECT_EQ(view.checks, (std::array<bool, 3>{true, false, false}));
  EXPECT_EQ(view.pictures, (std::array<bool, 3>{true, false, false}));
  EXPECT_EQ(view.labelCaption.Bytes, "CPI");
  EXPECT_EQ(view.buttonCaption.Bytes, "&Connect");
  EXPECT_EQ(view.exitCaption.Bytes, "&Exit");
  EXPECT_EQ(view.showCaption.Bytes, "&Show");

  languages.mniLanguageClick("mniCht", view);
  EXPECT_EQ(view.checks, (std::array<bool, 3>{false, true, false}));
  EXPECT_EQ(view.pictures, (std::array<bool, 3>{false, true, false}));
  EXPECT_EQ(view.exitCaption, (TermText{bytes({0xB5, 0xB2, 0xA7, 0xF4}), 950}));
  EXPECT_EQ(settings.Language(), "Cht");
}

TEST_F(English, ApplyLanguageCPILayoutPerLanguageKeepsTheChineseHeight) {
  const auto layout = [this] {
    return std::tuple(view.labelFontSize, view.labelTop, view.boxLeft, view.boxHeight);
  };
  EXPECT_EQ(layout(), std::tuple(12, 125, 40, 22));
  languages.mniLanguageClick("mniChs", view);
  EXPECT_EQ(layout(), std::tuple(10, 127, 58, 24));
  languages.mniLanguageClick("mniEng", view);
  EXPECT_EQ(layout(), std::tuple(12, 125, 40, 24));
}

TEST_F(English, MenuChoiceSimplifiedWhilePairingShowsConnectingAtOnce) {
  view.pairing = true;
  languages.mniLanguageClick("mniChs", view);
  EXPECT_EQ(view.buttonCaption, (TermText{bytes({0xB6, 0xD4, 0xC2, 0xEB, 0xD6, 0xD0}), 936}));
  EXPECT_EQ(settings.Language(), "Chs");
}

TEST_F(English, MenuChoiceNameIsMatchedWithoutCaseAndUnknownNamesChangeNothing) {
  languages.mniLanguageClick("mniCHS", view);
  EXPECT_EQ(languages.Language(), TLngID::Chs);
  const auto writes = settings.Writes.size();
  languages.mniLanguageClick("mniExit", view);
  languages.mniLanguageClick("mn", view);
  EXPECT_EQ(languages.Language(), TLngID::Chs);
  EXPECT_EQ(settings.Writes.size(), writes);
}
