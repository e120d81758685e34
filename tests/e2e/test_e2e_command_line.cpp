// What a user sees when the program refuses to start: a message on standard error naming the
// cause and a non-zero exit, never a crash.
#include "common/ProgramRun.h"
#include "skin/theme/BitmapFile.h"
#include "skin/theme/ThemeFile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#endif
#ifndef _WIN32
#include <sys/stat.h>
#endif
#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

using testcommon::ProgramHome;

const QString Data = QUELVANE_TEST_DATA;

// Every message is one line that starts with the program's name.
void ExpectMessages(const QString &err) {
  for (const QString &line : err.split('\n', Qt::SkipEmptyParts))
    EXPECT_TRUE(line.startsWith("quelvane: ")) << line.toStdString();
}

using testcommon::FileContent;

// Each test has a home of its own. A scenario a test writes goes there: a test never puts the
// data folder at risk.
class E2eCommandLine : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(home.IsValid()); }
  ProgramHome home;
};

TEST_F(E2eCommandLine, AFailingStepNamesTheProgramTheFileAndThePlace) {
  const QString scenario =
      home.Write("s.json", R"({"timeline": [{"at": 0, "click": "missing\r"}]})");
  const auto run = home.Run({"--simulate=" + scenario});
  EXPECT_EQ(run.Code, 1);
  EXPECT_TRUE(run.Err.contains(": timeline[0].click: no control \"missing\\r\" to click\n"))
      << run.Err.toStdString();
  ExpectMessages(run.Err);
}

#ifndef _WIN32
TEST_F(E2eCommandLine, ATraceThatCannotBeWrittenWholeFailsTheRunWithAMessage) {
  const QByteArray json = R"({"timeline": [{"at": 200, "quit": true}]})";
  const QString scenario = home.Write("s.json", json);
  const QString link = home.FilePath("link.json");
  const QString hardLink = home.FilePath("hard.json");
  ASSERT_TRUE(QFile::link(scenario, link));
  ASSERT_EQ(::link(QFile::encodeName(scenario), QFile::encodeName(hardLink)), 0);
  const QString fifo = home.FilePath("fifo");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
  // The scenario itself, also through a link; a device that takes nothing; a file that takes
  // nothing, even from root; a pipe nothing reads, which once held the start for ever.
  for (const QString &trace :
       {scenario, link, hardLink, QString("/dev/full"), QString("/proc/version"), fifo}) {
    const auto run = home.Run({"--simulate=" + scenario, "--trace=" + trace});
    EXPECT_EQ(run.Code, 1) << trace.toStdString();
    EXPECT_TRUE(run.Err.contains("quelvane: " + trace + ": ")) << run.Err.toStdString();
    ExpectMessages(run.Err);
    EXPECT_EQ(FileContent(scenario), json);
  }
}
#endif

#ifndef _WIN32
// SIGTERM and SIGINT end the run in order, its last state traced; even SIGKILL leaves only
// whole lines.
TEST(E2eSignals, ASignalEndsTheRunAndTheTraceStaysWhole) {
  for (const int signal : {SIGTERM, SIGINT, SIGKILL}) {
    ProgramHome home;
    ASSERT_TRUE(home.IsValid());
    const QString scenario = home.Write("s.json", R"({"timeline": [{"at": 60000, "quit": true}]})");
    const QString trace = home.FilePath("trace.jsonl");
    const auto process = home.Start({"--simulate=" + scenario, "--trace=" + trace});
    for (int waited = 0; !FileContent(trace).contains("\"state\"") && waited < 20000; waited += 50)
      process->waitForFinished(50);
    ASSERT_EQ(::kill(static_cast<pid_t>(process->processId()), signal), 0);
    const auto run = ProgramHome::Finish(*process, 10000);
    EXPECT_EQ(run.Status, signal == SIGKILL ? QProcess::CrashExit : QProcess::NormalExit);
    const auto events = testcommon::ReadTrace(trace);
    ASSERT_TRUE(events && !events->empty()) << signal;
    if (signal != SIGKILL) {
      EXPECT_EQ(events->back().value("ev").toString(), "state");
    }
  }
}
#endif

// Exporting needs no display; what it refuses leaves no file behind.
TEST_F(E2eCommandLine, ExportingAThemeWritesOneWholeFileOrNone) {
  home.WithoutDisplay();
  const QString file = home.FilePath("my.thm");
  const auto files = [&] { return QDir(home.Path()).entryList({"*.thm*"}, QDir::Files); };

  const auto unknown = home.Run({"--export-theme=" + file, "--style=Purple"});
  EXPECT_EQ(unknown.Code, 2);
  EXPECT_TRUE(unknown.Err.contains("Purple")) << unknown.Err.toStdString();
  ExpectMessages(unknown.Err.section("\n\n", 0, 0));
  EXPECT_TRUE(files().isEmpty());

  const QString unwritable = home.FilePath("none/my.thm");
  const auto failed = home.Run({"--export-theme=" + unwritable});
  EXPECT_EQ(failed.Code, 1);
  EXPECT_EQ(failed.Err.count('\n'), 1) << failed.Err.toStdString();
  EXPECT_TRUE(failed.Err.contains(unwritable)) << failed.Err.toStdString();
  ExpectMessages(failed.Err);

  const auto written = home.Run({"--export-theme=" + file, "--style=winxp"});
  EXPECT_EQ(written.Code, 0) << written.Err.toStdString();
  EXPECT_TRUE(FileContent(file).startsWith("Marbelo_TB"));
  EXPECT_GT(FileContent(file).size(), 10000) << "every picture of the style is in it";
  EXPECT_EQ(files(), QStringList{"my.thm"});
}

// A theme the window cannot use ends the run before anything shows: no trace is made and the
// screenshot the scenario takes at once is never taken.
TEST_F(E2eCommandLine, AThemeThatCannotBeUsedIsRefusedBeforeTheWindow) {
  const QString exported = home.FilePath("whole.thm");
  ASSERT_EQ(home.Run({"--export-theme=" + exported}).Code, 0);
  const QByteArray whole = FileContent(exported);
  ASSERT_TRUE(QDir(home.Path()).mkdir("folder.thm"));
  QByteArray inside = whole;
  // The first entry placed on the file header.
  inside.replace(20, 4, QByteArray::fromRawData("\x14\0\0\0", 4));
  // Values that Qt would warn about, or draw nothing with, beside the program's line.
  using skin::theme::ThemeEntry;
  const auto themeOf = [](const ThemeEntry &entry) {
    const auto file = skin::theme::WriteThemeFile(std::vector<ThemeEntry>{entry});
    return file ? QByteArray(reinterpret_cast<const char *>(file->data()), qsizetype(file->size()))
                : QByteArray();
  };
  const auto largest = [&](const char *key) {
    return themeOf(ThemeEntry::Integer(key, 0)).chopped(4) + QByteArray("\xFF\xFF\xFF\x7F", 4);
  };
  // Five colours for a one-bit picture.
  QByteArray overfull = themeOf(ThemeEntry::Image(
      "ButtonImage", skin::theme::WriteBitmapFile24(8, 2, std::vector<std::uint32_t>(16))));
  overfull[overfull.size() - 48 - 54 + 28] = 1;
  overfull[overfull.size() - 48 - 54 + 46] = 5;
  const struct {
    QString path;
    const char *reason;
  } cases[] = {
      {home.FilePath("none.thm"), "no such file"},
#ifndef _WIN32 // no Windows file name holds a line break
      {home.FilePath("a\nb.thm"), "no such file"},
#endif
      {home.FilePath("folder.thm"), "not a regular file"},
      {home.Write("text.thm", "not a theme at all\n"), "Invalid skin file for Marbelo! (no theme"},
      {home.Write("cut.thm", whole.left(whole.size() / 2)), "Invalid skin file for Marbelo! ("},
      {home.Write("inside.thm", inside), "Invalid skin file for Marbelo! (entry inside the header"},
      {home.Write("border.thm", largest("FormBorderWidthInt")), "number outside the range"},
      {home.Write("width.thm", largest("FormMinWidthInt")), "number outside the range"},
      {home.Write("palette.thm", overfull), "not a readable bitmap"},
  };
  const QString scenario =
      home.Write("s.json", R"({"timeline": [{"at": 0, "screenshot": "shot.png"},
                                           {"at": 100, "quit": true}]})");
  const QString trace = home.FilePath("t.jsonl");
  for (const auto &c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    const auto run = home.Run({"--simulate=" + scenario, "--trace", trace, "--theme", c.path});
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Err.count('\n'), 1) << run.Err.toStdString();
    ExpectMessages(run.Err);
    // A name with a control character comes out quoted and escaped, on one line.
    const QString shown =
        c.path.contains('\n') ? '"' + QString(c.path).replace("\n", "\\n") + '"' : c.path;
    EXPECT_TRUE(run.Err.contains(shown + ": cannot load the theme: ")) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(c.reason)) << run.Err.toStdString();
    EXPECT_FALSE(QFile::exists(trace));
    EXPECT_FALSE(QFile::exists(home.FilePath("shot.png")));
  }
}

// "--style NAME" in two words is the window's look, not a widget style for Qt to refuse.
TEST_F(E2eCommandLine, TheStyleInTwoWordsIsNotGivenToQt) {
  const QString scenario = home.Write("s.json", R"({"timeline": [{"at": 100, "quit": true}]})");
  const auto run = home.Run({"--style", "MacOS", "--simulate=" + scenario});
  EXPECT_EQ(run.Code, 0);
  EXPECT_FALSE(run.Err.contains("MacOS")) << run.Err.toStdString();
}

// Qt aborts when it cannot open the display; the program ends the start with one line instead.
TEST_F(E2eCommandLine, ADisplayThatCannotBeOpenedEndsTheStartWithOneLine) {
  int unused = 97;
  while (QFile::exists(QString("/tmp/.X11-unix/X%1").arg(unused)))
    ++unused;
  home.WithoutDisplay();
  home.Environment.insert("DISPLAY", QString(":%1").arg(unused));
  for (const QStringList &arguments :
       {QStringList{"--simulate"}, QStringList{"-platform", "nonexistent", "--simulate"}}) {
    const auto run = home.Run(arguments);
    EXPECT_EQ(run.Status, QProcess::NormalExit);
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(run.Err.startsWith("quelvane: cannot open the display: ")) << run.Err.toStdString();
    EXPECT_EQ(run.Err.count('\n'), 1) << run.Err.toStdString();
  }
}

struct RunCase {
  const char *name;
  QStringList arguments;
  int code;
  const char *out; // the whole standard output
  const char *err; // part of standard error
};

// No display is needed for any of these; the window refuses to start without one.
TEST_F(E2eCommandLine, StatusVersionRefusalsAndUsageErrorsExitAsDocumented) {
  home.WithoutDisplay();
  const QString trace = home.FilePath("t.jsonl");
  const QString badVendor = Data + "/refused_bad_vendor.json";
  const QString nothing = home.Write("s.json", R"({"devices": []})");
  const QString quit =
      home.Write("quit.json", R"({"devices": [], "timeline": [{"at": 0, "quit": true}]})");
  const QString plain = home.Write(
      "plain.json", R"({"devices": [{"id": "mouse", "vendor": "1234", "product": "5678"}]})");
  const QString deaf = home.Write("deaf.json", R"({"devices": [{"id": "rx", "vendor": "3A7E",
      "product": "0A11", "receiver": {"fail_reads": true}}]})");
  const RunCase cases[] = {
      {"status",
       {"--status", "--simulate"},
       0,
       "3A7E:0A11 connected, battery level 5 (83%), CPI HIGH\n",
       ""},
      {"status traced to a file named after a space",
       {"--status", "--simulate", "--trace", trace},
       0,
       "3A7E:0A11 connected, battery level 5 (83%), CPI HIGH\n",
       ""},
      {"status as JSON, Qt's option passed over",
       {"-platform", "offscreen", "--status", "--json", "--simulate"},
       0,
       "{\"vendor\":\"3A7E\",\"product\":\"0A11\",\"connected\":true,\"level\":5,"
       "\"percentage\":83,\"cpi\":\"HIGH\",\"battery_since\":null,\"estimated_seconds_left\":null}"
       "\n",
       ""},
      {"status without a receiver",
       {"--status", "--simulate=" + nothing},
       1,
       "",
       "quelvane: no supported receiver found"},
      {"status among devices none of which is a receiver",
       {"--status", "--simulate", plain},
       1,
       "",
       "quelvane: no supported receiver found"},
      {"status of a receiver that does not answer",
       {"--status", "--simulate", deaf},
       1,
       "",
       "does not answer the status query"},
      {"a listing of nothing",
       {"--list", "--json", "--simulate", nothing},
       0,
       "[]\n",
       "quelvane: no HID interfaces found"},
      {"a listing of the built-in scenario",
       {"--list", "--simulate"},
       0,
       "sim:receiver\t3A7E:0A11\t0001:0002\t0/0/9\t2.4G Wireless Receiver\trw\tsupported\n",
       ""},
#ifndef _WIN32 // Windows always has its desktop
      {"the window", {"--simulate"}, 1, "", "no display"},
#endif
      {"the window on a platform Qt is told",
       {"-platform", "offscreen", "--simulate", quit},
       0,
       "",
       ""},
      {"a missing scenario", {"--simulate=" + home.FilePath("none.json")}, 1, "", "none.json"},
      {"a refused scenario", {"--simulate=" + badVendor}, 1, "", "devices[0].vendor"},
      {"a listing of a refused scenario",
       {"--list", "--simulate=" + badVendor},
       1,
       "",
       "devices[0].vendor"},
      {"version", {"--version"}, 0, "quelvane 1.6\n", ""},
      {"a missing value", {"--status", "--trace"}, 2, "", "--trace"},
      {"an unknown option", {"--frobnicate"}, 2, "", "--frobnicate"},
      {"an unknown style", {"--style=Chrome", "--simulate"}, 2, "", "Chrome"},
      {"options that do not go together", {"--status", "--list"}, 2, "", "do not go together"},
  };
  for (const RunCase &c : cases) {
    SCOPED_TRACE(c.name);
    const auto outcome = home.Run(c.arguments);
    EXPECT_EQ(outcome.Code, c.code) << outcome.Err.toStdString();
    EXPECT_EQ(outcome.Out.toStdString(), c.out);
    EXPECT_TRUE(outcome.Err.contains(QString::fromUtf8(c.err))) << outcome.Err.toStdString();
    if (c.code == 1) {
      EXPECT_EQ(outcome.Err.count('\n'), 1) << outcome.Err.toStdString();
    }
    if (c.code == 2) {
      EXPECT_TRUE(outcome.Err.contains("Usage")) << outcome.Err.toStdString();
    }
    ExpectMessages(outcome.Code == 2 ? QString() : outcome.Err);
  }
  EXPECT_TRUE(FileContent(trace).contains("\"ev\":\"feature\""));
}

} // namespace
