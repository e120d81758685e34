#pragma once

#include "receiver/VirtualReceiver.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

enum class DeviceAccess { ReadWrite, QueryOnly, None };

// One virtual HID interface of a scenario.
struct ScenarioDevice {
  std::string Id;
  std::uint16_t Vendor = 0;
  std::uint16_t Product = 0;
  std::u16string ProductName;
  std::uint16_t UsagePage = 1;
  std::uint16_t Usage = 2;
  std::uint16_t FeatureLength = 9;
  DeviceAccess Access = DeviceAccess::ReadWrite;
  bool Plugged = true;
  // A device without one refuses feature reports.
  std::optional<receiver::VirtualReceiverState> Receiver;
};

enum class StepKind {
  Plug,
  Unplug,
  Set,
  Click,
  Menu,
  Tray,
  TitleButton,
  Screenshot,
  Quit,
  Clock,
};
enum class TrayAction { DoubleClick, Click, RightClick };

struct ScenarioStep {
  int At = 0; // milliseconds after start
  StepKind Kind = StepKind::Quit;
  std::string Device;                     // plug, unplug, set
  receiver::VirtualReceiverChange Change; // set
  std::string Name;                       // click (control), menu (menu item)
  TrayAction Tray = TrayAction::Click;
  int Index = 0;                 // title_button
  QString Path;                  // screenshot
  std::int64_t ClockSeconds = 0; // clock: how far the simulated clock moves (back when negative)
};

// The simulated clock: the time it starts at, and how fast it runs.
struct ScenarioClock {
  std::int64_t StartSeconds = 0; // Unix time
  int DayMilliseconds = 0;       // one simulated day per that many real ones; 0: real speed
};

struct Scenario {
  std::vector<ScenarioDevice> Devices;
  std::vector<ScenarioStep> Timeline; // in file order
  // None: the machine's own clock (the clock steps still move it).
  std::optional<ScenarioClock> Clock;
};

// Reads and checks a whole scenario. On a fault `error` names the file and the place, e.g.
// `demo.json: devices[1].vendor: "XYZ" is not a hexadecimal ID`, and none is returned.
std::optional<Scenario> ParseScenario(const QByteArray &json, const QString &fileName,
                                      QString &error);
// A scenario is a regular file of at most this size; anything else is refused unread.
inline constexpr std::size_t MaxScenarioFileBytes = 4u << 20;
std::optional<Scenario> LoadScenario(const QString &path, QString &error);

// The scenario of a plain --simulate: one supported receiver, plugged in.
Scenario DefaultScenario();

} // namespace app
