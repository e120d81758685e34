// What a user sees when the program refuses to start: a message on standard error naming the
// cause and a non-zero exit, never a crash.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Outcome {
  int Code = -1;
  QString Err;
  QString Out;
};

Outcome RunProgram(const QStringList &arguments, const QProcessEnvironment &env) {
  QProcess process;
  process.setProcessEnvironment(env);
  process.start(QUELVANE_BINARY, arguments);
  if (!process.waitForStarted(10000) || !process.waitForFinished(20000)) {
    process.kill();
    process.waitForFinished(5000);
    ADD_FAILURE() << "the program did not end";
    return {};
  }
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "crashed";
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardError()),
          QString::fromUtf8(process.readAllStandardOutput())};
}

QProcessEnvironment Headless(const QTemporaryDir &home) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("HOME", home.path());
  env.insert("XDG_CONFIG_HOME", home.filePath("config"));
  return env;
}

TEST(E2eCommandLine, RefusedScenariosNameThePlaceAndExitNonZero) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  const QString data = QUELVANE_TEST_DATA;

  const Outcome missing = RunProgram({"--simulate=" + home.filePath("none.json")}, Headless(home));
  EXPECT_NE(missing.Code, 0);
  EXPECT_TRUE(missing.Err.contains("none.json")) << missing.Err.toStdString();

  const Outcome bad =
      RunProgram({"--simulate=" + data + "/refused_bad_vendor.json"}, Headless(home));
  EXPECT_NE(bad.Code, 0);
  EXPECT_TRUE(bad.Err.contains("devices[0].vendor")) << bad.Err.toStdString();

  // Listing refuses the same file the same way.
  const Outcome listed =
      RunProgram({"--list", "--simulate=" + data + "/refused_bad_vendor.json"}, Headless(home));
  EXPECT_NE(listed.Code, 0);
  EXPECT_TRUE(listed.Err.contains("devices[0].vendor")) << listed.Err.toStdString();
}

TEST(E2eCommandLine, WithoutADisplayTheWindowIsRefusedButListingWorks) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  QProcessEnvironment env = Headless(home);
  env.remove("QT_QPA_PLATFORM");
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");

  const Outcome window = RunProgram({"--simulate"}, env);
  EXPECT_EQ(window.Code, 1);
  EXPECT_TRUE(window.Err.contains("no display")) << window.Err.toStdString();

  const Outcome list = RunProgram({"--list", "--json", "--simulate"}, env);
  EXPECT_EQ(list.Code, 0) << list.Err.toStdString();
  EXPECT_TRUE(list.Out.contains("\"vendor\":14974")) << list.Out.toStdString();
}

TEST(E2eCommandLine, AnUnknownOptionIsAUsageError) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  const Outcome unknown = RunProgram({"--frobnicate"}, Headless(home));
  EXPECT_EQ(unknown.Code, 2);
  EXPECT_TRUE(unknown.Err.contains("--frobnicate"));
  EXPECT_TRUE(unknown.Err.contains("Usage"));
}

} // namespace
