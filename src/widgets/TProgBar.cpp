#include "widgets/TProgBar.h"

#include "framework/Fonts.h"
#include "framework/PictureLoader.h"

#include <QPoint>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <numbers>
#include <string>

namespace widgets {

using framework::Canvas;
using framework::TRect;

namespace {

// Coordinates beyond this lie far outside any bitmap; clamping keeps int arithmetic defined for
// any stored margin or value.
constexpr long long CoordLimit = 1LL << 24;

int Coord(long long v) {
  return static_cast<int>(std::clamp(v, -CoordLimit, CoordLimit));
}

// Halves go to the even neighbour (the default floating-point rounding mode).
double RoundEven(double v) {
  return std::nearbyint(v);
}

int TableIndex(double idx) {
  if (std::isnan(idx)) return 0;
  return static_cast<int>(std::clamp(idx, 0.0, static_cast<double>(TProgBar::ColorTableSize - 1)));
}

// A finite magnitude as significant digits: value = 0.d1d2d3... * 10^(exp + 1).
struct Decimal {
  std::string digits;
  int exp = 0;
};

Decimal ToDecimal(double magnitude) {
  // 18 significant digits, as wide as the old extended-precision conversion.
  char buf[64];
  const int len = std::snprintf(buf, sizeof buf, "%.17e", magnitude);
  Decimal d;
  if (len <= 0) return {"0", 0};
  const std::string s(buf, static_cast<std::size_t>(len));
  const std::size_t e = s.find('e');
  for (std::size_t i = 0; i < e; ++i)
    if (s[i] != '.') d.digits.push_back(s[i]);
  d.exp = std::stoi(s.substr(e + 1));
  return d;
}

// Keeps `count` significant digits, rounding up when the first dropped digit is 5 or more.
void RoundDigits(Decimal &d, int count) {
  if (count < 0) {
    d = {"0", 0};
    return;
  }
  if (count >= static_cast<int>(d.digits.size())) return;
  const bool up = d.digits[static_cast<std::size_t>(count)] >= '5';
  d.digits.resize(static_cast<std::size_t>(count));
  if (up) {
    int i = count - 1;
    for (; i >= 0; --i) {
      char &c = d.digits[static_cast<std::size_t>(i)];
      if (c == '9') {
        c = '0';
      } else {
        ++c;
        break;
      }
    }
    if (i < 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exp;
    }
  }
  if (d.digits.empty()) d = {"0", 0};
}

char DigitAt(const Decimal &d, int pos) {
  return pos >= 0 && pos < static_cast<int>(d.digits.size())
             ? d.digits[static_cast<std::size_t>(pos)]
             : '0';
}

QString FormatFixed(double value, int decPlaces) {
  Decimal d = ToDecimal(std::fabs(value));
  if (d.digits.find_first_not_of('0') == std::string::npos) d = {"0", 0};
  const int intDigits = d.exp + 1;
  RoundDigits(d, intDigits + decPlaces);
  const int newIntDigits = d.exp + 1;
  std::string out;
  if (newIntDigits <= 0) {
    out = "0";
  } else {
    for (int i = 0; i < newIntDigits; ++i)
      out.push_back(DigitAt(d, i));
  }
  if (decPlaces > 0) {
    out.push_back('.');
    for (int i = 0; i < decPlaces; ++i)
      out.push_back(DigitAt(d, newIntDigits + i));
  }
  const bool zero = out.find_first_of("123456789") == std::string::npos;
  if (value < 0 && !zero) out.insert(out.begin(), '-');
  return QString::fromStdString(out);
}

QString FormatScientific(double value) {
  Decimal d = ToDecimal(std::fabs(value));
  const bool zero = d.digits.find_first_not_of('0') == std::string::npos;
  if (zero) d = {"00", 0};
  RoundDigits(d, 2);
  const int exp = zero ? 0 : d.exp;
  std::string out;
  out.push_back(value < 0 && !zero ? '-' : ' ');
  out.push_back(DigitAt(d, 0));
  out.push_back('.');
  out.push_back(DigitAt(d, 1));
  out.push_back('E');
  out.push_back(exp < 0 ? '-' : '+');
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d", std::abs(exp));
  out += buf;
  return QString::fromStdString(out);
}

} // namespace

TProgBar::TProgBar(QWidget *parent)
    : WindowlessControl(parent), m_backGround(10, 10, QImage::Format_RGB32) {
  m_backGround.fill(Qt::white);
  for (int i = 0; i < ColorTableSize; ++i)
    m_colorTable[static_cast<std::size_t>(i)] =
        MixColor(framework::clBlue, framework::clRed, i / static_cast<double>(ColorTableSize - 1));
  SetOpaque(true);
  SetBounds(Left(), Top(), 300, 28);
}

TProgBar::~TProgBar() = default;

TColor TProgBar::MixColor(TColor c1, TColor c2, double t) {
  if (std::isnan(t)) t = 0.0;
  t = std::clamp(t, 0.0, 1.0);
  TColor result = 0;
  for (const int shift : {16, 8, 0}) {
    const double a = static_cast<double>((c1 >> shift) & 0xFF);
    const double b = static_cast<double>((c2 >> shift) & 0xFF);
    const auto mixed = static_cast<TColor>(std::trunc(a + (b - a) * t));
    result |= (mixed & 0xFF) << shift;
  }
  return result;
}

QString TProgBar::FormatValue(double value, int decPlaces) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  decPlaces = std::clamp(decPlaces, -2, 10);
  if (decPlaces >= 0) return FormatFixed(value, decPlaces);
  QString text = FormatScientific(value);
  if (decPlaces == -1) {
    // Drop the exponent's two leading digits; when they are not zeros the number does not fit.
    const bool fits = text.mid(text.size() - 4, 2) == QLatin1String("00");
    text.remove(text.size() - 4, 2);
    if (!fits) text.fill(QLatin1Char('*'));
  }
  return text;
}

long long TProgBar::BarExtent(int span, double value, double min, double max) {
  const double ratio = value / (max - min);
  const double extent = RoundEven(static_cast<double>(span) * ratio);
  if (!std::isfinite(extent)) return 0;
  return static_cast<long long>(
      std::clamp(extent, static_cast<double>(-CoordLimit), static_cast<double>(CoordLimit)));
}

bool TProgBar::Assign(const QObject *source) {
  const auto *other = qobject_cast<const TProgBar *>(source);
  if (other == nullptr) return false;
  if (other == this) return true;
  m_frameStyleOuter = other->m_frameStyleOuter;
  m_frameStyleInner = other->m_frameStyleInner;
  m_value = other->m_value;
  m_min = other->m_min;
  m_max = other->m_max;
  m_direction = other->m_direction;
  m_colorTable = other->m_colorTable;
  m_frameColorDark = other->m_frameColorDark;
  m_frameColorShadow = other->m_frameColorShadow;
  m_frameColorLight = other->m_frameColorLight;
  m_colorScheme = other->m_colorScheme;
  m_colorMargin = other->m_colorMargin;
  m_colorBackGnd = other->m_colorBackGnd;
  m_showColorGradient = other->m_showColorGradient;
  m_colorGrid = other->m_colorGrid;
  m_gridDist = other->m_gridDist;
  m_colorMapMode = other->m_colorMapMode;
  m_marginBottom = other->m_marginBottom;
  m_marginLeft = other->m_marginLeft;
  m_marginRight = other->m_marginRight;
  m_marginTop = other->m_marginTop;
  m_backGroundImg = other->m_backGroundImg;
  // A deep copy: each gauge keeps a picture of its own.
  m_backGround = other->m_backGround.copy();
  m_textAlignment = other->m_textAlignment;
  m_textAngle = other->m_textAngle;
  m_textDecPlaces = other->m_textDecPlaces;
  m_textPosX = other->m_textPosX;
  m_textPosY = other->m_textPosY;
  m_textVisible = other->m_textVisible;
  m_onShowValue = other->m_onShowValue;
  Repaint();
  return true;
}

bool TProgBar::AssignTo(QObject *dest) const {
  auto *other = qobject_cast<TProgBar *>(dest);
  return other != nullptr && other->Assign(this);
}

void TProgBar::SetBackGroundImg(const QString &value) {
  if (value.isEmpty()) {
    m_backGroundImg.clear();
  } else {
    // The name is taken as it is (no guessed suffixes) and only bitmap contents load.
    if (std::optional<QImage> picture =
            framework::LoadPicture(value, framework::PictureFormat::Bmp)) {
      m_backGround = std::move(*picture);
      m_backGroundImg = value;
    }
  }
  Repaint();
}

template <typename T> void TProgBar::SetChecked(T &member, T value) {
  if (member == value) return;
  member = value;
  Repaint();
}

void TProgBar::SetColorBackGnd(TColor value) {
  SetChecked(m_colorBackGnd, value);
}
void TProgBar::SetColorMapMode(TColorMapping value) {
  SetChecked(m_colorMapMode, value);
}
void TProgBar::SetColorGrid(TColor value) {
  SetChecked(m_colorGrid, value);
}
void TProgBar::SetColorMargin(TColor value) {
  SetChecked(m_colorMargin, value);
}
void TProgBar::SetFrameStyleOuter(TFrameStyle value) {
  SetChecked(m_frameStyleOuter, value);
}
void TProgBar::SetFrameStyleInner(TFrameStyle value) {
  SetChecked(m_frameStyleInner, value);
}
void TProgBar::SetGridDist(int value) {
  SetChecked(m_gridDist, value);
}
void TProgBar::SetMarginBottom(int value) {
  SetChecked(m_marginBottom, value);
}
void TProgBar::SetMarginLeft(int value) {
  SetChecked(m_marginLeft, value);
}
void TProgBar::SetMarginRight(int value) {
  SetChecked(m_marginRight, value);
}
void TProgBar::SetMarginTop(int value) {
  SetChecked(m_marginTop, value);
}
void TProgBar::SetMax(double value) {
  SetChecked(m_max, value);
}
void TProgBar::SetMin(double value) {
  SetChecked(m_min, value);
}
void TProgBar::SetDirection(TProgBarDirection value) {
  SetChecked(m_direction, value);
}
void TProgBar::SetShowColorGradient(bool value) {
  SetChecked(m_showColorGradient, value);
}
void TProgBar::SetTextAlignment(TAlignment value) {
  SetChecked(m_textAlignment, value);
}
void TProgBar::SetValue(double value) {
  SetChecked(m_value, value);
}

void TProgBar::SetColorScheme(TColorScheme value) {
  if (value == m_colorScheme) return;
  m_colorScheme = value;
  if (value == TColorScheme::csBWG) {
    m_frameColorShadow = framework::clGray;
    m_frameColorLight = framework::clWhite;
  } else {
    m_frameColorShadow = framework::clBtnShadow;
    m_frameColorLight = framework::clBtnHighlight;
  }
  Repaint();
}

void TProgBar::SetColorMin(TColor value) {
  m_colorTable.front() = value;
  RecomputeColorTable();
  Repaint();
}

void TProgBar::SetColorMax(TColor value) {
  m_colorTable.back() = value;
  RecomputeColorTable();
  Repaint();
}

void TProgBar::RecomputeColorTable() {
  const TColor first = m_colorTable.front();
  const TColor last = m_colorTable.back();
  for (int i = 1; i < ColorTableSize - 1; ++i)
    m_colorTable[static_cast<std::size_t>(i)] =
        MixColor(first, last, i / static_cast<double>(ColorTableSize - 1));
}

void TProgBar::SetTextVisible(bool value) {
  m_textVisible = value;
  Repaint();
}

void TProgBar::SetTextPosX(int value) {
  m_textPosX = std::clamp(value, 0, std::max(Width(), 0));
  Repaint();
}

void TProgBar::SetTextPosY(int value) {
  m_textPosY = std::clamp(value, 0, std::max(Height(), 0));
  Repaint();
}

void TProgBar::SetTextDecPlaces(int value) {
  m_textDecPlaces = std::clamp(value, -2, 10);
  Repaint();
}

void TProgBar::SetTextAngle(int value) {
  m_textAngle = std::clamp(value, 0, 360);
  Repaint();
}

void TProgBar::Render(Canvas &canvas) {
  const long long w = Width();
  const long long h = Height();
  const long long ml = m_marginLeft;
  const long long mt = m_marginTop;
  const long long mr = m_marginRight;
  const long long mb = m_marginBottom;

  canvas.SetBrushColor(m_colorMargin);
  canvas.FillRect({0, 0, Coord(w), Coord(h)});
  const TRect inner{Coord(ml), Coord(mt), Coord(w - mr), Coord(h - mb)};
  canvas.SetBrushColor(m_colorBackGnd);
  canvas.FillRect(inner);
  if (!m_backGroundImg.isEmpty() && !canvas.StretchDraw(inner, m_backGround))
    canvas.FillRect(inner);

  // The bar is measured and shaded in the image's own pixels: on a screen of a larger ratio it
  // ends and its colours step as finely as the screen shows.
  const long long r = canvas.Ratio();
  Canvas pixels(canvas.Image(), 1);
  const long long ratioW = w * r;
  const long long ratioH = h * r;
  const bool vertical =
      m_direction == TProgBarDirection::pbdUpward || m_direction == TProgBarDirection::pbdDownward;
  const long long span = vertical ? (h - mt - mb) * r : (w - ml - mr) * r;
  // Max equal to Min has no scale: the ratio is not a number and no bar is drawn.
  const long long extent = BarExtent(Coord(span), m_value, m_min, m_max);

  TRect bar;
  const long long left = ml * r;
  const long long top = mt * r;
  const long long right = ratioW - mr * r;
  const long long bottom = ratioH - mb * r;
  switch (m_direction) {
  case TProgBarDirection::pbdUpward:
    bar = {Coord(left), Coord(bottom - extent), Coord(right), Coord(bottom)};
    break;
  case TProgBarDirection::pbdDownward:
    bar = {Coord(left), Coord(top), Coord(right), Coord(top + extent)};
    break;
  case TProgBarDirection::pbdLeftward:
    bar = {Coord(right - extent), Coord(top), Coord(right), Coord(bottom)};
    break;
  case TProgBarDirection::pbdRightward:
    bar = {Coord(left), Coord(top), Coord(left + extent), Coord(bottom)};
    break;
  }

  if (!m_showColorGradient) {
    pixels.SetBrushColor(m_colorTable.front());
    pixels.FillRect(bar);
  } else {
    DrawGradient(pixels, bar, span);
  }
  if (m_gridDist > 1) DrawGrid(canvas, bar, extent, static_cast<int>(r));

  DrawFrame(canvas, m_frameStyleInner, inner.Left, inner.Top, inner.Right, inner.Bottom);
  DrawFrame(canvas, m_frameStyleOuter, 0, 0, Coord(w), Coord(h));

  if (m_textVisible) DrawValueText(canvas);
}

void TProgBar::DrawGradient(Canvas &canvas, const TRect &bar, long long span) const {
  const bool vertical =
      m_direction == TProgBarDirection::pbdUpward || m_direction == TProgBarDirection::pbdDownward;
  const long long n = vertical ? static_cast<long long>(bar.Bottom) - bar.Top
                               : static_cast<long long>(bar.Right) - bar.Left;
  if (n <= 0) return;
  const double s = static_cast<double>(span);
  // Lines past the bitmap's far edge are invisible: stop there.
  long long visible = 0;
  switch (m_direction) {
  case TProgBarDirection::pbdUpward:
    visible = bar.Bottom;
    break;
  case TProgBarDirection::pbdDownward:
    visible = canvas.Height() - static_cast<long long>(bar.Top);
    break;
  case TProgBarDirection::pbdLeftward:
    visible = bar.Right;
    break;
  case TProgBarDirection::pbdRightward:
    visible = canvas.Width() - static_cast<long long>(bar.Left);
    break;
  }
  const long long count = std::min(n, visible);
  const double moveOffset = 1023.0 - RoundEven(static_cast<double>((n - 1) * 1023) / s);
  for (long long k = 0; k < count; ++k) {
    double idx = 0.0;
    switch (m_colorMapMode) {
    case TColorMapping::cgmCover:
      idx = RoundEven(static_cast<double>(k * 1023) / s);
      break;
    case TColorMapping::cgmStretch:
      idx = RoundEven(static_cast<double>(k * 1023) / static_cast<double>(n));
      break;
    case TColorMapping::cgmMove:
      idx = RoundEven(static_cast<double>(k * 1023) / s) + moveOffset;
      break;
    }
    canvas.SetPenColor(m_colorTable[static_cast<std::size_t>(TableIndex(idx))]);
    const int step = static_cast<int>(k);
    switch (m_direction) {
    case TProgBarDirection::pbdUpward:
      canvas.MoveTo(bar.Left, bar.Bottom - 1 - step);
      canvas.LineTo(bar.Right, bar.Bottom - 1 - step);
      break;
    case TProgBarDirection::pbdDownward:
      canvas.MoveTo(bar.Left, bar.Top + step);
      canvas.LineTo(bar.Right, bar.Top + step);
      break;
    case TProgBarDirection::pbdLeftward:
      canvas.MoveTo(bar.Right - 1 - step, bar.Top);
      canvas.LineTo(bar.Right - 1 - step, bar.Bottom);
      break;
    case TProgBarDirection::pbdRightward:
      canvas.MoveTo(bar.Left + step, bar.Top);
      canvas.LineTo(bar.Left + step, bar.Bottom);
      break;
    }
  }
}

void TProgBar::DrawGrid(Canvas &canvas, const TRect &bar, long long extent, int ratio) const {
  const long long g = m_gridDist;
  const long long r = ratio;
  const long long w = Width();
  const long long h = Height();
  const int left = Coord(m_marginLeft);
  const int top = Coord(m_marginTop);
  const int right = Coord(w - m_marginRight);
  const int bottom = Coord(h - m_marginBottom);
  canvas.SetPenColor(m_colorGrid);
  auto row = [&](long long y) {
    canvas.MoveTo(left, Coord(y));
    canvas.LineTo(right, Coord(y));
  };
  auto column = [&](long long x) {
    canvas.MoveTo(Coord(x), top);
    canvas.LineTo(Coord(x), bottom);
  };
  // Each loop skips the steps that lie outside the bitmap, so a huge bar costs nothing extra.
  switch (m_direction) {
  case TProgBarDirection::pbdUpward: {
    long long y = h - m_marginBottom - 1;
    if (y >= h) y -= ((y - h) / g + 1) * g;
    for (; y * r >= bar.Top && y >= 0; y -= g)
      row(y);
    break;
  }
  case TProgBarDirection::pbdDownward: {
    const long long last = m_marginTop * r + extent;
    long long y = m_marginTop;
    if (y < 0) y += ((-y - 1) / g + 1) * g;
    for (; y * r <= last && y < h; y += g)
      row(y);
    break;
  }
  case TProgBarDirection::pbdLeftward: {
    long long x = w - m_marginRight;
    if (x >= w) x -= ((x - w) / g + 1) * g;
    for (; x * r >= bar.Left && x >= 0; x -= g)
      column(x);
    break;
  }
  case TProgBarDirection::pbdRightward: {
    const long long last = m_marginLeft * r + extent;
    long long x = m_marginLeft;
    if (x < 0) x += ((-x - 1) / g + 1) * g;
    for (; x * r <= last && x < w; x += g)
      column(x);
    break;
  }
  }
}

void TProgBar::DrawFrame(Canvas &canvas, TFrameStyle style, int l, int t, int r, int b) const {
  auto polyline = [&canvas](TColor color, std::initializer_list<QPoint> points) {
    canvas.SetPenColor(color);
    canvas.Polyline(std::span<const QPoint>(points.begin(), points.size()));
  };
  auto outline = [&canvas](TColor color, const TRect &rect) {
    canvas.SetPenColor(color);
    canvas.FrameRect(rect);
  };
  auto corners = [&] {
    canvas.SetPixel(l, b - 1, m_colorMargin);
    canvas.SetPixel(r - 1, t, m_colorMargin);
  };
  auto bevel = [&](TColor first, TColor second) {
    polyline(first, {{l + 1, b - 3}, {l + 1, t + 1}, {r - 1, t + 1}});
    polyline(second, {{l + 1, b - 1}, {r - 1, b - 1}, {r - 1, t}});
    outline(m_frameColorShadow, {l, t, r - 1, b - 1});
    corners();
  };
  switch (style) {
  case TFrameStyle::fsNone:
    break;
  case TFrameStyle::fsSimple:
    outline(m_frameColorShadow, {l, t, r, b});
    break;
  case TFrameStyle::fsEmbossed:
    outline(m_frameColorShadow, {l + 1, t + 1, r, b});
    outline(m_frameColorLight, {l, t, r - 1, b - 1});
    corners();
    break;
  case TFrameStyle::fsEngraved:
    outline(m_frameColorLight, {l + 1, t + 1, r, b});
    outline(m_frameColorShadow, {l, t, r - 1, b - 1});
    corners();
    break;
  case TFrameStyle::fsRaised:
    bevel(m_frameColorLight, m_frameColorDark);
    break;
  case TFrameStyle::fsLowered:
    bevel(m_frameColorDark, m_frameColorLight);
    break;
  }
}

void TProgBar::DrawValueText(Canvas &canvas) {
  canvas.SetFont(framework::MakeFont(Font()));
  canvas.SetFontColor(Font().Color);
  canvas.SetFontAngle(m_textAngle * 10);
  QString text = FormatValue(m_value, m_textDecPlaces);
  if (m_onShowValue) m_onShowValue(this, text);
  const QSize extent = canvas.TextExtent(text);
  const int hw = extent.width() / 2;
  const int hh = extent.height() / 2;
  const double theta = m_textAngle * std::numbers::pi / 180.0;
  const double sn = std::sin(theta);
  const double cs = std::cos(theta);
  double dx = 0.0;
  double dy = 0.0;
  switch (m_textAlignment) {
  case TAlignment::taLeftJustify:
    dx = -hh * sn;
    dy = -hh * cs;
    break;
  case TAlignment::taCenter:
    dx = -hw * cs - hh * sn;
    dy = hw * sn - hh * cs;
    break;
  case TAlignment::taRightJustify:
    dx = -2 * hw * cs - hh * sn;
    dy = 2 * hw * sn - hh * cs;
    break;
  }
  canvas.TextOut(m_textPosX + static_cast<int>(RoundEven(dx)),
                 m_textPosY + static_cast<int>(RoundEven(dy)), text);
}

} // namespace widgets
