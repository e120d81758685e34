#include "framework/Canvas.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace framework {

namespace {

struct Shown {
  QString text;
  int underline = -1; // index into text, or none
};

Shown ApplyMnemonic(const QString &text, Mnemonic prefix) {
  if (prefix == Mnemonic::Literal) return {text};
  Shown out;
  out.text.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) {
      out.text += text[i];
      continue;
    }
    // "&&" is one "&"; a lone "&" at the end marks nothing.
    if (++i >= text.size()) break;
    if (text[i] != QLatin1Char('&') && out.underline < 0 && prefix == Mnemonic::Underline)
      out.underline = static_cast<int>(out.text.size());
    out.text += text[i];
  }
  return out;
}

} // namespace

void Canvas::ScaleToRatio(QPainter &painter) const {
  // The painter already scales by the image's own ratio, which may be fractional.
  const double claimed = m_image.devicePixelRatio();
  if (claimed != m_ratio) painter.scale(m_ratio / claimed, m_ratio / claimed);
}

void Canvas::TextOut(int x, int y, const QString &text) {
  if (text.isEmpty() || m_image.isNull()) return;
  QPainter painter(&m_image);
  if (!painter.isActive()) return;
  ScaleToRatio(painter);
  const bool antialias = m_font.styleStrategy() & QFont::PreferAntialias;
  painter.setRenderHint(QPainter::TextAntialiasing, antialias);
  painter.setRenderHint(QPainter::Antialiasing, antialias);
  painter.setFont(m_font);
  painter.setPen(ToQColor(m_fontColor));
  painter.translate(x, y);
  // Counter-clockwise on screen is a negative angle for a y-down painter.
  if (m_fontAngle % 3600 != 0) painter.rotate(-m_fontAngle / 10.0);
  painter.drawText(QPoint(0, QFontMetrics(m_font).ascent()), text);
}

QSize Canvas::TextExtent(const QString &text) const {
  const QFontMetrics metrics(m_font);
  return {metrics.horizontalAdvance(text), metrics.height()};
}

TRect Canvas::TextRect(const TRect &r, const QString &text, const TextFormat &format) {
  const QFontMetrics metrics(m_font);
  Shown shown = ApplyMnemonic(text, format.Prefix);
  if (format.EndEllipsis && metrics.horizontalAdvance(shown.text) > r.Width()) {
    const QString dots = QStringLiteral("...");
    while (!shown.text.isEmpty() && metrics.horizontalAdvance(shown.text + dots) > r.Width())
      // A character outside the basic plane goes whole.
      shown.text.chop(shown.text.back().isLowSurrogate() && shown.text.size() > 1 ? 2 : 1);
    if (shown.underline >= shown.text.size()) shown.underline = -1;
    shown.text += dots;
  }
  const int w = metrics.horizontalAdvance(shown.text);
  const int h = metrics.height();
  int x = r.Left;
  if (format.Align == TextAlign::Center)
    x = r.Left + (r.Width() - w) / 2;
  else if (format.Align == TextAlign::Right)
    x = r.Right - w;
  int y = r.Top;
  if (format.Layout == TextLayout::Center)
    y = r.Top + (r.Height() - h) / 2;
  else if (format.Layout == TextLayout::Bottom)
    y = r.Bottom - h;
  const TRect box{x, y, x + w, y + h};
  if (shown.text.isEmpty() || r.IsEmpty() || m_image.isNull()) return box;

  QPainter painter(&m_image);
  if (!painter.isActive()) return box;
  ScaleToRatio(painter);
  const bool antialias = m_font.styleStrategy() & QFont::PreferAntialias;
  painter.setRenderHint(QPainter::TextAntialiasing, antialias);
  painter.setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()));
  painter.setFont(m_font);
  painter.setPen(ToQColor(m_fontColor));
  painter.drawText(QPoint(x, y + metrics.ascent()), shown.text);
  if (shown.underline >= 0) {
    // Under the marked character only, in the text colour, as thick as the font's own underline.
    const int from = x + metrics.horizontalAdvance(shown.text.left(shown.underline));
    const int width = metrics.horizontalAdvance(shown.text.at(shown.underline));
    const int top = y + metrics.ascent() + std::max(1, metrics.underlinePos());
    painter.fillRect(QRect(from, top, width, std::max(1, metrics.lineWidth())),
                     ToQColor(m_fontColor));
  }
  return box;
}

} // namespace framework
