#pragma once

#include "framework/Colors.h"
#include "framework/Timer.h"
#include "framework/WindowlessControl.h"

#include <QImage>
#include <QString>

#include <memory>

namespace widgets {

using framework::TColor;

enum class TLEDStyle { LEDSmall, LEDLarge, LEDSqSmall, LEDSqLarge, LEDVertical, LEDHorizontal };

// A lamp with an on and an off picture, both recoloured from one lamp bitmap, that can blink
// between them on its own timer. Pictures are built only when style, border or a colour changes;
// a blink step copies a ready picture.
class ThhALed : public framework::WindowlessControl {
  Q_OBJECT
public:
  explicit ThhALed(QWidget *parent = nullptr);
  ~ThhALed() override;

  TColor TrueColor() const { return m_trueColor; }
  void SetTrueColor(TColor value);
  TColor FalseColor() const { return m_falseColor; }
  void SetFalseColor(TColor value);
  TColor BorderColor() const { return m_borderColor; }
  void SetBorderColor(TColor value);
  bool Blink() const { return m_blink; }
  void SetBlink(bool value);
  bool Bordered() const { return m_bordered; }
  void SetBordered(bool value);
  bool Value() const { return m_value; }
  void SetValue(bool value);
  int Interval() const { return m_interval; }
  void SetInterval(int value);
  TLEDStyle LEDStyle() const { return m_ledStyle; }
  void SetLEDStyle(TLEDStyle value);

  const framework::NotifyEvent &OnTimer() const { return m_onTimer; }
  void SetOnTimer(framework::NotifyEvent handler) { m_onTimer = std::move(handler); }

  // 0 while the on picture is on screen, 1 for the off picture.
  int Phase() const { return m_phase; }
  // The blink timer while blinking, else null.
  framework::Timer *BlinkTimer() const { return m_blinkTimer.get(); }
  const QImage &OnBitmap() const { return m_onBitmap; }
  const QImage &OffBitmap() const { return m_offBitmap; }

  // The resource path of the lamp picture for a style, framed or not.
  static QString ResourceName(TLEDStyle style, bool bordered);
  static QSize StyleSize(TLEDStyle style);

  void BlinkTick();

protected:
  void Render(framework::Canvas &canvas) override;

private:
  void BuildBitmaps();
  void DrawOn();
  void DrawOff();
  void StartBlink();
  void StopBlink();
  void SetColor(TColor &member, TColor value);
  void OnBlinkTimer(framework::Timer *timer);

  TColor m_trueColor = framework::clLime;
  TColor m_falseColor = framework::clSilver;
  TColor m_borderColor = framework::clBtnFace;
  bool m_blink = true;
  bool m_bordered = true;
  bool m_value = false;
  int m_interval = 1000;
  TLEDStyle m_ledStyle = TLEDStyle::LEDSmall;
  framework::NotifyEvent m_onTimer;

  QImage m_onBitmap;
  QImage m_offBitmap;
  std::unique_ptr<framework::Timer> m_blinkTimer;
  int m_phase = 1;
  int m_tickDepth = 0;
};

} // namespace widgets
