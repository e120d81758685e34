#pragma once

#include "app/Scenario.h"
#include "hid/SimulatedHidBinding.h"
#include "receiver/VirtualReceiver.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace app {

// What the timeline does to the window; the main window implements it. Each call answers false
// when the named control, item or button does not exist or the action failed.
class ScenarioWindowDriver {
public:
  virtual ~ScenarioWindowDriver() = default;
  virtual bool Click(const std::string &control) = 0;
  virtual bool Menu(const std::string &item) = 0;
  virtual bool Tray(TrayAction action) = 0;
  virtual bool TitleButton(int index) = 0;
  virtual bool Screenshot(const QString &path) = 0;
};

// The virtual machine of a scenario: the simulated binding with its devices and their virtual
// receivers, and the timeline, run on a timer from Start().
class Simulation final : public QObject {
  Q_OBJECT
public:
  explicit Simulation(Scenario scenario, QString fileName = QString(), QObject *parent = nullptr);
  ~Simulation() override;

  hid::SimulatedHidBinding &Binding() { return *m_binding; }
  const Scenario &GetScenario() const { return m_scenario; }
  // None for a device without a receiver or an unknown id.
  receiver::VirtualReceiver *Receiver(const std::string &id);

  // Window steps run without a driver are skipped (the window is optional).
  void SetWindowDriver(ScenarioWindowDriver *driver) { m_driver = driver; }

  // Runs the timeline: steps at their `at` after this call, steps with the same `at` in file
  // order. A quit step ends the application's loop with 0, a step the window refuses with 1.
  void Start();
  // One step now. False, with `error` set, when it could not be done.
  bool RunStep(const ScenarioStep &step, QString &error);
  bool Finished() const { return m_next >= m_order.size(); }
  // The simulated clock in Unix seconds: the scenario's, moved by its clock steps; without one
  // the machine's, moved likewise. It stands at its start until Start().
  std::int64_t UnixSeconds() const;

signals:
  // A step could not be done; the timeline stops.
  void StepFailed(const QString &message);
  void QuitRequested();

private:
  void RunDue();
  void ScheduleNext();

  Scenario m_scenario;
  QString m_fileName;
  // Declared before the binding: its handlers point at them.
  std::map<std::string, std::unique_ptr<receiver::VirtualReceiver>> m_receivers;
  std::unique_ptr<hid::SimulatedHidBinding> m_binding;
  ScenarioWindowDriver *m_driver = nullptr;
  std::vector<std::size_t> m_order; // timeline indices by time
  std::size_t m_next = 0;
  QElapsedTimer m_clock;
  std::int64_t m_clockShift = 0; // seconds the clock steps moved it
  QTimer m_timer;
};

// The simulation of --simulate: the default scenario for an empty path, else the file's. None,
// with `error` set, when the file is refused.
std::unique_ptr<Simulation> CreateSimulation(const QString &scenarioFile, QString &error);

// Lets the timeline end the application: a quit step with status 0, a failed step with its
// message on standard error and status 1.
void ConnectToApplication(Simulation &simulation);

} // namespace app
