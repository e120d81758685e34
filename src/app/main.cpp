#include "app/CommandLine.h"
#include "app/DeviceTreeWatcher.h"
#include "app/ListCommand.h"
#include "app/Scenario.h"
#include "app/Simulation.h"
#include "app/StateTrace.h"
#include "app/TForm1.h"
#include "app/TraceWriter.h"
#include "app/WindowDriver.h"
#include "framework/QtMessageLoop.h"
#include "hid/LinuxHidBinding.h"
#include "platform/settings/FileSettingsStore.h"

#include <QApplication>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
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
    machine->Real = hid::MakeLinuxHidBinding();
    if (!machine->Real) {
      error = "the HID device services are not available";
      return nullptr;
    }
  }
  return machine;
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
    session.Trace = app::TraceWriter::Open(QString::fromStdString(*options.Trace), message);
    if (!session.Trace) error = message.toStdString();
  }
  if (error.empty()) session.Devices = makeMachine(options, error);
  if (!session.Devices) {
    std::cerr << "quelvane: " << error << '\n';
    return std::nullopt;
  }
  return session;
}

// SIGINT and SIGTERM end the event loop, so that everything is torn down in order. A second
// signal takes the default action.
int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

std::unique_ptr<QSocketNotifier> quitOnSignals() {
  if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return nullptr;
  struct sigaction action = {};
  action.sa_handler = onSignal;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  if (::sigaction(SIGINT, &action, nullptr) != 0 || ::sigaction(SIGTERM, &action, nullptr) != 0)
    return nullptr;
  auto notifier = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
  QObject::connect(notifier.get(), &QSocketNotifier::activated, [] { QCoreApplication::quit(); });
  return notifier;
}

int runList(int &argc, char **argv, const app::Options &options) {
  // No display is needed to list devices.
  QCoreApplication application(argc, argv);
  const auto signalWatch = quitOnSignals();
  const std::optional<Session> session = openSession(options);
  if (!session) return 1;
  Machine &machine = *session->Devices;
  if (machine.Simulated && options.Watch)
    machine.Simulated->Start(); // its timeline plugs and unplugs while we watch
  return app::RunListCommand(machine.Binding(), session->Trace.get(), {options.Watch, options.Json},
                             std::cout, std::cerr);
}

// Said before any window system is contacted, so that these errors reach the user even where no
// display can be opened.
bool readyForWindow(const app::Options &options) {
  if (options.Simulate && !options.Simulate->empty()) {
    QString error;
    if (!app::LoadScenario(QString::fromStdString(*options.Simulate), error)) {
      std::cerr << "quelvane: " << error.toStdString() << '\n';
      return false;
    }
  }
  const auto unset = [](const char *name) {
    const char *const value = std::getenv(name);
    return value == nullptr || *value == '\0';
  };
  if (unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY")) {
    std::cerr << "quelvane: no display to show the window on (DISPLAY is not set); "
                 "--list works without one\n";
    return false;
  }
  return true;
}

int runWindow(int &argc, char **argv, const app::Options &options) {
  if (!readyForWindow(options)) return 1;
  QApplication application(argc, argv);
  QGuiApplication::setApplicationDisplayName(QLatin1String(app::TForm1::Title));
  const auto signalWatch = quitOnSignals();
  const std::optional<Session> session = openSession(options);
  if (!session) return 1;
  Machine &machine = *session->Devices;
  app::TraceWriter *const trace = session->Trace.get();
  app::DeviceTreeWatcher watcher(machine.Binding());
  framework::QtMessageLoop loop;
  platform::FileSettingsStore settings(platform::FileSettingsStore::UserConfigFolder());
  app::TForm1 form(app::TForm1Services(machine.Binding(), loop, settings, trace));
  form.show();
  // Declared after the window: its last look at the window, when it goes, is written.
  std::unique_ptr<app::StateTrace> states;
  if (trace) states = std::make_unique<app::StateTrace>(form, *trace);
  app::WindowDriver driver(form, states.get());
  if (machine.Simulated) {
    machine.Simulated->SetWindowDriver(&driver);
    machine.Simulated->Start();
  }
  const int status = application.exec();
  if (machine.Simulated) machine.Simulated->SetWindowDriver(nullptr);
  return status;
}

} // namespace

int main(int argc, char **argv) {
  const app::ParsedCommandLine parsed =
      app::ParseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  if (!parsed.Error.empty()) {
    std::cerr << "quelvane: " << parsed.Error << "\n\n" << app::UsageText();
    return app::UsageErrorStatus;
  }
  const app::Options &options = parsed.Values;
  if (options.Help) {
    std::cout << app::UsageText();
    return 0;
  }
  if (options.List) return runList(argc, argv, options);
  return runWindow(argc, argv, options);
}
