// The main window's own drawing at its first paint: the window is made (not timed), then drawn
// whole once (timed), every control rendering its buffer and the frame its own. The screen's
// scale comes from the first argument, "--scale=N" (1 when not given), so that one run measures
// 1x and another 2x:
//   bench_window_paint --scale=1 ; bench_window_paint --scale=2
#include "app/BundledFonts.h"
#include "app/TForm1.h"
#include "framework/QtMessageLoop.h"
#include "hid/SimulatedHidBinding.h"
#include "platform/HeadlessTrayBinding.h"
#include "platform/settings/SettingsStore.h"

#include <QApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Settings that are never read from or written to disk.
class NoSettings final : public platform::SettingsStore {
public:
  std::optional<std::string> ReadString(const std::string &, const std::string &) override {
    return std::nullopt;
  }
  bool WriteString(const std::string &, const std::string &, const std::string &) override {
    return true;
  }
};

void WindowFirstPaint(benchmark::State &state) {
  hid::SimulatedHidBinding binding;
  framework::QtMessageLoop loop;
  NoSettings settings;
  for (auto _ : state) {
    app::TForm1Services services(binding, loop, settings);
    services.TrayBinding = std::make_unique<platform::HeadlessTrayBinding>();
    app::TForm1 form(std::move(services));
    const auto start = std::chrono::steady_clock::now();
    const QPixmap shown = form.grab();
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    benchmark::DoNotOptimize(shown.cacheKey());
  }
  state.counters["ratio"] = qApp->devicePixelRatio();
}
BENCHMARK(WindowFirstPaint)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (argc > 1 && std::strncmp(argv[1], "--scale=", 8) == 0) {
    setenv("QT_SCALE_FACTOR", argv[1] + 8, 1);
    argv[1] = argv[0];
    ++argv;
    --argc;
  }
  QApplication app(argc, argv);
  app::LoadBundledFonts();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
