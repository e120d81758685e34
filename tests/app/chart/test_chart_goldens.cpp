// The battery chart, as a file gets it and in its window, compared pixel for pixel with the
// pictures in tests/e2e/golden.
#include "common/GoldenPicture.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ChartGoldens : public testing::TestWithParam<const char *> {};

TEST_P(ChartGoldens, MatchTheGoldenPicture) {
  const QString name = QLatin1String(GetParam());
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  QProcess shot;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  // Only the faces the setup installs may draw, whatever else this machine has.
  environment.insert("FONTCONFIG_FILE", QStringLiteral(QUELVANE_GOLDEN_DIR "/fonts.conf"));
  environment.insert("XDG_CACHE_HOME", home.filePath("cache"));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  shot.setProcessEnvironment(environment);
  const QString file = home.filePath("shot.png");
  shot.start(QStringLiteral(QUELVANE_CHART_SHOT), {name, file});
  ASSERT_TRUE(shot.waitForFinished(60000)) << "chart_shot did not end";
  ASSERT_EQ(shot.exitStatus(), QProcess::NormalExit);
  ASSERT_EQ(shot.exitCode(), 0) << shot.readAllStandardError().toStdString();
  testcommon::ExpectGoldenPicture(QImage(file),
                                  QStringLiteral(QUELVANE_GOLDEN_DIR "/%1.png").arg(name),
                                  QStringLiteral(QUELVANE_GOLDEN_OUT), name);
}

// Weeks of history with two battery changes and a disconnected stretch, in English and in
// Simplified Chinese; no history; the window in another look than the main window's own.
INSTANTIATE_TEST_SUITE_P(Chart, ChartGoldens,
                         testing::Values("chart_english", "chart_simplified", "chart_empty",
                                         "history_window_macos"),
                         [](const auto &param) { return std::string(param.param); });

} // namespace
