// CPU time of one status tick: three acknowledged queries against a virtual receiver on the
// simulated binding. The loop's pause does nothing, so the 1 ms sleeps are not measured.
#include "framework/MessageLoop.h"
#include "hid/JvHidDeviceController.h"
#include "hid/SimulatedHidBinding.h"
#include "receiver/ReceiverConnection.h"
#include "receiver/ReceiverLogic.h"
#include "receiver/VirtualReceiver.h"

#include <benchmark/benchmark.h>

#include <deque>
#include <functional>
#include <memory>

namespace {

class InstantLoop final : public framework::MessageLoop {
public:
  void post(std::function<void()> message) override { m_queue.push_back(std::move(message)); }
  void processPendingMessages() override {
    while (!m_queue.empty()) {
      auto message = std::move(m_queue.front());
      m_queue.pop_front();
      message();
    }
  }
  void sleep(std::chrono::milliseconds) override {}

private:
  std::deque<std::function<void()>> m_queue;
};

class NullView final : public receiver::ReceiverView {
public:
  void SetLedValue(bool) override {}
  void SetLedTrueColor(std::uint32_t) override {}
  void SetLedBlink(bool) override {}
  void SetVidText(const std::string &) override {}
  void SetPidText(const std::string &) override {}
  void SetCpiText(const receiver::TermText &) override {}
  double GaugeMin() const override { return 0; }
  double GaugeMax() const override { return m_max; }
  void SetGaugeMax(double max) override { m_max = max; }
  void SetGaugeValue(double) override {}
  void SetGaugeColorMin(std::uint32_t) override {}
  void SetGaugeColorMax(std::uint32_t) override {}
  void SetBatteryCaption(const std::string &) override {}
  void SetPairingButtonCaption(const receiver::TermText &) override {}
  void SetPairingButtonEnabled(bool) override {}
  void FocusPairingButton() override {}
  void ClearDeviceList() override {}
  void AddDeviceEntry(const std::string &) override {}

private:
  double m_max = 100;
};

class IdleTimer final : public receiver::TimerPort {
public:
  void Start() override { m_running = true; }
  void Stop() override { m_running = false; }
  bool Running() const override { return m_running; }

private:
  bool m_running = false;
};

void StatusTick(benchmark::State &state) {
  InstantLoop loop;
  hid::SimulatedHidBinding binding;
  receiver::VirtualReceiver virtualReceiver;
  hid::VirtualDevice device;
  device.Id = "rx";
  device.VendorID = 0x3A7E;
  device.ProductID = 0x0A11;
  device.Caps.UsagePage = 1;
  device.Caps.Usage = 2;
  device.Caps.FeatureReportByteLength = 9;
  virtualReceiver.AttachTo(device);
  binding.Add(std::move(device));

  receiver::ReceiverConnection connection(loop);
  NullView view;
  IdleTimer status, softBind;
  hid::TJvHidDeviceController controller(binding, loop);
  receiver::ReceiverLogic logic(controller, connection, view, status, softBind, loop,
                                [](receiver::TermId) { return receiver::TermText{}; });
  controller.Loading();
  controller.SetOnDeviceChange(hid::TNotifyEvent::fromFunction(
      [&](hid::TJvHidDeviceController *) { logic.JvHidDeviceController1DeviceChange(); }, &logic));
  controller.Loaded();
  loop.processPendingMessages();
  if (connection.CurrentReceiver() == nullptr) {
    state.SkipWithError("the virtual receiver was not connected");
    return;
  }
  const int getsBefore = virtualReceiver.Gets();
  std::size_t sinceClear = 0;
  for (auto _ : state) {
    logic.tmrStatusTimer();
    // The binding logs every call; keep the log from growing without bound.
    if (++sinceClear == 4096) {
      state.PauseTiming();
      binding.ClearCalls();
      sinceClear = 0;
      state.ResumeTiming();
    }
  }
  // Three answered reads a tick when every query was acknowledged at once.
  state.counters["reads/tick"] =
      benchmark::Counter(static_cast<double>(virtualReceiver.Gets() - getsBefore) /
                         static_cast<double>(state.iterations()));
}
BENCHMARK(StatusTick);

} // namespace

BENCHMARK_MAIN();
