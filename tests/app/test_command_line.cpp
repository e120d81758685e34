#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

// What a good command line sets; fields left out are off.
struct Expected {
  bool list = false, watch = false, json = false, status = false, hidden = false;
  bool help = false, version = false, history = false;
  std::optional<std::string> simulate{}, trace{}, theme{}, exportTheme{}, plot{};
  skin::TsuiUIStyle exportStyle = skin::TsuiUIStyle::Protein;
  std::optional<skin::TsuiUIStyle> style{};
};

using enum skin::TsuiUIStyle;

struct GoodCase {
  Arguments arguments;
  Expected expected;
};

TEST(CommandLineParser, GoodLines) {
  const GoodCase cases[] = {
      {{}, {}},
      {{"--trace", "t.jsonl"}, {.trace = "t.jsonl"}},
      {{"--trace=t.jsonl"}, {.trace = "t.jsonl"}},
      {{"--simulate"}, {.simulate = ""}},
      {{"--simulate", "s.json"}, {.simulate = "s.json"}},
      {{"--simulate=s.json"}, {.simulate = "s.json"}},
      {{"--simulate", "--trace", "t"}, {.simulate = "", .trace = "t"}},
      {{"--simulate=a", "--simulate"}, {.simulate = ""}},
      {{"--simulate", "--simulate=a"}, {.simulate = "a"}},
      {{"--status"}, {.status = true}},
      {{"--status", "--json", "--simulate"}, {.json = true, .status = true, .simulate = ""}},
      {{"--list", "--watch", "--json"}, {.list = true, .watch = true, .json = true}},
      {{"--history"}, {.history = true}},
      {{"--history", "--plot", "c.png", "--style=MacOS"},
       {.history = true, .plot = "c.png", .style = MacOS}},
      {{"--history", "--json", "--simulate=s.json"},
       {.json = true, .history = true, .simulate = "s.json"}},
      {{"--hidden"}, {.hidden = true}},
      {{"--version"}, {.version = true}},
      {{"-h"}, {.help = true}},
      {{"--help"}, {.help = true}},
      // Qt's own options, for Qt: stepped over with their values.
      {{"-platform", "offscreen", "--list"}, {.list = true}},
      {{"-style", "fusion", "--hidden"}, {.hidden = true}},
      {{"-style=fusion", "-platform=xcb", "-reverse", "--status"}, {.status = true}},
      {{"--trace", "-", "-display", ":1"}, {.trace = "-"}},
      {{"--theme", "a.thm", "--simulate"}, {.simulate = "", .theme = "a.thm"}},
      {{"--hidden", "--theme=a.thm"}, {.hidden = true, .theme = "a.thm"}},
      // A style name in any case; with --export-theme it is the style written, not the window's.
      {{"--style=MacOS"}, {.style = MacOS}},
      {{"--style=WinXP"}, {.style = WinXP}},
      {{"--style", "DeepBlue"}, {.style = DeepBlue}},
      {{"--style=protein"}, {.style = Protein}},
      {{"--style=BlueGlass"}, {.style = BlueGlass}},
      {{"--export-theme=t.thm"}, {.exportTheme = "t.thm"}},
      {{"--export-theme=t.thm", "--style=MacOS"}, {.exportTheme = "t.thm", .exportStyle = MacOS}},
      {{"--style=winxp", "--export-theme=t.thm"}, {.exportTheme = "t.thm", .exportStyle = WinXP}},
      {{"--export-theme=t.thm", "--style=DEEPBLUE"},
       {.exportTheme = "t.thm", .exportStyle = DeepBlue}},
      {{"--export-theme", "t.thm", "--style=BlueGlass"},
       {.exportTheme = "t.thm", .exportStyle = BlueGlass}},
  };
  for (const GoodCase &c : cases) {
    std::string line;
    for (const std::string &a : c.arguments)
      line += a + ' ';
    SCOPED_TRACE(line);
    const app::ParsedCommandLine parsed = app::ParseCommandLine(c.arguments);
    ASSERT_EQ(parsed.Error, "");
    const app::Options &o = parsed.Values;
    const Expected &e = c.expected;
    EXPECT_EQ(o.List, e.list);
    EXPECT_EQ(o.Watch, e.watch);
    EXPECT_EQ(o.Json, e.json);
    EXPECT_EQ(o.Status, e.status);
    EXPECT_EQ(o.Hidden, e.hidden);
    EXPECT_EQ(o.Help, e.help);
    EXPECT_EQ(o.Version, e.version);
    EXPECT_EQ(o.History, e.history);
    EXPECT_EQ(o.Simulate, e.simulate);
    EXPECT_EQ(o.Trace, e.trace);
    EXPECT_EQ(o.Theme, e.theme);
    EXPECT_EQ(o.ExportTheme, e.exportTheme);
    EXPECT_EQ(o.ExportStyle, e.exportStyle);
    EXPECT_EQ(o.Style, e.style);
    EXPECT_EQ(o.Plot, e.plot);
  }
}

struct BadCase {
  Arguments arguments;
  const char *error; // part of the message
};

TEST(CommandLineParser, BadLinesSayWhy) {
  const BadCase cases[] = {
      {{"--frobnicate"}, "unknown option: \"--frobnicate\""},
      {{"--frobnicate=3"}, "unknown option: \"--frobnicate=3\""},
      {{"-x"}, "unknown option: \"-x\""},
      {{"-xyz"}, "unknown option: \"-xyz\""},
      {{"--trace"}, "--trace"},
      {{"--trace="}, "--trace needs a file name"},
      {{"--trace", "--simulate=s.json"},
       "--trace needs a value, not the option \"--simulate=s.json\""},
      {{"--theme", "--hidden"}, "--theme needs a value"},
      {{"--trace", "--simulate"}, "--trace needs a value, not the option \"--simulate\""},
      {{"--simulate="}, "--simulate= needs a file name"},
      {{"--simulate", "s.json", "more"}, "unexpected argument: \"more\""},
      {{"list"}, "unexpected argument: \"list\""},
      {{"--status", "--list"}, "do not go together"},
      {{"--watch"}, "--watch only goes with --list"},
      {{"--status", "--watch"}, "--watch only goes with --list"},
      {{"--json"}, "--json only goes with --list, --status or --history"},
      {{"--history", "--status"}, "--history goes with --json, --plot"},
      {{"--history", "--trace=t"}, "--history goes with --json, --plot"},
      {{"--history", "--hidden"}, "--history goes with --json, --plot"},
      {{"--history", "--style=MacOS"}, "--history goes with --json, --plot"},
      {{"--plot=c.png"}, "--plot only goes with --history"},
      {{"--history", "--plot="}, "--plot needs a file name"},
      {{"--history", "--json", "--plot=c.png"}, "--plot and --json do not go together"},
      {{"--hidden", "--status"}, "--hidden only goes with the window"},
      {{"--hidden", "--list"}, "--hidden only goes with the window"},
      {{"--style", "fusion"}, "unknown style: \"fusion\""},
      {{"--style", "Protein", "--list"}, "not with --list or --status"},
      // The theme style needs a theme file.
      {{"--style=FromThemeFile"}, "unknown style"},
      {{"--style="}, "unknown style"},
      {{"--style"}, "--style"},
      {{"--export-theme=t.thm", "--style=Nope"}, "unknown style"},
      {{"--export-theme=t.thm", "--style=FromThemeFile"}, "unknown style"},
      {{"--export-theme=t.thm", "--style"}, "--style"},
      {{"--export-theme="}, "--export-theme"},
      {{"--export-theme"}, "--export-theme"},
      {{"--export-theme=t.thm", "--list"}, "--export-theme goes with --style only"},
      {{"--export-theme", "t.thm", "--status"}, "--export-theme goes with --style only"},
      {{"--theme="}, "--theme needs a file name"},
      {{"--theme", "a.thm", "--style", "MacOS"}, "--theme and --style do not go together"},
      {{"--theme", "a.thm", "--status"}, "--theme goes with the window"},
      {{"--export-theme", "t.thm", "--theme", "a.thm"}, "--export-theme goes with --style only"},
  };
  for (const BadCase &c : cases) {
    SCOPED_TRACE(c.arguments.front());
    const std::string error = app::ParseCommandLine(c.arguments).Error;
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
}

TEST(CommandLineParser, TheHelpListsEveryOptionAndTheVersionNamesTheProgram) {
  const std::string usage = app::UsageText();
  for (const char *option :
       {"--help", "--version", "--hidden", "--status", "--history", "--list", "--watch", "--json",
        "--simulate", "--trace", "--export-theme", "--style", "--theme", "-platform"})
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  EXPECT_EQ(usage.find("simulate-built-in"), std::string::npos) << "a hidden option shows";
  EXPECT_TRUE(usage.starts_with("Usage: quelvane"));
  EXPECT_EQ(app::VersionText().rfind("quelvane ", 0), 0u);
}

} // namespace
