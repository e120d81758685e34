#include "app/AfterFirstPaint.h"
#include "app/BatteryStore.h"
#include "app/BundledFonts.h"
#include "app/CommandLine.h"
#include "app/DeviceTreeWatcher.h"
#include "app/DisplayCheck.h"
#include "app/ExportTheme.h"
#include "app/HistoryCommand.h"
#include "app/ListCommand.h"
#include "app/Messages.h"
#include "app/Scenario.h"
#include "app/SignalQuit.h"
#include "app/Simulation.h"
#include "app/StateTrace.h"
#include "app/StatusCommand.h"
#include "app/TForm1.h"
#include "app/TraceWriter.h"
#include "app/UserTheme.h"
#include "app/WholeScale.h"
#include "app/WindowDriver.h"
#include "framework/QtMessageLoop.h"
#include "hid/PlatformHidBinding.h"
#include "platform/BusCheck.h"
#include "platform/CodePage.h"
#include "platform/DesktopNotify.h"
#include "platform/ResumeWatch.h"
#include "platform/settings/SettingsStore.h"
#include "receiver/BatteryHistoryText.h"
#include "receiver/BatteryRecorder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The machine the program talks to: the real devices or a simulation that owns its binding.
struct Machine {
  std::unique_ptr<hid::HidBinding> Real;
  std::unique_ptr<app::Simulation> Simulated;
  hid::HidBinding &Binding() { return Simulated ? Simulated->Binding() : *Real; }
};

std::unique_ptr<Machine> makeMachine(const app::Options &options, std::string &error) {
  auto machine = std::make_unique<Machine>();
  if (options.Simulate) {
    QString message;
    machine->Simulated = app::CreateSimulation(QString::fromStdString(*options.Simulate), message);
    if (!machine->Simulated) {
      error = message.toStdString();
      return nullptr;
    }
    app::ConnectToApplication(*machine->Simulated);
  } else {
    machine->Real = hid::MakePlatformHidBinding();
    if (!machine->Real) {
      error = "the HID device services are not available";
      return nullptr;
    }
  }
  return machine;
}

// The time the battery history is read and written at: the simulation's clock on simulated
// devices.
std::int64_t unixNow(const Machine &machine) {
  return machine.Simulated ? machine.Simulated->UnixSeconds()
                           : static_cast<std::int64_t>(std::time(nullptr));
}

std::string historyPath(const app::Options &options) {
  return app::BatteryStore::DefaultPath(options.Simulate.has_value());
}

// What both commands run on: the trace (none without --trace) and the machine. Nothing, said on
// standard error, when either cannot be made.
struct Session {
  std::unique_ptr<app::TraceWriter> Trace;
  std::unique_ptr<Machine> Devices;
};

std::optional<Session> openSession(const app::Options &options) {
  Session session;
  std::string error;
  if (options.Trace) {
    QString message;
    session.Trace =
        app::TraceWriter::Open(QString::fromStdString(*options.Trace), message,
                               QString::fromStdString(options.Simulate.value_or("")), std::cerr);
    if (!session.Trace) error = message.toStdString();
  }
  if (error.empty()) session.Devices = makeMachine(options, error);
  if (!session.Devices) {
    std::cerr << app::ProgramName << ": " << error << '\n';
    return std::nullopt;
  }
  return session;
}

// The status to exit with: a trace that was asked for and is incomplete makes a run fail (its
// message was said when it stopped).
int endSession(Session &session, int status) {
  if (session.Trace && !session.Trace->Close() && status == 0) return 1;
  return status;
}

// Time a signalled program has to end in order before the signal takes its default action.
constexpr std::chrono::seconds SignalGrace{2};

// The system's requests to end quit in order. None, said on standard error, when they cannot be
// taken over.
std::unique_ptr<app::SignalQuit> takeOverSignals() {
  std::string error;
  auto quit = app::SignalQuit::Install(SignalGrace, error);
  if (!quit) std::cerr << app::ProgramName << ": " << error << '\n';
  return quit;
}

int runList(int &argc, char **argv, const app::Options &options) {
  // No display is needed to list devices.
  QCoreApplication application(argc, argv);
  const auto signalQuit = takeOverSignals();
  if (!signalQuit) return 1;
  std::optional<Session> session = openSession(options);
  if (!session) return 1;
  Machine &machine = *session->Devices;
  if (machine.Simulated && options.Watch)
    machine.Simulated->Start(); // its timeline plugs and unplugs while we watch
  const int status = app::RunListCommand(machine.Binding(), session->Trace.get(),
                                         {options.Watch, options.Json, app::StandardOutputFd},
                                         std::cout, std::cerr);
  return endSession(*session, status);
}

int runStatus(int &argc, char **argv, const app::Options &options) {
  // Status-bar scripts poll this: no display is needed either.
  QCoreApplication application(argc, argv);
  const auto signalQuit = takeOverSignals();
  if (!signalQuit) return 1;
  std::optional<Session> session = openSession(options);
  if (!session) return 1;
  const std::string history =
      options.Json ? receiver::OutlookJsonMembers(app::ReadOutlook(
                         historyPath(options), unixNow(*session->Devices), std::cerr))
                   : std::string();
  const int status = app::RunStatusCommand(session->Devices->Binding(), session->Trace.get(),
                                           options.Json, std::cout, std::cerr, history);
  return endSession(*session, status);
}

int runHistory(int argc, char **argv, const app::Options &options) {
  // Of the simulation only its clock is needed: no devices, no event loop.
  std::int64_t now = std::time(nullptr);
  if (options.Simulate) {
    QString error;
    const std::unique_ptr<app::Simulation> simulation =
        app::CreateSimulation(QString::fromStdString(*options.Simulate), error);
    if (!simulation) {
      std::cerr << app::ProgramName << ": " << error.toStdString() << '\n';
      return 1;
    }
    now = simulation->UnixSeconds();
  }
  if (!options.Plot)
    return app::RunHistoryCommand(historyPath(options), now, options.Json, std::cout, std::cerr);
  // A picture for scripts: no window, so no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  app::LoadBundledFonts();
  const std::unique_ptr<platform::SettingsStore> settings = platform::MakeUserSettingsStore();
  const std::optional<receiver::TLngID> stored = receiver::LanguageFromName(
      settings->ReadString(receiver::Languages::RegistryKey, receiver::Languages::RegistryValue)
          .value_or(""));
  const receiver::TLngID language =
      stored.value_or(receiver::LanguageForCodePage(platform::AnsiCodePage()));
  return app::RunHistoryPlot(historyPath(options), now, *options.Plot, language,
                             options.Style.value_or(skin::TsuiUIStyle::Protein), std::cerr);
}

// Said before any window system is contacted, so that these errors reach the user even where no
// display can be opened.
bool readyForWindow(const app::Options &options,
                    std::unique_ptr<skin::TsuiThemeFileReader> &theme) {
  if (options.Simulate && !options.Simulate->empty()) {
    QString error;
    if (!app::LoadScenario(QString::fromStdString(*options.Simulate), error)) {
      std::cerr << app::ProgramName << ": " << error.toStdString() << '\n';
      return false;
    }
  }
  if (options.Theme) {
    std::string error;
    if (!(theme = app::LoadUserTheme(*options.Theme, error))) {
      std::cerr << app::ProgramName << ": " << error << '\n';
      return false;
    }
  }
  if (!options.QtPlatform)
    if (const std::optional<std::string> missing = app::MissingDisplay()) {
      std::cerr << app::ProgramName << ": " << *missing << '\n';
      return false;
    }
  return true;
}

// Qt's messages while the application object is made are held back: a display Qt cannot open
// ends the program there, with a fatal message Qt follows by an abort, and all of them then go on
// one line.
std::mutex heldLock;
bool holding = false;
QStringList held;

void say(const QString &line) {
  std::cerr << app::ProgramName << ": " << line.toLocal8Bit().constData() << '\n';
}

// Qt's own warnings are the program's messages too: one line each, starting with its name.
void qtMessage(QtMsgType type, const QMessageLogContext &, const QString &text) {
  QString line = text.simplified();
  for (QChar &c : line)
    if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F)) c = QLatin1Char('?');
  const std::lock_guard lock(heldLock);
  if (!holding) {
    say(line);
    return;
  }
  held.append(line);
  if (type == QtFatalMsg) {
    QStringList parts = held;
    for (QString &part : parts)
      if (part.endsWith(QLatin1Char('.'))) part.chop(1);
    say(QStringLiteral("cannot open the display: ") + parts.join(QStringLiteral("; ")));
    std::_Exit(1);
  }
}

std::unique_ptr<QApplication> makeApplication(int &argc, char **argv) {
  {
    // Asked to, Qt aborts at a warning too: nothing is held back then.
    const std::lock_guard lock(heldLock);
    holding = !qEnvironmentVariableIsSet("QT_FATAL_WARNINGS") &&
              !qEnvironmentVariableIsSet("QT_FATAL_CRITICALS");
  }
  app::UseWholeScaleFactors();
  auto application = std::make_unique<QApplication>(argc, argv);
  QStringList said;
  {
    const std::lock_guard lock(heldLock);
    holding = false;
    said.swap(held);
  }
  for (const QString &line : said)
    say(line);
  return application;
}

int runWindow(int argc, char **argv, const app::Options &options) {
  // Greeted while the theme and scenario are read, settled before Qt may connect to a bus.
  const std::unique_ptr<platform::BusCheck> buses = platform::BusCheck::Start();
  // Read once, here: a theme that cannot be used ends the program before anything shows.
  std::unique_ptr<skin::TsuiThemeFileReader> theme;
  if (!readyForWindow(options, theme)) return 1;
  for (const std::string &bus : buses->Finish())
    std::cerr << app::ProgramName << ": the " << bus
              << " bus does not answer; the program goes on without it\n";
  // Qt reads "--style" as its own widget style: the application sees the arguments without it,
  // and without its value when that is the next word.
  std::vector<char *> qtArguments;
  for (int i = 0; i < argc; ++i) {
    const std::string_view argument(argv[i]);
    if (i > 0 && argument == "--style")
      ++i;
    else if (i == 0 || !argument.starts_with("--style="))
      qtArguments.push_back(argv[i]);
  }
  int qtCount = static_cast<int>(qtArguments.size());
  qtArguments.push_back(nullptr);
  const std::unique_ptr<QApplication> application = makeApplication(qtCount, qtArguments.data());
  QGuiApplication::setApplicationDisplayName(QLatin1String(app::TForm1::Title));
  app::LoadBundledFonts();
  const auto signalQuit = takeOverSignals();
  if (!signalQuit) return 1;
  std::optional<Session> session = openSession(options);
  if (!session) return 1;
  Machine &machine = *session->Devices;
  app::TraceWriter *const trace = session->Trace.get();
  int status = 0;
  {
    app::DeviceTreeWatcher watcher(machine.Binding());
    framework::QtMessageLoop loop;
    const std::unique_ptr<platform::SettingsStore> settings = platform::MakeUserSettingsStore();
    app::BatteryStore historyStore(historyPath(options), std::cerr);
    receiver::BatteryRecorder history(historyStore, historyStore.Records(),
                                      [&machine] { return unixNow(machine); });
    app::TForm1Services services(machine.Binding(), loop, *settings, trace);
    services.BatteryHistory = &history;
    services.HistoryChart = {[&history] { return history.Records(); },
                             [&history] { return app::BatteryChangeTimes(history.Outlook()); },
                             [&machine] { return unixNow(machine); }};
    services.Style = options.Style;
    services.Theme = std::move(theme);
    services.ThemeFile = QString::fromStdString(options.Theme.value_or(""));
    services.DesktopNotify = platform::DesktopNotificationSender(QStringLiteral("quelvane"));
    services.EventTrace = trace;
    app::TForm1 form(std::move(services));
    if (options.Hidden)
      form.ShowHidden();
    else
      form.show();
    // Devices may have come and gone while the machine slept, unseen by the hotplug monitor. The
    // system bus is no part of the window's first look: it is asked once the window is seen.
    std::unique_ptr<QObject> resume;
    app::AfterFirstPaint(
        form, [&resume, &form] { resume = platform::WatchResume([&form] { form.Rescan(); }); });
    // Declared after the window: its last look at the window, when it goes, is written.
    std::unique_ptr<app::StateTrace> states;
    if (trace) states = std::make_unique<app::StateTrace>(form, *trace);
    app::WindowDriver driver(form, states.get());
    // Windows ends the process when the session ends, without returning to the loop: the trace
    // gets the window's last state and is closed there.
    signalQuit->OnSessionEnd([&states, trace] {
      if (states) states->Check();
      if (trace) trace->Close();
    });
    if (machine.Simulated) {
      machine.Simulated->SetWindowDriver(&driver);
      machine.Simulated->Start();
    }
    status = application->exec();
    if (machine.Simulated) machine.Simulated->SetWindowDriver(nullptr);
  }
  return endSession(*session, status);
}

} // namespace

int main(int argc, char **argv) {
  qInstallMessageHandler(qtMessage);
  const app::ParsedCommandLine parsed =
      app::ParseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  if (!parsed.Error.empty()) {
    std::cerr << app::ProgramName << ": " << parsed.Error << "\n\n" << app::UsageText();
    return app::UsageErrorStatus;
  }
  const app::Options &options = parsed.Values;
  if (options.Help) {
    std::cout << app::UsageText();
    return app::OutputStatus(std::cout, std::cerr, 0);
  }
  if (options.Version) {
    std::cout << app::VersionText() << '\n';
    return app::OutputStatus(std::cout, std::cerr, 0);
  }
  if (options.ExportTheme) return app::RunExportTheme(options, std::cerr);
  if (options.List) return runList(argc, argv, options);
  if (options.Status) return runStatus(argc, argv, options);
  if (options.History) return runHistory(argc, argv, options);
  return runWindow(argc, argv, options);
}
