#include "app/Simulation.h"

#include "app/Messages.h"

#include <QCoreApplication>

#include <cstdio>
#include <ctime>

#include <algorithm>
#include <numeric>

namespace app {
namespace {

// The member of that name hides the enumeration's own name.
using SimulatedAccess = decltype(hid::VirtualDevice::Access);

SimulatedAccess ToAccess(DeviceAccess access) {
  switch (access) {
  case DeviceAccess::QueryOnly:
    return SimulatedAccess::QueryOnly;
  case DeviceAccess::None:
    return SimulatedAccess::None;
  case DeviceAccess::ReadWrite:
    break;
  }
  return SimulatedAccess::ReadWrite;
}

const char *StepName(StepKind kind) {
  switch (kind) {
  case StepKind::Plug:
    return "plug";
  case StepKind::Unplug:
    return "unplug";
  case StepKind::Set:
    return "set";
  case StepKind::Click:
    return "click";
  case StepKind::Menu:
    return "menu";
  case StepKind::Tray:
    return "tray";
  case StepKind::TitleButton:
    return "title_button";
  case StepKind::Screenshot:
    return "screenshot";
  case StepKind::Clock:
    return "clock";
  case StepKind::Quit:
    break;
  }
  return "quit";
}

} // namespace

Simulation::Simulation(Scenario scenario, QString fileName, QObject *parent)
    : QObject(parent), m_scenario(std::move(scenario)), m_fileName(std::move(fileName)),
      m_binding(std::make_unique<hid::SimulatedHidBinding>()) {
  // The trace is the program's record; the binding's own log would only grow.
  m_binding->SetLogging(false);
  for (const ScenarioDevice &device : m_scenario.Devices) {
    hid::VirtualDevice virtualDevice;
    virtualDevice.Id = device.Id;
    virtualDevice.VendorID = device.Vendor;
    virtualDevice.ProductID = device.Product;
    virtualDevice.ProductName = device.ProductName;
    virtualDevice.Caps.UsagePage = device.UsagePage;
    virtualDevice.Caps.Usage = device.Usage;
    virtualDevice.Caps.FeatureReportByteLength = device.FeatureLength;
    virtualDevice.Access = ToAccess(device.Access);
    if (device.Receiver) {
      auto receiver =
          std::make_unique<receiver::VirtualReceiver>(*device.Receiver, device.FeatureLength);
      receiver->AttachTo(virtualDevice);
      m_receivers.emplace(device.Id, std::move(receiver));
    }
    m_binding->Add(std::move(virtualDevice), device.Plugged);
  }

  m_order.resize(m_scenario.Timeline.size());
  std::iota(m_order.begin(), m_order.end(), std::size_t{0});
  std::stable_sort(m_order.begin(), m_order.end(), [this](std::size_t a, std::size_t b) {
    return m_scenario.Timeline[a].At < m_scenario.Timeline[b].At;
  });
  m_timer.setSingleShot(true);
  connect(&m_timer, &QTimer::timeout, this, &Simulation::RunDue);
}

Simulation::~Simulation() = default;

receiver::VirtualReceiver *Simulation::Receiver(const std::string &id) {
  const auto found = m_receivers.find(id);
  return found == m_receivers.end() ? nullptr : found->second.get();
}

std::int64_t Simulation::UnixSeconds() const {
  const std::int64_t elapsedMs = m_clock.isValid() ? m_clock.elapsed() : 0;
  if (!m_scenario.Clock) return std::time(nullptr) + m_clockShift;
  const ScenarioClock &clock = *m_scenario.Clock;
  const std::int64_t run =
      clock.DayMilliseconds > 0 ? elapsedMs * 86400 / clock.DayMilliseconds : elapsedMs / 1000;
  return clock.StartSeconds + m_clockShift + run;
}

void Simulation::Start() {
  m_next = 0;
  m_clock.start();
  ScheduleNext();
}

void Simulation::ScheduleNext() {
  if (Finished()) return;
  const qint64 due = m_scenario.Timeline[m_order[m_next]].At;
  m_timer.start(static_cast<int>(std::max<qint64>(0, due - m_clock.elapsed())));
}

void Simulation::RunDue() {
  while (!Finished() && m_scenario.Timeline[m_order[m_next]].At <= m_clock.elapsed()) {
    const std::size_t index = m_order[m_next++];
    const ScenarioStep &step = m_scenario.Timeline[index];
    QString error;
    if (!RunStep(step, error)) {
      const QString where =
          QStringLiteral("timeline[%1].%2").arg(index).arg(QLatin1String(StepName(step.Kind)));
      const QString message =
          m_fileName.isEmpty()
              ? QStringLiteral("%1: %2").arg(where, error)
              : QStringLiteral("%1: %2: %3").arg(ShownPath(m_fileName), where, error);
      m_next = m_order.size();
      emit StepFailed(message);
      return;
    }
    if (step.Kind == StepKind::Quit) {
      m_next = m_order.size();
      emit QuitRequested();
      return;
    }
  }
  ScheduleNext();
}

bool Simulation::RunStep(const ScenarioStep &step, QString &error) {
  const QString device = QString::fromStdString(step.Device);
  switch (step.Kind) {
  case StepKind::Plug:
    // Plugging a plugged device is not a fault of the scenario's author worth stopping for.
    m_binding->Plug(step.Device);
    return true;
  case StepKind::Unplug:
    m_binding->Unplug(step.Device);
    return true;
  case StepKind::Set:
    if (receiver::VirtualReceiver *const r = Receiver(step.Device)) {
      r->Apply(step.Change);
      return true;
    }
    error = QStringLiteral("device %1 has no receiver").arg(Quoted(device));
    return false;
  case StepKind::Clock:
    m_clockShift += step.ClockSeconds;
    return true;
  case StepKind::Quit:
    return true;
  default:
    break;
  }
  if (m_driver == nullptr) return true;
  bool done = false;
  switch (step.Kind) {
  case StepKind::Click:
    done = m_driver->Click(step.Name);
    error = QStringLiteral("no control %1 to click").arg(QString::fromStdString(Quoted(step.Name)));
    break;
  case StepKind::Menu:
    done = m_driver->Menu(step.Name);
    error = QStringLiteral("no menu item %1").arg(QString::fromStdString(Quoted(step.Name)));
    break;
  case StepKind::Tray:
    done = m_driver->Tray(step.Tray);
    error = QStringLiteral("the tray icon did not take the event");
    break;
  case StepKind::TitleButton:
    done = m_driver->TitleButton(step.Index);
    error = QStringLiteral("no title-bar button %1").arg(step.Index);
    break;
  case StepKind::Screenshot:
    done = m_driver->Screenshot(step.Path);
    error = QStringLiteral("cannot write the screenshot %1").arg(ShownPath(step.Path));
    break;
  default:
    done = true;
    break;
  }
  if (done) error.clear();
  return done;
}

std::unique_ptr<Simulation> CreateSimulation(const QString &scenarioFile, QString &error) {
  if (scenarioFile.isEmpty()) return std::make_unique<Simulation>(DefaultScenario());
  std::optional<Scenario> scenario = LoadScenario(scenarioFile, error);
  if (!scenario) return nullptr;
  return std::make_unique<Simulation>(std::move(*scenario), scenarioFile);
}

void ConnectToApplication(Simulation &simulation) {
  QObject::connect(&simulation, &Simulation::QuitRequested, &simulation,
                   [] { QCoreApplication::exit(0); });
  QObject::connect(&simulation, &Simulation::StepFailed, &simulation, [](const QString &message) {
    std::fprintf(stderr, "%s: %s\n", ProgramName, qPrintable(message));
    QCoreApplication::exit(1);
  });
}

} // namespace app
