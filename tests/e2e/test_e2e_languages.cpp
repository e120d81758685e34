// The real program on the offscreen platform with its own settings folder: the language is
// chosen at first start, switched from the tray menu and kept in the settings file.
#include "common/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <vector>

namespace {

class LanguageRun : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(m_home.IsValid()); }

  QString SettingsFile() const { return m_home.SettingsFile(); }
  QByteArray SettingsContent() const { return testcommon::FileContent(SettingsFile()); }

  // Runs a scenario of the data folder under `locale`; the state events of its trace.
  std::vector<QJsonObject> Run(const QString &scenario, const QString &locale) {
    m_home.Environment.insert("LANG", locale);
    return testcommon::EventsOf(m_home.RunTraced({"--simulate=" QUELVANE_TEST_DATA "/" + scenario}),
                                "state");
  }

  static QString Language(const QJsonObject &state) { return state.value("language").toString(); }

  testcommon::ProgramHome m_home;
};

} // namespace

TEST_F(LanguageRun, MenuSwitchesTheLanguageAndTheSettingsKeepIt) {
  const auto states = Run("languages_menu.json", "zh_TW.UTF-8");
  ASSERT_GE(states.size(), 4U);
  // First start under a Traditional Chinese locale.
  EXPECT_EQ(Language(states.front()), "Cht");
  EXPECT_TRUE(states.front().value("window_visible").toBool());

  // The menu choice, then hidden to the tray, then back.
  const auto chs = std::find_if(states.begin(), states.end(),
                                [](const QJsonObject &s) { return Language(s) == "Chs"; });
  ASSERT_NE(chs, states.end());
  const auto hidden = std::find_if(
      chs, states.end(), [](const QJsonObject &s) { return !s.value("window_visible").toBool(); });
  ASSERT_NE(hidden, states.end());
  EXPECT_TRUE(states.back().value("window_visible").toBool());
  EXPECT_EQ(Language(states.back()), "Chs");
  EXPECT_EQ(states.back().value("button").toObject().value("caption").toString(),
            QStringLiteral(u"对码"));

  EXPECT_TRUE(SettingsContent().contains("LngSection=Chs")) << SettingsContent().toStdString();
  const QImage shot(m_home.FilePath("window.png"));
  EXPECT_EQ(shot.size(), QSize(220, 270));

  // The next start keeps the choice whatever the locale says.
  const auto again = Run("languages_quit.json", "zh_TW.UTF-8");
  ASSERT_FALSE(again.empty());
  EXPECT_EQ(Language(again.front()), "Chs");
}

TEST_F(LanguageRun, AFolderInThePlaceOfTheLockDoesNotHoldUpTheStart) {
  ASSERT_TRUE(QDir().mkpath(SettingsFile() + ".lock"));
  const auto states = Run("languages_quit.json", "zh_CN.UTF-8");
  ASSERT_FALSE(states.empty());
  EXPECT_EQ(Language(states.front()), "Chs");
  EXPECT_FALSE(QFile::exists(SettingsFile()));
}

TEST_F(LanguageRun, StepsGoOnWhileTheTrayMenuIsOpenAndAMenuStepPicksFromIt) {
  // The second menu stays open: the quit step must still end the program.
  const auto states = Run("languages_tray_menu.json", "C.UTF-8");
  ASSERT_FALSE(states.empty());
  EXPECT_EQ(Language(states.front()), "Eng");
  EXPECT_EQ(Language(states.back()), "Chs");
  EXPECT_TRUE(SettingsContent().contains("LngSection=Chs")) << SettingsContent().toStdString();
}

// The first start's language, from the environment the desktop session gives; a stored one wins
// even in lower case or after a line the reader cannot take, and its file is left alone.
struct FirstLanguageCase {
  std::vector<std::pair<const char *, const char *>> environment;
  const char *language;
  const char *stored = nullptr; // the settings file beforehand
};

TEST(FirstLanguage, FollowsTheStoredChoiceElseTheInterfaceLanguageAsQtReadsIt) {
  const FirstLanguageCase cases[] = {
      {{{"LANG", "zh_TW.UTF-8"}}, "Cht"},
      {{{"LANG", "zh_MO.UTF-8"}}, "Cht"},
      {{{"LANG", "zh_SG.UTF-8"}}, "Chs"},
      {{{"LANGUAGE", "zh_HK"}}, "Cht"},
      {{{"LANGUAGE", "zh_CN:zh_TW"}}, "Chs"},
      {{{"LANGUAGE", "en_US"}, {"LANG", "zh_TW.UTF-8"}}, "Eng"},
      {{{"LC_MESSAGES", "zh_TW.UTF-8"}, {"LANG", "zh_CN.UTF-8"}}, "Cht"},
      {{{"LC_ALL", "zh_CN.UTF-8"}, {"LC_MESSAGES", "zh_TW.UTF-8"}}, "Chs"},
      {{{"LC_CTYPE", "zh_TW.UTF-8"}}, "Eng"},
      {{{"LANG", "C.UTF-8"}}, "Cht", "[General]\nLngSection=cht\n"},
      {{{"LANG", "zh_CN.UTF-8"}}, "Eng", "[General\n\x01garbage[[[\nLngSection=Eng\n"},
  };
  for (const FirstLanguageCase &c : cases) {
    testcommon::ProgramHome home;
    ASSERT_TRUE(home.IsValid());
    std::string label;
    for (const auto &[name, value] : c.environment) {
      home.Environment.insert(name, value);
      label += std::string(name) + "=" + value + " ";
    }
    SCOPED_TRACE(label);
    if (c.stored) {
      ASSERT_TRUE(QDir().mkpath(QFileInfo(home.SettingsFile()).path()));
      QFile file(home.SettingsFile());
      ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.stored) > 0);
    }
    const auto states = testcommon::EventsOf(
        home.RunTraced({"--simulate=" QUELVANE_TEST_DATA "/languages_quit.json"}), "state");
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.front().value("language").toString().toStdString(), c.language);
    if (c.stored) {
      EXPECT_EQ(testcommon::FileContent(home.SettingsFile()), c.stored);
    }
  }
}
