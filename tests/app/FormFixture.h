#pragma once

#include "app/DesktopNotifier.h"
#include "app/TForm1.h"
#include "common/MemorySettings.h"
#include "common/ProgramRun.h"
#include "common/SimulatedDevices.h"
#include "framework/QtMessageLoop.h"
#include "hid/SimulatedHidBinding.h"
#include "platform/HeadlessTrayBinding.h"
#include "receiver/VirtualReceiver.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace app::test {

// Builds the main window on the simulated binding with no devices, a headless tray and an
// empty temporary current directory.
class FormFixture : public testing::Test {
protected:
  std::unique_ptr<TForm1> Create(int codePage = 1252,
                                 std::optional<skin::TsuiUIStyle> style = std::nullopt) {
    auto tray = std::make_unique<platform::HeadlessTrayBinding>(TrayHost);
    Tray = tray.get();
    TForm1Services services{Binding, Loop, Settings};
    services.TrayBinding = std::move(tray);
    services.AnsiCodePage = [codePage] { return codePage; };
    services.CurrentDir = [this] {
      ++DirQueries;
      return Dir.path();
    };
    services.PrimaryScreen = [this] { return Screen; };
    services.Style = style;
    services.DesktopNotify = DesktopNotify;
    services.EventTrace = EventTrace;
    services.BatteryHistory = BatteryHistory;
    return std::make_unique<TForm1>(std::move(services));
  }

  // The receiver "rx" with `state`, added unplugged and then plugged when `plug` holds, so that a
  // window already there hears of it.
  receiver::VirtualReceiver &AddReceiver(const receiver::VirtualReceiverState &state = {},
                                         bool plug = true) {
    Rx = std::make_unique<receiver::VirtualReceiver>(state);
    hid::VirtualDevice device = fakes::HidInterface("rx");
    Rx->AttachTo(device);
    Binding.Add(device, false);
    if (plug) Binding.Plug("rx");
    return *Rx;
  }
  // The events of `kind` the trace file `name` in Dir holds.
  std::vector<QJsonObject> TraceEvents(const QString &name, const QString &kind) const {
    return testcommon::EventsOf(
        testcommon::ReadTrace(Dir.filePath(name)).value_or(std::vector<QJsonObject>{}), kind);
  }

  hid::SimulatedHidBinding Binding;
  std::unique_ptr<receiver::VirtualReceiver> Rx;
  framework::QtMessageLoop Loop;
  fakes::MemorySettings Settings;
  std::shared_ptr<platform::HeadlessTrayHost> TrayHost =
      std::make_shared<platform::HeadlessTrayHost>();
  platform::HeadlessTrayBinding *Tray = nullptr;
  QTemporaryDir Dir;
  int DirQueries = 0;
  QRect Screen{0, 0, 1025, 769};
  // Handed to the window by Create.
  DesktopNotifier::DesktopSender DesktopNotify;
  TraceWriter *EventTrace = nullptr;
  receiver::BatteryRecorder *BatteryHistory = nullptr;
};

} // namespace app::test
