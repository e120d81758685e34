#include "framework/Fonts.h"
#include "widgets/TCnAALabel.h"
#include "widgets/aa/TCnAAFont.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace widgets;

namespace {

const framework::FontDesc PercentFont{
    QStringLiteral("MS Sans Serif"), -13, true, false, false, framework::clWhite};

// The percentage as the main window draws it: rasterised at 3 x 3, reduced, blended white.
void BM_RenderPercentNormal(benchmark::State &state) {
  QImage image(40, 20, QImage::Format_RGB32);
  image.fill(qRgb(0x2C, 0x19, 0x1B));
  framework::Canvas canvas(image);
  canvas.SetFont(framework::MakeFont(PercentFont));
  canvas.SetFontColor(PercentFont.Color);
  aa::TCnAAFontEx engine(&canvas);
  engine.Mask().SetQuality(static_cast<aa::TAAQuality>(state.range(0)));
  const QString text = QStringLiteral("83%");
  for (auto _ : state) {
    engine.RenderText(0, 0, text);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_RenderPercentNormal)
    ->Arg(static_cast<int>(aa::TAAQuality::aqNormal))
    ->Arg(static_cast<int>(aa::TAAQuality::aqHigh))
    ->ArgName("quality");

// One refresh of an opaque label: background, caption into the off-screen bitmap.
void BM_OpaqueLabelRefresh(benchmark::State &state) {
  QWidget parent;
  TCnAALabel label(&parent);
  label.SetFont(PercentFont);
  label.SetColor(0x2C191B);
  label.SetCaption(QStringLiteral("83%"));
  label.Loaded();
  for (auto _ : state) {
    label.RefreshIfReady();
    benchmark::DoNotOptimize(label.OffscreenBitmap().constBits());
  }
}
BENCHMARK(BM_OpaqueLabelRefresh);

} // namespace

int main(int argc, char **argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
