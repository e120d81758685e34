// Windows: the real program keeps its language in the user's registry, chosen at first start
// from the ANSI code page (1252 under Wine: English) and written back when what is stored is no
// language.
#include "common/ProgramRun.h"

#include <QJsonObject>
#include <QSettings>
#include <QVariant>

#include <gtest/gtest.h>

#include <optional>

namespace {

const QString Key = QStringLiteral("HKEY_CURRENT_USER\\Software\\KESTRAVO\\TELVARIN");

struct RegistryCase {
  const char *label;
  std::optional<QVariant> stored; // none: no value at all
  const char *language;           // the window's first language
  QVariant after;                 // the value once the program has ended
};

TEST(RegistryLanguage, FollowsAStoredNameElseTheCodePageWhichIsWrittenBack) {
  const RegistryCase cases[] = {
      {"first start", std::nullopt, "Eng", QStringLiteral("Eng")},
      {"a name in other letters is kept", QStringLiteral("cht"), "Cht", QStringLiteral("cht")},
      {"no language", QStringLiteral("Fr"), "Eng", QStringLiteral("Eng")},
      {"a number, not a string", QVariant(2), "Eng", QStringLiteral("Eng")},
  };
  for (const RegistryCase &c : cases) {
    SCOPED_TRACE(c.label);
    testcommon::ProgramHome home; // starts with no value
    ASSERT_TRUE(home.IsValid());
    if (c.stored) QSettings(Key, QSettings::NativeFormat).setValue("LngSection", *c.stored);
    const auto states = testcommon::EventsOf(
        home.RunTraced({"--simulate=" QUELVANE_TEST_DATA "/languages_quit.json"}), "state");
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.front().value("language").toString().toStdString(), c.language);
    EXPECT_EQ(QSettings(Key, QSettings::NativeFormat).value("LngSection"), c.after);
  }
}

} // namespace
