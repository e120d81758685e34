#include "app/FormLayout.h"
#include "framework/Fonts.h"
#include "widgets/TCnAALabel.h"
#include "widgets/TProgBar.h"
#include "widgets/ThhALed.h"
#include "widgets/aa/TCnAAFont.h"

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
