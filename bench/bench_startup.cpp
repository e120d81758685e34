// Start-up of the program with the simulated receiver, from process start until its window has
// been shown and painted (a scenario that quits at 0 ms, i.e. at the loop's first turn after
// the window came up), and the child's peak memory, beside an empty Qt Widgets window that
// quits at its first paint. All run on the offscreen platform with a fresh HOME. Two more rows
// tell the parts apart: the program without a receiver (the first scan exchanges nothing, so
// none of its three 1 ms pauses) and the empty window painting one label (fonts read). The last
// row starts the program and the empty window by turns, so that both see the same load of the
// machine, and reports the median of the pairs' ratios. The 2x rows do the same on a screen of
// twice the density.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char **environ;

namespace {

struct ChildRun {
  bool Ok = false;
  double Seconds = 0;
  long MaxRssKiB = 0;
};

class TempHome {
public:
  TempHome() {
    char pattern[] = "/tmp/quelvane-bench-XXXXXX";
    if (const char *dir = mkdtemp(pattern)) m_path = dir;
  }
  ~TempHome() {
    std::error_code ignored;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
  }
  TempHome(const TempHome &) = delete;
  TempHome &operator=(const TempHome &) = delete;
  const std::string &Path() const { return m_path; }

private:
  std::string m_path;
};

// `scale`: the screen's scale factor, "1" for none.
ChildRun Spawn(const std::vector<std::string> &args, const std::string &home,
               const std::string &scale = "1") {
  std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "HOME=" + home,
                                  "XDG_CONFIG_HOME=" + home + "/config", "XDG_RUNTIME_DIR=" + home,
                                  "LANG=C.UTF-8"};
  if (scale != "1") env.push_back("QT_SCALE_FACTOR=" + scale);
  if (const char *path = std::getenv("PATH")) env.push_back(std::string("PATH=") + path);
  std::vector<char *> argv, envp;
  for (const std::string &a : args)
    argv.push_back(const_cast<char *>(a.c_str()));
  argv.push_back(nullptr);
  for (const std::string &e : env)
    envp.push_back(const_cast<char *>(e.c_str()));
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return {};
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return {};
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return {};
  const auto end = std::chrono::steady_clock::now();
  ChildRun run;
  run.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.Seconds = std::chrono::duration<double>(end - start).count();
  run.MaxRssKiB = usage.ru_maxrss;
  return run;
}

void Measure(benchmark::State &state, const std::vector<std::string> &args, const std::string &home,
             const std::string &scale = "1") {
  long peak = 0;
  for (auto _ : state) {
    const ChildRun run = Spawn(args, home, scale);
    if (!run.Ok) {
      state.SkipWithError("the child did not run to a clean exit");
      return;
    }
    state.SetIterationTime(run.Seconds);
    peak = std::max(peak, run.MaxRssKiB);
  }
  state.counters["maxrss_KiB"] = static_cast<double>(peak);
}

constexpr const char *OneReceiver =
    R"([{"id": "rx", "vendor": "3A7E", "product": "0A11", "receiver": {}}])";

// The program's arguments for a scenario with `devices` that quits at once, written in `home`.
std::vector<std::string> QuelvaneQuitting(const TempHome &home, const char *devices) {
  const std::string scenario = home.Path() + "/quit.json";
  std::ofstream(scenario) << R"({"devices": )" << devices
                          << R"(, "timeline": [{"at": 0, "quit": true}]})";
  return {QUELVANE_BINARY, "--simulate=" + scenario};
}

void QuelvaneStartup(benchmark::State &state, const char *devices) {
  TempHome home;
  Measure(state, QuelvaneQuitting(home, devices), home.Path());
}

void QuelvaneSimulateStartup(benchmark::State &state) {
  QuelvaneStartup(state, OneReceiver);
}
BENCHMARK(QuelvaneSimulateStartup)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// The same on a screen of twice the density: four times the pixels drawn.
void QuelvaneSimulateStartup2x(benchmark::State &state) {
  TempHome home;
  Measure(state, QuelvaneQuitting(home, OneReceiver), home.Path(), "2");
}
BENCHMARK(QuelvaneSimulateStartup2x)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

void QuelvaneNoReceiverStartup(benchmark::State &state) {
  QuelvaneStartup(state, "[]");
}
BENCHMARK(QuelvaneNoReceiverStartup)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

void EmptyQtWidgetsStartup(benchmark::State &state) {
  TempHome home;
  Measure(state, {EMPTY_QT_APP}, home.Path());
}
BENCHMARK(EmptyQtWidgetsStartup)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void LabelQtWidgetsStartup(benchmark::State &state) {
  TempHome home;
  Measure(state, {EMPTY_QT_APP, "--label"}, home.Path());
}
BENCHMARK(LabelQtWidgetsStartup)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// `count` interfaces that are not receivers, then the receiver, in as few bytes as the scenario's
// size limit needs: 100,000 of them take 4 MB.
std::string ManyInterfaces(int count) {
  std::string devices = "[";
  for (int i = 0; i < count; ++i) {
    std::string id;
    for (int n = i;; n /= 36) {
      id.insert(id.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[n % 36]);
      if (n < 36) break;
    }
    devices += R"({"id":")" + id + R"(","vendor":"1","product":"2"},)";
  }
  return devices + R"({"id":"RX","vendor":"3A7E","product":"0A11","receiver":{}}])";
}

void SetPerInterface(benchmark::State &state, int interfaces) {
  state.counters["per_interface"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * interfaces,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The window among many interfaces: every one is listed, claimed and asked whether it is the
// receiver before the first paint. Linear: the time per interface stays flat.
void QuelvaneManyInterfacesStartup(benchmark::State &state) {
  TempHome home;
  const std::string devices = ManyInterfaces(static_cast<int>(state.range(0)));
  Measure(state, QuelvaneQuitting(home, devices.c_str()), home.Path());
  SetPerInterface(state, static_cast<int>(state.range(0)));
}
BENCHMARK(QuelvaneManyInterfacesStartup)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

// --status among as many: the same scan and walk, without a window.
void QuelvaneManyInterfacesStatus(benchmark::State &state) {
  TempHome home;
  const std::string devices = ManyInterfaces(static_cast<int>(state.range(0)));
  std::vector<std::string> arguments = QuelvaneQuitting(home, devices.c_str());
  arguments.push_back("--status");
  Measure(state, arguments, home.Path());
  SetPerInterface(state, static_cast<int>(state.range(0)));
}
BENCHMARK(QuelvaneManyInterfacesStatus)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void SimulateToEmptyByTurns(benchmark::State &state) {
  TempHome home;
  const std::vector<std::string> quelvane = QuelvaneQuitting(home, OneReceiver);
  std::vector<double> ratios, ours, empty;
  long oursPeak = 0, emptyPeak = 0;
  for (auto _ : state) {
    const ChildRun baseline = Spawn({EMPTY_QT_APP}, home.Path());
    const ChildRun run = Spawn(quelvane, home.Path());
    if (!baseline.Ok || !run.Ok) {
      state.SkipWithError("a child did not run to a clean exit");
      return;
    }
    state.SetIterationTime(run.Seconds);
    ratios.push_back(run.Seconds / baseline.Seconds);
    ours.push_back(run.Seconds * 1e3);
    empty.push_back(baseline.Seconds * 1e3);
    oursPeak = std::max(oursPeak, run.MaxRssKiB);
    emptyPeak = std::max(emptyPeak, baseline.MaxRssKiB);
  }
  state.counters["time_ratio"] = Median(ratios);
  state.counters["quelvane_ms"] = Median(ours);
  state.counters["empty_ms"] = Median(empty);
  state.counters["maxrss_ratio"] =
      emptyPeak > 0 ? static_cast<double>(oursPeak) / static_cast<double>(emptyPeak) : 0;
}
BENCHMARK(SimulateToEmptyByTurns)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

// The program and the empty window at 1x and at 2x by turns. The program's own part is its time
// less the empty window's at the same scale (Qt's start, the backing store); own_ratio is the
// median of the 2x own part over the 1x one, time_ratio the same for the whole times.
void Scaled2xTo1xByTurns(benchmark::State &state) {
  TempHome home;
  const std::vector<std::string> quelvane = QuelvaneQuitting(home, OneReceiver);
  std::vector<double> ownRatios, timeRatios, own1, own2;
  for (auto _ : state) {
    const ChildRun empty1 = Spawn({EMPTY_QT_APP}, home.Path(), "1");
    const ChildRun run1 = Spawn(quelvane, home.Path(), "1");
    const ChildRun empty2 = Spawn({EMPTY_QT_APP}, home.Path(), "2");
    const ChildRun run2 = Spawn(quelvane, home.Path(), "2");
    if (!empty1.Ok || !run1.Ok || !empty2.Ok || !run2.Ok) {
      state.SkipWithError("a child did not run to a clean exit");
      return;
    }
    state.SetIterationTime(run2.Seconds);
    const double one = run1.Seconds - empty1.Seconds;
    const double two = run2.Seconds - empty2.Seconds;
    own1.push_back(one * 1e3);
    own2.push_back(two * 1e3);
    if (one > 0) ownRatios.push_back(two / one);
    timeRatios.push_back(run2.Seconds / run1.Seconds);
  }
  state.counters["own_ratio"] = Median(ownRatios);
  state.counters["time_ratio"] = Median(timeRatios);
  state.counters["own_1x_ms"] = Median(own1);
  state.counters["own_2x_ms"] = Median(own2);
}
BENCHMARK(Scaled2xTo1xByTurns)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
