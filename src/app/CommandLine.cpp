#include "app/CommandLine.h"

#include "app/Messages.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <utility>

namespace app {

namespace {

constexpr std::array<std::pair<const char *, skin::TsuiUIStyle>, 5> BuiltInStyles = {{
    {"MacOS", skin::TsuiUIStyle::MacOS},
    {"WinXP", skin::TsuiUIStyle::WinXP},
    {"DeepBlue", skin::TsuiUIStyle::DeepBlue},
    {"Protein", skin::TsuiUIStyle::Protein},
    {"BlueGlass", skin::TsuiUIStyle::BlueGlass},
}};

bool SameLetters(std::string_view a, std::string_view b) {
  return std::ranges::equal(
      a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

std::optional<skin::TsuiUIStyle> BuiltInStyleNamed(const std::string &name) {
  for (const auto &[styleName, style] : BuiltInStyles)
    if (SameLetters(name, styleName)) return style;
  return std::nullopt;
}

namespace {

// Qt's own options, which every Qt program takes with one dash; true: the option takes a value.
// Qt reads them from the command line itself, so they are only stepped over here.
constexpr std::array<std::pair<std::string_view, bool>, 22> QtOptions = {{
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"geometry", true},
    {"qwindowtitle", true},    {"title", true},
    {"qwindowicon", true},     {"icon", true},
    {"display", true},         {"name", true},
    {"style", true},           {"stylesheet", true},
    {"session", true},         {"fontengine", true},
    {"dialogs", true},         {"qmljsdebugger", true},
    {"reverse", false},        {"widgetcount", false},
    {"nograb", false},         {"dograb", false},
}};

// The hidden flag --simulate without a file becomes: the parser knows no optional values.
constexpr const char *BuiltInSimulation = "simulate-built-in";

// The arguments without Qt's own options and their values; `platform`: -platform was among them.
// `typed` gets the same arguments as the user typed them, for messages: "--simulate" alone is
// passed on under the hidden name.
QStringList WithoutQtOptions(const std::vector<std::string> &arguments, bool &platform,
                             QStringList &typed) {
  QStringList ours;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string &argument = arguments[i];
    if (argument.size() > 1 && argument[0] == '-' && argument[1] != '-') {
      const std::string_view name = std::string_view(argument).substr(1, argument.find('=') - 1);
      const auto qt =
          std::ranges::find_if(QtOptions, [&](const auto &o) { return o.first == name; });
      if (qt != QtOptions.end()) {
        platform = platform || name == "platform";
        if (qt->second && argument.find('=') == std::string::npos) ++i;
        continue;
      }
    }
    // The program takes no other arguments: a word after --simulate is its file.
    const bool builtIn = argument == "--simulate" &&
                         (i + 1 == arguments.size() || arguments[i + 1].starts_with('-'));
    ours << (builtIn ? QStringLiteral("--") + QLatin1String(BuiltInSimulation)
                     : QString::fromLocal8Bit(argument));
    typed << QString::fromLocal8Bit(argument);
  }
  return ours;
}

// The program's options, as the parser and the help know them.
struct OptionSet {
  QCommandLineOption Help{{QStringLiteral("h"), QStringLiteral("help")},
                          QStringLiteral("Show this text.")};
  QCommandLineOption Version{QStringLiteral("version"), QStringLiteral("Show the version.")};
  QCommandLineOption Hidden{QStringLiteral("hidden"),
                            QStringLiteral("Start with the window in the tray (minimised in the "
                                           "task bar where there is no tray).")};
  QCommandLineOption Status{QStringLiteral("status"),
                            QStringLiteral("Print the receiver's status, battery and CPI once.")};
  QCommandLineOption History{QStringLiteral("history"),
                             QStringLiteral("Print the battery history: each battery's period, "
                                            "how long it lasted, and the time left.")};
  QCommandLineOption Plot{QStringLiteral("plot"),
                          QStringLiteral("With --history: write the battery chart to FILE as a "
                                         "PNG picture instead of printing the periods."),
                          QStringLiteral("FILE")};
  QCommandLineOption List{QStringLiteral("list"),
                          QStringLiteral("Print every HID interface and whether it is a "
                                         "supported receiver.")};
  QCommandLineOption Watch{QStringLiteral("watch"),
                           QStringLiteral("With --list: print the list again whenever it "
                                          "changes.")};
  QCommandLineOption Json{QStringLiteral("json"),
                          QStringLiteral("With --list, --status or --history: print JSON.")};
  QCommandLineOption Simulate{QStringLiteral("simulate"),
                              QStringLiteral("Run on simulated devices: the scenario in FILE, or "
                                             "one virtual receiver without FILE."),
                              QStringLiteral("FILE")};
  QCommandLineOption SimulateBuiltIn{QLatin1String(BuiltInSimulation), QString()};
  QCommandLineOption Trace{QStringLiteral("trace"),
                           QStringLiteral("Write report traffic, scans, state changes and "
                                          "notifications to FILE."),
                           QStringLiteral("FILE")};
  QCommandLineOption ExportTheme{QStringLiteral("export-theme"),
                                 QStringLiteral("Write a built-in style as a theme file, to start "
                                                "a theme from."),
                                 QStringLiteral("FILE")};
  QCommandLineOption Style{QStringLiteral("style"),
                           QStringLiteral("MacOS, WinXP, DeepBlue, Protein or BlueGlass: the "
                                          "window in that look, or with --export-theme the "
                                          "style written (Protein by default)."),
                           QStringLiteral("NAME")};
  QCommandLineOption Theme{QStringLiteral("theme"),
                           QStringLiteral("Show the window and the tray menu in the look of a "
                                          "theme file."),
                           QStringLiteral("FILE")};

  OptionSet() { SimulateBuiltIn.setFlags(QCommandLineOption::HiddenFromHelp); }

  void AddTo(QCommandLineParser &parser) const {
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const QCommandLineOption *o :
         {&Help, &Version, &Hidden, &Status, &History, &Plot, &List, &Watch, &Json, &Simulate,
          &SimulateBuiltIn, &Trace, &ExportTheme, &Style, &Theme})
      parser.addOption(*o);
  }
};

// The argument an unknown option name came from, as the user typed it.
std::string TypedOption(const QString &name, const QStringList &arguments) {
  for (const QString &argument : arguments) {
    QString bare = argument.section(QLatin1Char('='), 0, 0);
    while (bare.startsWith(QLatin1Char('-')))
      bare.remove(0, 1);
    if (bare == name) return argument.toStdString();
  }
  // One dash joins short options: "-bogus" is refused at its "b".
  for (const QString &argument : arguments)
    if (name.size() == 1 && argument.startsWith(QLatin1Char('-') + name))
      return argument.toStdString();
  return (name.size() == 1 ? "-" : "--") + name.toStdString();
}

} // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string> &arguments) {
  ParsedCommandLine parsed;
  Options &o = parsed.Values;
  const auto fail = [&](std::string message) {
    if (parsed.Error.empty()) parsed.Error = std::move(message);
  };
  const OptionSet options;
  QCommandLineParser parser;
  options.AddTo(parser);
  QStringList typed;
  const QStringList ours = WithoutQtOptions(arguments, o.QtPlatform, typed);
  // "--trace --simulate=s.json" would trace into a file named like the option and run on the real
  // devices; a value that is an option is refused (--trace=--name takes such a name on purpose).
  for (qsizetype i = 0; i + 1 < ours.size(); ++i)
    for (const char *name : {"--trace", "--export-theme", "--theme", "--style"})
      if (ours[i] == QLatin1String(name) && ours[i + 1].startsWith(QLatin1String("--"))) {
        fail(std::string(name) + " needs a value, not the option " +
             Quoted(typed[i + 1].toStdString()));
        return parsed;
      }
  // The parser wants the program name first.
  if (!parser.parse(QStringList{QLatin1String(ProgramName)} + ours)) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
      fail("unknown option: " + Quoted(TypedOption(unknown.front(), typed)));
    else
      fail(parser.errorText().toStdString());
    return parsed;
  }
  if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty())
    fail("unexpected argument: " + Quoted(extra.front().toStdString()));

  o.Help = parser.isSet(options.Help);
  o.Version = parser.isSet(options.Version);
  o.Hidden = parser.isSet(options.Hidden);
  o.Status = parser.isSet(options.Status);
  o.History = parser.isSet(options.History);
  o.List = parser.isSet(options.List);
  o.Watch = parser.isSet(options.Watch);
  o.Json = parser.isSet(options.Json);
  // Whichever of --simulate and --simulate=FILE comes last counts.
  const auto last = [&](const QString &name) {
    const QStringList names = parser.optionNames();
    return names.lastIndexOf(name);
  };
  if (parser.isSet(options.Simulate) || parser.isSet(options.SimulateBuiltIn)) {
    if (last(QLatin1String(BuiltInSimulation)) > last(QStringLiteral("simulate")))
      o.Simulate = std::string();
    else if ((o.Simulate = parser.value(options.Simulate).toStdString())->empty())
      fail("--simulate= needs a file name");
  }
  if (parser.isSet(options.Trace))
    if ((o.Trace = parser.value(options.Trace).toStdString())->empty())
      fail("--trace needs a file name");
  if (parser.isSet(options.ExportTheme))
    if ((o.ExportTheme = parser.value(options.ExportTheme).toStdString())->empty())
      fail("--export-theme needs a file name");
  if (parser.isSet(options.Theme))
    if ((o.Theme = parser.value(options.Theme).toStdString())->empty())
      fail("--theme needs a file name");
  if (parser.isSet(options.Plot))
    if ((o.Plot = parser.value(options.Plot).toStdString())->empty())
      fail("--plot needs a file name");
  std::optional<std::string> style;
  if (parser.isSet(options.Style)) style = parser.value(options.Style).toStdString();

  if (o.List && o.Status) fail("--list and --status do not go together");
  if (o.Watch && !o.List) fail("--watch only goes with --list");
  if (o.Plot && !o.History) fail("--plot only goes with --history");
  if (o.Plot && o.Json) fail("--plot and --json do not go together");
  if (o.History && (o.List || o.Status || o.Watch || o.Hidden || o.Trace || o.Theme ||
                    (style && !o.Plot) || o.ExportTheme))
    fail("--history goes with --json, --plot (with --style) and --simulate only");
  if (o.Json && !o.List && !o.Status && !o.History)
    fail("--json only goes with --list, --status or --history");
  if (o.Hidden && (o.List || o.Status)) fail("--hidden only goes with the window");
  if (style && (o.List || o.Status))
    fail("--style goes with the window or with --export-theme, not with --list or --status");
  if (style) {
    if (const auto named = BuiltInStyleNamed(*style)) {
      if (o.ExportTheme)
        o.ExportStyle = *named;
      else
        o.Style = *named;
    } else {
      fail("unknown style: " + Quoted(*style) + " (MacOS, WinXP, DeepBlue, Protein or BlueGlass)");
    }
  }
  if (o.ExportTheme && (o.List || o.Status || o.Hidden || o.Simulate || o.Trace || o.Theme))
    fail("--export-theme goes with --style only");
  if (o.Theme && (o.List || o.Status))
    fail("--theme goes with the window, not with --list or --status");
  // Two looks asked for at once: neither silently wins.
  if (o.Theme && o.Style) fail("--theme and --style do not go together");
  return parsed;
}

std::string UsageText() {
  const OptionSet options;
  QCommandLineParser parser;
  options.AddTo(parser);
  // The generated text starts with a synopsis of its own, which knows no combinations.
  const QString generated = parser.helpText();
  const qsizetype from = generated.indexOf(QLatin1String("Options:"));
  return "Usage: quelvane [--hidden] [--simulate[=FILE]] [--trace FILE]\n"
         "                [--style NAME | --theme FILE]\n"
         "       quelvane --status [--json] [--simulate[=FILE]] [--trace FILE]\n"
         "       quelvane --history [--json | --plot FILE [--style NAME]] [--simulate[=FILE]]\n"
         "       quelvane --list [--watch] [--json] [--simulate[=FILE]] [--trace FILE]\n"
         "       quelvane --export-theme FILE [--style NAME]\n"
         "       quelvane --version | --help\n"
         "\n" +
         (from < 0 ? generated : generated.mid(from)).toStdString() +
         "\nQt's own options, such as -platform NAME and -style NAME, go to Qt.\n";
}

std::string VersionText() {
  return std::string(ProgramName) + " " + QUELVANE_VERSION;
}

} // namespace app
