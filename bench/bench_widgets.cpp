#include "app/FormLayout.h"
#include "widgets/TProgBar.h"
#include "widgets/ThhALed.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace widgets;

namespace {

// One full render of the main window's battery gauge (24 x 105, grid, two raised frames).
void BM_BatteryGaugeRepaint(benchmark::State &state) {
  TProgBar bar;
  app::layout::pbMseBattery(bar);
  bar.SetMax(6);
  bar.SetShowColorGradient(state.range(0) != 0);
  int level = 0;
  for (auto _ : state) {
    bar.SetValue(level); // a changed value renders once
    level = (level + 1) % 7;
    benchmark::DoNotOptimize(bar.Buffer().constBits());
  }
}
BENCHMARK(BM_BatteryGaugeRepaint)->Arg(0)->Arg(1)->ArgName("gradient");

// One blink step of the large LED: a ready picture copied into the control's image.
void BM_LedBlinkStep(benchmark::State &state) {
  ThhALed led;
  led.SetLEDStyle(TLEDStyle::LEDLarge);
  led.SetValue(true);
  for (auto _ : state) {
    led.BlinkTick();
    benchmark::DoNotOptimize(led.Buffer().constBits());
  }
}
BENCHMARK(BM_LedBlinkStep);

// Rebuilding both pictures, as a colour change does.
void BM_LedColourChange(benchmark::State &state) {
  ThhALed led;
  led.SetLEDStyle(TLEDStyle::LEDLarge);
  led.SetValue(true);
  bool red = false;
  for (auto _ : state) {
    led.SetTrueColor(red ? framework::clRed : framework::clLime);
    red = !red;
  }
}
BENCHMARK(BM_LedColourChange);

} // namespace

int main(int argc, char **argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
