#pragma once

#include "framework/Colors.h"
#include "framework/Delegate.h"
#include "framework/WindowlessControl.h"

#include <QImage>
#include <QString>

#include <array>

namespace widgets {

using framework::TAlignment;
using framework::TColor;

enum class TProgBarDirection { pbdUpward, pbdDownward, pbdLeftward, pbdRightward };
enum class TColorMapping { cgmCover, cgmStretch, cgmMove };
enum class TColorScheme { csBWG, csSystem };
enum class TFrameStyle { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };

// The handler may replace the text before it is drawn.
using TBeforeShowValueEvent = framework::Delegate<void(QObject *, QString &)>;

// A bar gauge: a bar along one of four directions inside a margin band and two bevelled frames,
// with an optional grid, a gradient from a 1024-entry colour table, a background picture and a
// rotated value text. Every setter renders at once.
class TProgBar : public framework::WindowlessControl {
  Q_OBJECT
public:
  static constexpr int ColorTableSize = 1024;
  using ColorTableType = std::array<TColor, ColorTableSize>;

  explicit TProgBar(QWidget *parent = nullptr);
  ~TProgBar() override;

  // Copies every gauge property from `source` when it is a gauge; answers false otherwise.
  bool Assign(const QObject *source);
  // Copies this gauge into `dest` when it is a gauge; answers false otherwise.
  bool AssignTo(QObject *dest) const;

  const QString &BackGroundImg() const { return m_backGroundImg; }
  void SetBackGroundImg(const QString &value);
  TColor ColorBackGnd() const { return m_colorBackGnd; }
  void SetColorBackGnd(TColor value);
  TColorMapping ColorMapMode() const { return m_colorMapMode; }
  void SetColorMapMode(TColorMapping value);
  TColor ColorGrid() const { return m_colorGrid; }
  void SetColorGrid(TColor value);
  TColor ColorMargin() const { return m_colorMargin; }
  void SetColorMargin(TColor value);
  TColorScheme ColorScheme() const { return m_colorScheme; }
  void SetColorScheme(TColorScheme value);
  TColor ColorMin() const { return m_colorTable[0]; }
  void SetColorMin(TColor value);
  TColor ColorMax() const { return m_colorTable[ColorTableSize - 1]; }
  void SetColorMax(TColor value);
  TFrameStyle FrameStyleOuter() const { return m_frameStyleOuter; }
  void SetFrameStyleOuter(TFrameStyle value);
  TFrameStyle FrameStyleInner() const { return m_frameStyleInner; }
  void SetFrameStyleInner(TFrameStyle value);
  int GridDist() const { return m_gridDist; }
  void SetGridDist(int value);
  int MarginBottom() const { return m_marginBottom; }
  void SetMarginBottom(int value);
  int MarginLeft() const { return m_marginLeft; }
  void SetMarginLeft(int value);
  int MarginRight() const { return m_marginRight; }
  void SetMarginRight(int value);
  int MarginTop() const { return m_marginTop; }
  void SetMarginTop(int value);
  double Max() const { return m_max; }
  void SetMax(double value);
  double Min() const { return m_min; }
  void SetMin(double value);
  TProgBarDirection Direction() const { return m_direction; }
  void SetDirection(TProgBarDirection value);
  bool ShowColorGradient() const { return m_showColorGradient; }
  void SetShowColorGradient(bool value);
  TAlignment TextAlignment() const { return m_textAlignment; }
  void SetTextAlignment(TAlignment value);
  int TextAngle() const { return m_textAngle; }
  void SetTextAngle(int value);
  int TextDecPlaces() const { return m_textDecPlaces; }
  void SetTextDecPlaces(int value);
  int TextPosX() const { return m_textPosX; }
  void SetTextPosX(int value);
  int TextPosY() const { return m_textPosY; }
  void SetTextPosY(int value);
  bool TextVisible() const { return m_textVisible; }
  void SetTextVisible(bool value);
  double Value() const { return m_value; }
  void SetValue(double value);

  const TBeforeShowValueEvent &OnShowValue() const { return m_onShowValue; }
  void SetOnShowValue(TBeforeShowValueEvent handler) { m_onShowValue = std::move(handler); }

  const ColorTableType &ColorTable() const { return m_colorTable; }
  TColor FrameColorDark() const { return m_frameColorDark; }
  TColor FrameColorShadow() const { return m_frameColorShadow; }
  TColor FrameColorLight() const { return m_frameColorLight; }

  // Each colour byte mixed as Trunc(c1 + (c2 - c1) * t), t clamped into 0..1; the high bytes of
  // the inputs are ignored, so a system colour mixes by its raw low bytes.
  static TColor MixColor(TColor c1, TColor c2, double t);
  // The value text: 0..10 fixed decimals, -2 " d.dE+dddd", -1 " d.dE+dd" (or all '*' when the
  // exponent does not fit two digits).
  static QString FormatValue(double value, int decPlaces);
  // Round(span * value / (max - min)), halves to even; 0 when the ratio is not a number.
  static long long BarExtent(int span, double value, double min, double max);

protected:
  void Render(framework::Canvas &canvas) override;

private:
  // Stores and repaints, unless the value is unchanged.
  template <typename T> void SetChecked(T &member, T value);
  void RecomputeColorTable();
  void DrawFrame(framework::Canvas &canvas, TFrameStyle style, int l, int t, int r, int b) const;
  void DrawGradient(framework::Canvas &canvas, const framework::TRect &bar, long long span) const;
  // `bar` and `extent` in the image's pixels, `ratio` of them to each of the gauge's.
  void DrawGrid(framework::Canvas &canvas, const framework::TRect &bar, long long extent,
                int ratio) const;
  void DrawValueText(framework::Canvas &canvas);

  QString m_backGroundImg;
  QImage m_backGround;
  TColor m_colorBackGnd = framework::clSilver;
  TColorMapping m_colorMapMode = TColorMapping::cgmStretch;
  TColor m_colorGrid = framework::clBlack;
  TColor m_colorMargin = framework::clSilver;
  TColorScheme m_colorScheme = TColorScheme::csBWG;
  TFrameStyle m_frameStyleOuter = TFrameStyle::fsRaised;
  TFrameStyle m_frameStyleInner = TFrameStyle::fsLowered;
  int m_gridDist = 0;
  int m_marginBottom = 4;
  int m_marginLeft = 4;
  int m_marginRight = 4;
  int m_marginTop = 4;
  double m_max = 100.0;
  double m_min = 0.0;
  TProgBarDirection m_direction = TProgBarDirection::pbdRightward;
  bool m_showColorGradient = false;
  TAlignment m_textAlignment = TAlignment::taCenter;
  int m_textAngle = 0;
  int m_textDecPlaces = 0;
  int m_textPosX = 10;
  int m_textPosY = 10;
  bool m_textVisible = true;
  double m_value = 10.0;
  TBeforeShowValueEvent m_onShowValue;

  ColorTableType m_colorTable{};
  TColor m_frameColorDark = framework::clBlack;
  TColor m_frameColorShadow = framework::clGray;
  TColor m_frameColorLight = framework::clWhite;
};

} // namespace widgets
