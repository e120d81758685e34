// Cost of one controller scan over simulated interfaces: every scan re-creates a device object
// per interface, so the figure to watch is the time per interface.
#include "framework/MessageLoop.h"
#include "hid/JvHidDeviceController.h"
#include "hid/SimulatedHidBinding.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

// Posted messages are dropped: the benchmark scans directly.
class DiscardingLoop final : public framework::MessageLoop {
public:
  void post(std::function<void()>) override {}
  void processPendingMessages() override {}
  void sleep(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
};

void AddInterfaces(hid::SimulatedHidBinding &binding, int count) {
  for (int i = 0; i < count; ++i) {
    hid::VirtualDevice d;
    d.Id = "if" + std::to_string(i);
    d.VendorID = 0x3A7E;
    d.ProductID = static_cast<std::uint16_t>(i);
    d.ProductName = u"Interface";
    d.Caps.UsagePage = 1;
    d.Caps.Usage = 2;
    d.Caps.FeatureReportByteLength = 9;
    binding.Add(d);
  }
}

void SetPerInterface(benchmark::State &state, int interfaces) {
  state.counters["per_interface"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * interfaces,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ScanNothingChanged(benchmark::State &state) {
  const int interfaces = static_cast<int>(state.range(0));
  hid::SimulatedHidBinding binding;
  AddInterfaces(binding, interfaces);
  DiscardingLoop loop;
  hid::TJvHidDeviceController controller(binding, loop);
  controller.DeviceChange();
  for (auto _ : state) {
    controller.DeviceChange();
    binding.ClearCalls(); // the call log would otherwise grow without bound
  }
  SetPerInterface(state, interfaces);
}

void BM_ScanOneArrival(benchmark::State &state) {
  const int interfaces = static_cast<int>(state.range(0));
  hid::SimulatedHidBinding binding;
  AddInterfaces(binding, interfaces - 1);
  hid::VirtualDevice extra;
  extra.Id = "extra";
  binding.Add(extra, false);
  DiscardingLoop loop;
  hid::TJvHidDeviceController controller(binding, loop);
  controller.DeviceChange();
  for (auto _ : state) {
    state.PauseTiming();
    binding.Unplug("extra");
    controller.DeviceChange();
    binding.ClearCalls();
    binding.Plug("extra");
    state.ResumeTiming();
    controller.DeviceChange();
  }
  SetPerInterface(state, interfaces);
}

// What the window and --status do after a scan: take every device, then give them all back.
void BM_ClaimAndReleaseAll(benchmark::State &state) {
  const int interfaces = static_cast<int>(state.range(0));
  hid::SimulatedHidBinding binding;
  AddInterfaces(binding, interfaces);
  DiscardingLoop loop;
  hid::TJvHidDeviceController controller(binding, loop);
  controller.DeviceChange();
  std::vector<std::unique_ptr<hid::TJvHidDevice>> held;
  held.reserve(static_cast<std::size_t>(interfaces));
  for (auto _ : state) {
    std::unique_ptr<hid::TJvHidDevice> device;
    while (controller.CheckOutNext(device))
      held.push_back(std::move(device));
    held.clear();
  }
  SetPerInterface(state, interfaces);
}

// 100,000 interfaces: every device lookup of the binding must stay constant-time for a scan to
// stay linear.
BENCHMARK(BM_ScanNothingChanged)
    ->Arg(16)
    ->Arg(256)
    ->Arg(1024)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClaimAndReleaseAll)->Arg(1024)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanOneArrival)->Arg(16)->Arg(256)->Arg(1024)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
