#include "widgets/ThhALed.h"

#include "framework/Canvas.h"
#include "framework/PictureLoader.h"

static void InitWidgetResources() {
  // The resources live in a static library; without this the linker may drop them.
  Q_INIT_RESOURCE(widgets);
}

namespace widgets {

using framework::Canvas;

namespace {

struct StyleInfo {
  int width;
  int height;
  const char *name;
};

StyleInfo Info(TLEDStyle style) {
  switch (style) {
  case TLEDStyle::LEDSmall:
    return {16, 16, "SM"};
  case TLEDStyle::LEDLarge:
    return {22, 22, "LG"};
  case TLEDStyle::LEDSqSmall:
    return {16, 16, "SQSM"};
  case TLEDStyle::LEDSqLarge:
    return {22, 22, "SQLG"};
  case TLEDStyle::LEDVertical:
    return {16, 22, "VT"};
  case TLEDStyle::LEDHorizontal:
    return {22, 16, "HZ"};
  }
  return {16, 16, "SM"};
}

} // namespace

ThhALed::ThhALed(QWidget *parent) : WindowlessControl(parent) {
  static const bool resourcesReady = (InitWidgetResources(), true);
  (void)resourcesReady;
  SetOpaque(true);
  SetBounds(Left(), Top(), 16, 16);
  BuildBitmaps();
}

ThhALed::~ThhALed() {
  StopBlink();
}

QString ThhALed::ResourceName(TLEDStyle style, bool bordered) {
  return QStringLiteral(":/led/%1%2.bmp")
      .arg(bordered ? QLatin1Char('B') : QLatin1Char('N'))
      .arg(QLatin1String(Info(style).name));
}

QSize ThhALed::StyleSize(TLEDStyle style) {
  const StyleInfo info = Info(style);
  return {info.width, info.height};
}

void ThhALed::BuildBitmaps() {
  const StyleInfo info = Info(m_ledStyle);
  SetBounds(Left(), Top(), info.width, info.height);
  QImage picture =
      framework::LoadPicture(ResourceName(m_ledStyle, m_bordered), framework::PictureFormat::Bmp)
          .value_or(QImage());
  if (picture.isNull()) {
    // Only a broken build lacks the pictures; show an unlit surround rather than nothing.
    picture = QImage(info.width, info.height, QImage::Format_RGB32);
    picture.fill(Qt::lightGray);
  }
  m_onBitmap = picture.convertToFormat(QImage::Format_RGB32);
  m_offBitmap = m_onBitmap.copy();

  Canvas on(m_onBitmap);
  Canvas off(m_offBitmap);
  const int cx = m_onBitmap.width() / 2;
  const int cy = m_onBitmap.height() / 2;
  on.FloodFill(cx, cy, framework::clLime, m_trueColor);
  off.FloodFill(cx, cy, framework::clLime, m_falseColor);
  if (!m_bordered) {
    on.FloodFill(0, 0, framework::clSilver, m_borderColor);
    off.FloodFill(0, 0, framework::clSilver, m_borderColor);
  }
}

void ThhALed::Render(Canvas &canvas) {
  canvas.StretchDraw({0, 0, Width(), Height()}, m_phase == 0 ? m_onBitmap : m_offBitmap);
}

void ThhALed::DrawOn() {
  m_phase = 0;
  Repaint();
}

void ThhALed::DrawOff() {
  m_phase = 1;
  Repaint();
}

void ThhALed::StartBlink() {
  // A negative period cannot be timed: no timer then, the lamp just stays on.
  if (m_blinkTimer || m_interval < 0) return;
  m_phase = 0;
  m_blinkTimer = std::make_unique<framework::Timer>();
  m_blinkTimer->SetInterval(m_interval);
  m_blinkTimer->SetOnTimer(framework::Timer::Event::bind<&ThhALed::OnBlinkTimer>(this));
}

void ThhALed::StopBlink() {
  if (!m_blinkTimer) return;
  if (m_tickDepth > 0) {
    // Stopped from inside its own tick (an OnTimer handler): the timer is still on the call
    // stack, so it goes quietly and is deleted once control is back in the event loop.
    framework::Timer *dying = m_blinkTimer.release();
    dying->SetEnabled(false);
    dying->setParent(this);
    dying->deleteLater();
    return;
  }
  m_blinkTimer.reset();
}

void ThhALed::OnBlinkTimer(framework::Timer *) {
  ++m_tickDepth;
  BlinkTick();
  --m_tickDepth;
}

void ThhALed::BlinkTick() {
  m_phase = 1 - m_phase;
  Repaint();
  if (m_onTimer) m_onTimer(this);
}

void ThhALed::SetValue(bool value) {
  if (value == m_value) return;
  m_value = value;
  if (value) {
    DrawOn();
    if (m_blink) StartBlink();
  } else {
    StopBlink();
    DrawOff();
  }
}

void ThhALed::SetBlink(bool value) {
  if (value == m_blink) return;
  if (m_value)
    DrawOn();
  else
    DrawOff();
  m_blink = value;
  if (value && m_value)
    StartBlink();
  else
    StopBlink();
}

void ThhALed::SetColor(TColor &member, TColor value) {
  if (member == value) return;
  const bool blinking = m_blink;
  if (blinking) SetBlink(false);
  member = value;
  BuildBitmaps();
  SetBlink(blinking);
  Repaint();
}

void ThhALed::SetTrueColor(TColor value) {
  SetColor(m_trueColor, value);
}
void ThhALed::SetFalseColor(TColor value) {
  SetColor(m_falseColor, value);
}
void ThhALed::SetBorderColor(TColor value) {
  SetColor(m_borderColor, value);
}

void ThhALed::SetLEDStyle(TLEDStyle value) {
  if (value == m_ledStyle) return;
  m_ledStyle = value;
  BuildBitmaps();
  Repaint();
}

void ThhALed::SetBordered(bool value) {
  if (value == m_bordered) return;
  m_bordered = value;
  BuildBitmaps();
  Repaint();
}

void ThhALed::SetInterval(int value) {
  m_interval = value;
  if (m_blinkTimer) m_blinkTimer->SetInterval(value);
}

} // namespace widgets
