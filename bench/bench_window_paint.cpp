// The main window's own drawing at its first paint: the window is made (not timed), then drawn
// whole once (timed, in the thread's processor time), every control rendering its buffer and the
// frame its own. The screen's
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

#include <cstdlib>
#include <cstring>
#include <ctime>
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

// The drawing thread's own processor time: the machine's other load moves wall time by more
// than the drawing takes.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void WindowFirstPaint(benchmark::State &state) {
  hid::SimulatedHidBinding binding;
  framework::QtMessageLoop loop;
  NoSettings settings;
  for (auto _ : state) {
    app::TForm1Services services(binding, loop, settings);
    services.TrayBinding = std::make_unique<platform::HeadlessTrayBinding>();
    app::TForm1 form(std::move(services));
    const double start = ThreadSeconds();
    const QPixmap shown = form.grab();
    state.SetIterationTime(ThreadSeconds() - start);
    benchmark::DoNotOptimize(shown.cacheKey());
  }
  state.counters["ratio"] = qApp->devicePixelRatio();
}
BENCHMARK(WindowFirstPaint)
    ->UseManualTime()
    ->Iterations(100)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

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
