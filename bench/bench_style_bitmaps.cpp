#include "skin/style/BitmapCache.h"
#include "skin/style/StyleReads.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace skin;
using namespace skin::style;

namespace {

// Everything one style draws with, decoded from the compiled-in pictures by a cache that starts
// empty, as the first paints of a window in that style do.
void BM_LoadOneStylesBitmaps(benchmark::State &state) {
  const auto style = static_cast<TsuiUIStyle>(state.range(0));
  const int index = StyleIndex(static_cast<int>(style));
  std::size_t pixels = 0;
  for (auto _ : state) {
    BitmapCache cache(QStringLiteral(":/skin"));
    for (const BitmapElement &element : BitmapCatalogue) {
      if (!element.Sizes[static_cast<std::size_t>(index)].Present()) continue;
      const QImage picture = GetStyleBitmap(style, element.Name, cache);
      if (picture.isNull()) {
        state.SkipWithError("a catalogue picture is not compiled in");
        return;
      }
      pixels += static_cast<std::size_t>(picture.width() * picture.height());
    }
  }
  state.counters["pixels"] =
      benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_LoadOneStylesBitmaps)
    ->DenseRange(static_cast<int>(TsuiUIStyle::MacOS), static_cast<int>(TsuiUIStyle::BlueGlass))
    ->ArgName("style");

// One state of the title-button strip from a cache that already holds it, as a title bar does
// for each of its buttons.
void BM_CutTitleButtonState(benchmark::State &state) {
  BitmapCache cache(QStringLiteral(":/skin"));
  QImage part;
  if (!GetStyleImagePart(TsuiUIStyle::Protein, StyleEntry::TitleBarButtonImage, part, 18, 18,
                         cache)) {
    state.SkipWithError("the title-button strip is not compiled in");
    return;
  }
  for (auto _ : state) {
    GetStyleImagePart(TsuiUIStyle::Protein, StyleEntry::TitleBarButtonImage, part, 18, 18, cache);
    benchmark::DoNotOptimize(part.constBits());
  }
}
BENCHMARK(BM_CutTitleButtonState);

} // namespace

int main(int argc, char **argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
