#include "AATestHelpers.h"
#include "widgets/ThhALed.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <tuple>

using namespace widgets;
using framework::TColor;

namespace {

const TLEDStyle AllStyles[] = {TLEDStyle::LEDSmall,    TLEDStyle::LEDLarge,
                               TLEDStyle::LEDSqSmall,  TLEDStyle::LEDSqLarge,
                               TLEDStyle::LEDVertical, TLEDStyle::LEDHorizontal};

using aatest::At;
using aatest::SameRgb;

bool ShowsOn(const ThhALed &led) {
  return SameRgb(led.Buffer(), led.OnBitmap());
}
bool ShowsOff(const ThhALed &led) {
  return SameRgb(led.Buffer(), led.OffBitmap());
}

// Pixels of the silver surround connected to (0, 0), found on the raw picture.
std::vector<bool> Surround(const QImage &raw) {
  const int w = raw.width(), h = raw.height();
  std::vector<bool> seen(static_cast<std::size_t>(w * h), false);
  std::vector<QPoint> stack{{0, 0}};
  while (!stack.empty()) {
    const QPoint p = stack.back();
    stack.pop_back();
    if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h) continue;
    auto idx = static_cast<std::size_t>(p.y() * w + p.x());
    if (seen[idx] || At(raw, p.x(), p.y()) != framework::clSilver) continue;
    seen[idx] = true;
    stack.insert(stack.end(),
                 {{p.x() + 1, p.y()}, {p.x() - 1, p.y()}, {p.x(), p.y() + 1}, {p.x(), p.y() - 1}});
  }
  return seen;
}

struct TickLog {
  std::vector<QObject *> senders;
  ThhALed *stopOnTick = nullptr;
  void OnTimer(QObject *sender) {
    senders.push_back(sender);
    if (stopOnTick != nullptr) stopOnTick->SetValue(false);
  }
};

} // namespace

TEST(ThhALedArtwork, PicturesHaveTheStyleSizesAndTheRecolouringLayout) {
  for (TLEDStyle style : AllStyles) {
    for (bool bordered : {true, false}) {
      const QString name = ThhALed::ResourceName(style, bordered);
      const QImage raw(name);
      ASSERT_FALSE(raw.isNull()) << name.toStdString();
      EXPECT_EQ(raw.size(), ThhALed::StyleSize(style)) << name.toStdString();
      EXPECT_LE(raw.colorCount(), 16) << name.toStdString();
      EXPECT_EQ(At(raw, raw.width() / 2, raw.height() / 2), framework::clLime)
          << name.toStdString();
      const int w = raw.width(), h = raw.height();
      if (bordered) {
        EXPECT_EQ(At(raw, 0, 0), framework::clWhite) << name.toStdString();
        EXPECT_EQ(At(raw, w - 1, h / 2), framework::clGray) << name.toStdString();
        EXPECT_EQ(At(raw, w / 2, h - 1), framework::clGray) << name.toStdString();
        EXPECT_EQ(At(raw, 1, 1), framework::clSilver) << name.toStdString();
      } else {
        EXPECT_EQ(At(raw, 0, 0), framework::clSilver) << name.toStdString();
      }
      int highlights = 0;
      for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x)
          if (At(raw, x, y) == framework::clWhite && At(raw, x + 1, y) == framework::clLime &&
              At(raw, x, y + 1) != framework::clSilver)
            ++highlights;
      EXPECT_GT(highlights, 0) << name.toStdString();
    }
  }
}

TEST(ThhALed, StartsSmallAndOff) {
  ThhALed led;
  EXPECT_EQ(std::tuple(led.Width(), led.Height(), led.Phase(), led.Blink(), led.Bordered(),
                       led.Value(), led.Interval(), led.BorderColor()),
            std::tuple(16, 16, 1, true, true, false, 1000, framework::clBtnFace));
  EXPECT_EQ(led.BlinkTimer(), nullptr);
  led.Repaint();
  EXPECT_TRUE(ShowsOff(led));
}

TEST(ThhALed, RecolouringFillsExactlyTheLitArea) {
  for (TLEDStyle style : AllStyles) {
    ThhALed led;
    led.SetLEDStyle(style);
    led.SetTrueColor(framework::clRed);
    led.SetFalseColor(0x123456);
    const QImage raw = QImage(ThhALed::ResourceName(style, true));
    for (int y = 0; y < raw.height(); ++y)
      for (int x = 0; x < raw.width(); ++x) {
        const TColor source = At(raw, x, y);
        const TColor on = At(led.OnBitmap(), x, y);
        const TColor off = At(led.OffBitmap(), x, y);
        if (source == framework::clLime) {
          ASSERT_EQ(on, framework::clRed) << x << "," << y;
          ASSERT_EQ(off, 0x123456u) << x << "," << y;
        } else {
          ASSERT_EQ(on, source) << "untouched at " << x << "," << y;
          ASSERT_EQ(off, source) << "untouched at " << x << "," << y;
        }
      }
  }
}

TEST(ThhALed, UnborderedLampTakesTheBorderColourAroundIt) {
  for (TLEDStyle style : AllStyles) {
    ThhALed led;
    led.SetLEDStyle(style);
    led.SetBordered(false);
    led.SetBorderColor(framework::clBackground);
    // FalseColor stays silver: the surround fill must not leak into the unlit lamp.
    const QImage raw = QImage(ThhALed::ResourceName(style, false));
    const std::vector<bool> surround = Surround(raw);
    const TColor border = framework::ColorToRGB(framework::clBackground);
    for (int y = 0; y < raw.height(); ++y)
      for (int x = 0; x < raw.width(); ++x) {
        const bool outside = surround[static_cast<std::size_t>(y * raw.width() + x)];
        const TColor source = At(raw, x, y);
        const TColor off = At(led.OffBitmap(), x, y);
        const TColor on = At(led.OnBitmap(), x, y);
        if (outside) {
          ASSERT_EQ(off, border) << x << "," << y;
          ASSERT_EQ(on, border) << x << "," << y;
        } else if (source == framework::clLime) {
          ASSERT_EQ(off, framework::clSilver) << x << "," << y;
          ASSERT_EQ(on, framework::clLime) << x << "," << y;
        } else {
          ASSERT_EQ(off, source) << x << "," << y;
        }
      }
    EXPECT_EQ(At(led.OffBitmap(), 0, 0), border);
  }
}

TEST(ThhALed, StyleChangeResizesAndKeepsThePosition) {
  ThhALed led;
  led.SetBounds(5, 80, 16, 16);
  led.SetLEDStyle(TLEDStyle::LEDLarge);
  EXPECT_EQ(led.geometry(), QRect(5, 80, 22, 22));
  led.SetLEDStyle(TLEDStyle::LEDVertical);
  EXPECT_EQ(QSize(led.Width(), led.Height()), QSize(16, 22));
  led.SetLEDStyle(TLEDStyle::LEDHorizontal);
  EXPECT_EQ(QSize(led.Width(), led.Height()), QSize(22, 16));
  EXPECT_EQ(led.Buffer().size(), QSize(22, 16));
  EXPECT_EQ(led.OnBitmap().size(), QSize(22, 16));
  led.SetBordered(false);
  EXPECT_EQ(At(led.OnBitmap(), 0, 0), framework::ColorToRGB(framework::clBtnFace));
}

TEST(ThhALed, FramedLampKeepsItsSilverSurroundWhateverTheBorderColour) {
  // As the main window loads its connection LED: the border colour applies to unframed
  // pictures only, so the lit lamp shows exactly the framed artwork.
  ThhALed led;
  led.SetBounds(5, 80, 22, 22);
  led.SetBorderColor(framework::clBackground);
  led.SetBlink(false);
  led.SetValue(true);
  led.SetLEDStyle(TLEDStyle::LEDLarge);
  const QImage raw(ThhALed::ResourceName(TLEDStyle::LEDLarge, true));
  EXPECT_TRUE(SameRgb(led.Buffer(), raw));
  EXPECT_EQ(At(led.Buffer(), 1, 1), framework::clSilver);
  EXPECT_EQ(At(led.Buffer(), 0, 0), framework::clWhite);
  EXPECT_EQ(led.BlinkTimer(), nullptr);
}

TEST(ThhALed, BlinksBetweenThePicturesOnItsTimer) {
  ThhALed led;
  TickLog log;
  led.SetOnTimer(framework::NotifyEvent::bind<&TickLog::OnTimer>(&log));
  led.SetValue(true);
  ASSERT_NE(led.BlinkTimer(), nullptr);
  EXPECT_TRUE(led.BlinkTimer()->running());
  EXPECT_EQ(led.BlinkTimer()->Interval(), 1000);
  EXPECT_EQ(led.Phase(), 0);
  EXPECT_TRUE(ShowsOn(led));

  led.BlinkTimer()->tick();
  EXPECT_EQ(led.Phase(), 1);
  EXPECT_TRUE(ShowsOff(led));
  led.BlinkTimer()->tick();
  EXPECT_EQ(led.Phase(), 0);
  EXPECT_TRUE(ShowsOn(led));
  EXPECT_EQ(log.senders, (std::vector<QObject *>{&led, &led}));

  led.SetInterval(250);
  EXPECT_EQ(led.BlinkTimer()->Interval(), 250);

  led.BlinkTimer()->tick(); // off picture on screen
  led.SetValue(true);       // unchanged: nothing happens
  EXPECT_EQ(led.Phase(), 1);
  led.SetBlink(false);
  EXPECT_EQ(led.BlinkTimer(), nullptr);
  EXPECT_TRUE(ShowsOn(led)) << "steady on";
}

TEST(ThhALed, ValueFalseWhileBlinkingShowsTheOffPictureAtOnce) {
  ThhALed led;
  led.SetValue(true);
  ASSERT_NE(led.BlinkTimer(), nullptr);
  led.SetValue(false);
  EXPECT_EQ(led.BlinkTimer(), nullptr);
  EXPECT_EQ(led.Phase(), 1);
  EXPECT_TRUE(ShowsOff(led));
}

TEST(ThhALed, PairingIndicationAlternatesRedAndSilverThenSteadyLime) {
  ThhALed led;
  led.SetBorderColor(framework::clBackground);
  led.SetBlink(false);
  led.SetValue(true);
  led.SetLEDStyle(TLEDStyle::LEDLarge);
  const int cx = 11, cy = 11;
  EXPECT_EQ(At(led.Buffer(), cx, cy), framework::clLime);

  led.SetTrueColor(framework::clRed);
  led.SetBlink(true);
  ASSERT_NE(led.BlinkTimer(), nullptr);
  EXPECT_EQ(At(led.Buffer(), cx, cy), framework::clRed);
  led.BlinkTimer()->tick();
  EXPECT_EQ(At(led.Buffer(), cx, cy), framework::clSilver);
  led.BlinkTimer()->tick();
  EXPECT_EQ(At(led.Buffer(), cx, cy), framework::clRed);
  led.BlinkTimer()->tick();

  // A colour change while blinking restarts the blink with the on picture.
  led.SetTrueColor(framework::clLime);
  ASSERT_NE(led.BlinkTimer(), nullptr);
  EXPECT_EQ(led.Phase(), 0);
  EXPECT_EQ(At(led.Buffer(), cx, cy), framework::clLime);
  led.SetBlink(false);
  EXPECT_EQ(led.BlinkTimer(), nullptr);
  EXPECT_EQ(At(led.Buffer(), cx, cy), framework::clLime);
}

TEST(ThhALed, TimerHandlerMayStopTheBlinkItIsCalledFrom) {
  ThhALed led;
  TickLog log;
  log.stopOnTick = &led;
  led.SetOnTimer(framework::NotifyEvent::bind<&TickLog::OnTimer>(&log));
  led.SetValue(true);
  led.BlinkTimer()->tick();
  EXPECT_EQ(led.BlinkTimer(), nullptr);
  EXPECT_TRUE(ShowsOff(led));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  led.SetValue(true);
  EXPECT_NE(led.BlinkTimer(), nullptr);
}

TEST(ThhALed, NegativeIntervalStartsNoTimer) {
  ThhALed led;
  led.SetInterval(-5);
  EXPECT_EQ(led.Interval(), -5);
  led.SetValue(true);
  EXPECT_EQ(led.BlinkTimer(), nullptr);
  EXPECT_TRUE(ShowsOn(led));
  led.SetInterval(100);
  led.SetBlink(false);
  led.SetBlink(true);
  ASSERT_NE(led.BlinkTimer(), nullptr);
  led.SetInterval(-1);
  EXPECT_FALSE(led.BlinkTimer()->running());
}

TEST(ThhALed, MouseEnterAndLeaveRaiseTheirEvents) {
  ThhALed led;
  TickLog enter, leave;
  led.SetOnMouseEnter(framework::NotifyEvent::bind<&TickLog::OnTimer>(&enter));
  led.SetOnMouseLeave(framework::NotifyEvent::bind<&TickLog::OnTimer>(&leave));
  QEvent leaveEvent(QEvent::Leave);
  QCoreApplication::sendEvent(&led, &leaveEvent);
  led.MouseEnter();
  EXPECT_EQ(enter.senders, std::vector<QObject *>{&led});
  EXPECT_EQ(leave.senders, std::vector<QObject *>{&led});
}
