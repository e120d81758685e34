// The real program on the offscreen platform with its own settings folder: the language is
// chosen at first start, switched from the tray menu and kept in the settings file.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

class LanguageRun : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(m_home.isValid()); }

  QString SettingsFile() const { return m_home.filePath("config/KESTRAVO/TELVARIN.conf"); }
  QByteArray SettingsContent() const {
    QFile file(SettingsFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void StoreSettings(const QByteArray &content) const {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(SettingsFile()).path()));
    QFile file(SettingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  // Runs a scenario of the data folder under `locale`; the state events of its trace.
  std::vector<QJsonObject> Run(const QString &scenario, const QString &locale) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", m_home.path());
    env.insert("XDG_CONFIG_HOME", m_home.filePath("config"));
    env.insert("LANG", locale);
    env.remove("LC_ALL");
    env.remove("LC_CTYPE");
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(m_home.path());
    const QString trace = m_home.filePath("trace.jsonl");
    QFile::remove(trace);
    process.start(QUELVANE_BINARY, {"--simulate=" + QString(QUELVANE_TEST_DATA) + "/" + scenario,
                                    "--trace=" + trace});
    EXPECT_TRUE(process.waitForStarted(10000));
    if (!process.waitForFinished(30000)) {
      process.kill();
      process.waitForFinished(5000);
      ADD_FAILURE() << "the program did not end on its own";
    }
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    std::vector<QJsonObject> states;
    QFile file(trace);
    if (!file.open(QIODevice::ReadOnly)) {
      ADD_FAILURE() << "no trace written";
      return states;
    }
    while (!file.atEnd()) {
      const QJsonObject event = QJsonDocument::fromJson(file.readLine()).object();
      if (event.value("ev").toString() == "state") states.push_back(event);
    }
    return states;
  }

  static QString Language(const QJsonObject &state) { return state.value("language").toString(); }

  QTemporaryDir m_home;
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
  const QImage shot(m_home.filePath("window.png"));
  EXPECT_EQ(shot.size(), QSize(220, 270));

  // The next start keeps the choice whatever the locale says.
  const auto again = Run("languages_quit.json", "zh_TW.UTF-8");
  ASSERT_FALSE(again.empty());
  EXPECT_EQ(Language(again.front()), "Chs");
}

TEST_F(LanguageRun, StoredNameInLowerCaseIsUsedAndLeftAlone) {
  StoreSettings("[General]\nLngSection=cht\n");
  const auto states = Run("languages_quit.json", "C.UTF-8");
  ASSERT_FALSE(states.empty());
  EXPECT_EQ(Language(states.front()), "Cht");
  EXPECT_EQ(SettingsContent(), "[General]\nLngSection=cht\n");
}

TEST_F(LanguageRun, ABrokenLineKeepsTheStoredLanguageAndTheFile) {
  StoreSettings("[General\n\x01garbage[[[\nLngSection=Eng\n");
  const auto states = Run("languages_quit.json", "zh_CN.UTF-8");
  ASSERT_FALSE(states.empty());
  EXPECT_EQ(Language(states.front()), "Eng");
  EXPECT_EQ(SettingsContent(), "[General\n\x01garbage[[[\nLngSection=Eng\n");
}

TEST_F(LanguageRun, AFolderInThePlaceOfTheLockDoesNotHoldUpTheStart) {
  ASSERT_TRUE(QDir().mkpath(SettingsFile() + ".lock"));
  const auto states = Run("languages_quit.json", "zh_CN.UTF-8");
  ASSERT_FALSE(states.empty());
  EXPECT_EQ(Language(states.front()), "Chs");
  EXPECT_FALSE(QFile::exists(SettingsFile()));
}
