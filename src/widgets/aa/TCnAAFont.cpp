#include "widgets/aa/TCnAAFont.h"

#include "widgets/aa/AAForeground.h"

#include <QFontMetrics>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace widgets::aa {

namespace {

int RoundEven(double value) {
  return static_cast<int>(std::nearbyint(value));
}

// Puts the effect's angle on the canvas font for as long as it lives, failures included.
class AngleScope {
public:
  AngleScope(framework::Canvas &canvas, int degrees)
      : m_canvas(canvas), m_saved(canvas.FontAngle()), m_active(degrees != 0) {
    if (m_active) canvas.SetFontAngle(degrees * 10);
  }
  ~AngleScope() {
    if (m_active) m_canvas.SetFontAngle(m_saved);
  }
  AngleScope(const AngleScope &) = delete;
  AngleScope &operator=(const AngleScope &) = delete;

private:
  framework::Canvas &m_canvas;
  int m_saved;
  bool m_active;
};

class BrushScope {
public:
  explicit BrushScope(bool &clear) : m_clear(clear), m_saved(clear) {}
  ~BrushScope() { m_clear = m_saved; }
  BrushScope(const BrushScope &) = delete;
  BrushScope &operator=(const BrushScope &) = delete;

private:
  bool &m_clear;
  bool m_saved;
};

} // namespace

TextMetrics TCnAAFont::Measure(const QString &text, const QFont &font) const {
  if (!m_canvas) return {};
  const int s = m_mask.Scale();
  const QFontMetrics metrics(TCnAAMask::ScaledFont(font, s));
  int cx = (metrics.horizontalAdvance(text) + s - 1) / s;
  int cy = (metrics.height() + s - 1) / s;
  if (font.italic() && !text.isEmpty())
    cx += RoundEven(static_cast<double>(cx) / static_cast<double>(text.size()) * 0.3);

  const int angle = m_canvas->FontAngle();
  // A whole turn draws unrotated; rounding the corners would only cut a column.
  if (angle % 3600 == 0) return {QSize(cx, cy), QPoint(0, 0)};
  const double theta = angle / 10.0 * std::numbers::pi / 180.0;
  const double c = std::cos(theta);
  const double sn = std::sin(theta);
  const double hx = cx / 2.0;
  const double hy = cy / 2.0;
  const std::array<std::array<double, 2>, 4> corners{{{-hx, -hy}, {hx, -hy}, {hx, hy}, {-hx, hy}}};
  std::array<QPoint, 4> turned;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const double x = corners[i][0];
    const double y = corners[i][1];
    // By -theta with y pointing down: the text turns counter-clockwise on screen.
    turned[i] = QPoint(RoundEven(x * c + y * sn), RoundEven(-x * sn + y * c));
  }
  int minX = turned[0].x(), maxX = minX, minY = turned[0].y(), maxY = minY;
  for (const QPoint &p : turned) {
    minX = std::min(minX, p.x());
    maxX = std::max(maxX, p.x());
    minY = std::min(minY, p.y());
    maxY = std::max(maxY, p.y());
  }
  const int width = maxX - minX;
  const int height = maxY - minY;
  return {QSize(width, height), QPoint(width / 2 + turned[0].x(), height / 2 + turned[0].y())};
}

QSize TCnAAFont::MeasureText(const QString &text) const {
  return m_canvas ? Measure(text, m_canvas->Font()).Size : QSize();
}

TCnAAFontEx::TCnAAFontEx(framework::Canvas *canvas)
    : TCnAAFont(canvas), m_effect(std::make_unique<TCnAAEffect>()) {}

QSize TCnAAFontEx::MeasureText(const QString &text) const {
  if (!m_canvas) return {};
  const AngleScope angle(*m_canvas, m_effect->Angle());
  QSize size = Measure(text, m_canvas->Font()).Size;
  const TCnAAShadow &shadow = m_effect->Shadow();
  if (shadow.Enabled()) size += QSize(std::abs(shadow.OffsetX()), std::abs(shadow.OffsetY()));
  return size;
}

void TCnAAFontEx::RenderText(int x, int y, const QString &text) {
  if (text.isEmpty() || !m_canvas) return;
  framework::Canvas &canvas = *m_canvas;
  const AngleScope angle(canvas, m_effect->Angle());
  const BrushScope brush(m_brushClear);
  const TCnAAEffect &effect = *m_effect;
  const TCnAAShadow &shadow = effect.Shadow();

  // Masks, offsets and blends are in the image's pixels: at ratio r the text is masked from its
  // font at r times the size, sharper than the small mask enlarged.
  const int r = canvas.Ratio();
  const QFont font = r > 1 ? TCnAAMask::ScaledFont(canvas.Font(), r) : canvas.Font();
  const int offsetX = shadow.OffsetX() * r;
  const int offsetY = shadow.OffsetY() * r;
  QPoint textAt(x * r, y * r);
  QPoint shadowAt;
  if (shadow.Enabled()) {
    // The text and its shadow share the box; a negative offset pushes the text away instead.
    shadowAt = textAt + QPoint(std::max(offsetX, 0), std::max(offsetY, 0));
    textAt += QPoint(offsetX < 0 ? -offsetX : 0, offsetY < 0 ? -offsetY : 0);
  }

  const TextMetrics metrics = Measure(text, font);
  m_mask.DrawMask(font, canvas.FontAngle(), text, metrics.Size, metrics.Start);

  if (effect.Outline()) m_mask.Outline();
  if (effect.Spray() != 0) m_mask.Spray(effect.Spray(), m_random);
  if (effect.HorzMirror()) m_mask.MirrorHorz();
  if (effect.VertMirror()) m_mask.MirrorVert();

  if (shadow.Enabled()) {
    m_shadowMask = m_mask;
    if (shadow.Blur() != 0) m_shadowMask.Blur(shadow.Blur());
    m_blend.BlendColor(canvas, m_shadowMask, shadowAt, shadow.Color(),
                       effect.Alpha() * shadow.Alpha() / 100, brushColor());
    // The text goes over the shadow, not over a second fill of the brush.
    m_brushClear = true;
  }

  if (effect.Blur() != 0) m_mask.Blur(effect.Blur());
  Fill(textAt);
}

std::optional<framework::TColor> TCnAAFont::brushColor() const {
  if (m_brushClear || !m_canvas) return std::nullopt;
  return m_canvas->BrushColor();
}

void TCnAAFontEx::Fill(QPoint at) {
  framework::Canvas &canvas = *m_canvas;
  const TCnAAEffect &effect = *m_effect;
  const QSize size(m_mask.Width(), m_mask.Height());
  if (size.isEmpty()) return;
  QImage &foreground = m_blend.Foreground();
  const framework::TColor fontColor = canvas.FontColor();
  const int noise = effect.Noise();
  if (effect.Texture().Enabled() && !effect.Texture().Picture().isNull()) {
    TextureForeground(foreground, size, fontColor, effect.Texture().Picture(),
                      effect.Texture().Mode());
    if (noise != 0) AddNoise(foreground, noise, m_random);
  } else if (effect.Gradual().Enabled()) {
    GradientForeground(foreground, size, effect.Gradual().Style(), effect.Gradual().StartColor(),
                       effect.Gradual().EndColor());
    if (noise != 0) AddNoise(foreground, noise, m_random);
  } else if (noise != 0) {
    NoiseForeground(foreground, size, fontColor, noise, m_random);
  } else {
    m_blend.BlendColor(canvas, m_mask, at, fontColor, effect.Alpha(), brushColor());
    return;
  }
  // Out of memory for the fill: better no text than a failed paint.
  if (foreground.isNull()) return;
  m_blend.BlendForeground(canvas, m_mask, at, effect.Alpha(), brushColor());
}

} // namespace widgets::aa
