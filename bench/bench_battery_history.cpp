// The battery history's two costs: recording a change in the window's thread (the store's append
// under its lock file, and the outlook the tray tip reads), and --history over ten years of
// changes (reading, compacting on first open, analysing and printing).
#include "app/BatteryStore.h"
#include "app/HistoryCommand.h"
#include "receiver/BatteryLog.h"
#include "receiver/BatteryRecorder.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t Start = 1767225600; // 2026-01-01
constexpr std::int64_t Hour = 3600;

// Ten years of a mouse used daily: connected in the morning, disconnected at night, a level
// change every six hours that wobbles on its way down, a battery every two months.
std::vector<receiver::BatteryRecord> TenYears() {
  using receiver::BatteryEvent;
  std::vector<receiver::BatteryRecord> records;
  int level = 6;
  for (std::int64_t day = 0; day < 3653; ++day) {
    const std::int64_t t = Start + day * 24 * Hour;
    records.push_back({t + 8 * Hour, BatteryEvent::Connected, -1, 6});
    for (int q = 0; q < 4; ++q) {
      const int drop = day % 60 == 0 && q == 0 ? -(6 - level) : (q % 2 == 0 ? 1 : -1);
      level = std::max(0, std::min(6, level - drop + (day % 10 == 9 && q == 3 ? 1 : 0)));
      records.push_back({t + 8 * Hour + q * 6 * Hour, BatteryEvent::Level, level, 6});
    }
    records.push_back({t + 23 * Hour, BatteryEvent::Disconnected, -1, 6});
  }
  return records;
}

void Write(const std::string &path, const std::string &text) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  file.write(text.data(), static_cast<qint64>(text.size()));
}

void BM_RecordAChange(benchmark::State &state) {
  const QTemporaryDir dir;
  std::ostringstream err;
  app::BatteryStore store(dir.filePath("battery-history").toStdString(), err);
  std::int64_t now = Start;
  receiver::BatteryRecorder recorder(store, {}, [&now] { return now; });
  const bool withTip = state.range(0) != 0;
  int level = 6;
  for (auto _ : state) {
    now += Hour;
    level = level == 0 ? 6 : level - 1;
    recorder.LevelRead(level, 6);
    if (withTip) benchmark::DoNotOptimize(recorder.Outlook().SecondsLeft);
  }
  if (!err.str().empty()) state.SkipWithError(err.str().c_str());
  state.SetLabel(withTip ? "append + outlook" : "append");
}
BENCHMARK(BM_RecordAChange)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_HistoryOverTenYears(benchmark::State &state) {
  const QTemporaryDir dir;
  const std::string path = dir.filePath("battery-history").toStdString();
  const std::string text = receiver::FormatBatteryLog(TenYears());
  const bool compacted = state.range(0) != 0;
  Write(path, text);
  if (compacted) {
    std::ostringstream ignored;
    app::ReadOutlook(path, Start, ignored);
  }
  for (auto _ : state) {
    if (!compacted) {
      state.PauseTiming();
      Write(path, text);
      state.ResumeTiming();
    }
    std::ostringstream out, err;
    app::RunHistoryCommand(path, Start + 3653 * 24 * Hour, true, out, err);
    benchmark::DoNotOptimize(out.str());
  }
  state.SetLabel(compacted ? "as kept (compacted)"
                           : std::to_string(text.size() / 1024) + " KiB written uncompacted");
}
BENCHMARK(BM_HistoryOverTenYears)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
