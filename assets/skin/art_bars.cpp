// Bars, grooves, sliders, tabs, menus and tiles.
#include "SkinArt.h"

#include <cmath>

namespace art {

namespace {

QColor hex(unsigned v) {
  return QColor::fromRgb(QRgb(0xFF000000u | v));
}

// What the scroll bar's track shows around its thumb.
QColor trackColor(Style s) {
  constexpr unsigned Tracks[] = {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4};
  return hex(Tracks[s]);
}

QImage column(int w, int h, const QLinearGradient &g) {
  QImage image(w, h, QImage::Format_RGB32);
  QPainter p(&image);
  p.fillRect(image.rect(), g);
  return image;
}

} // namespace

QImage progress(Style s, int w, int h) {
  if (s == MacOS) {
    // A glossy barber pole; the stripes repeat every tile width.
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const bool stripe = ((x + y) % w) < w / 2;
        QColor c = stripe ? hex(0x3C86DB) : hex(0x8DBDF0);
        const qreal shade = y < h / 2 ? 1.25 - 0.05 * y : 0.95 + 0.02 * (y - h / 2);
        c = QColor::fromRgbF(std::min(1.0, c.redF() * shade), std::min(1.0, c.greenF() * shade),
                             std::min(1.0, c.blueF() * shade));
        image.setPixel(x, y, c.rgb());
      }
    return image;
  }
  if (s == WinXP) {
    // Green blocks with a one-pixel gap of the empty bar.
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(hex(0xFFFFFF));
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, hex(0xB4EEB4));
    g.setColorAt(0.45, hex(0x3ECF3E));
    g.setColorAt(1, hex(0x2BAA2B));
    p.fillRect(0, 0, w - 1, h, g);
    return image;
  }
  const Ramp r = s == DeepBlue  ? Ramp{hex(0x8FA6E0), hex(0x3B58AE), hex(0x22397E)}
                 : s == Protein ? Ramp{hex(0xB7B9E6), hex(0x4A4FB8), hex(0x262B8D)}
                                : Ramp{hex(0xCFE7FF), hex(0x5C9EE0), hex(0x8FC4F5)};
  return column(w, h, ramp(0, h, r));
}

QImage trackBar(Style s, int w, int h) {
  const Look &l = look(s);
  if (h <= 5) {
    // A thin groove, pixel exact: shadow on top, light below, key at its four corners.
    constexpr unsigned Mid[] = {0xC8C8C8, 0, 0x9AABD8, 0xA9ADD8, 0xBFD7EF};
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
      const QRgb c = y == 0                 ? l.border.lighter(s == MacOS ? 100 : 110).rgb()
                     : y == h - 1           ? qRgb(0xFF, 0xFF, 0xFF)
                     : y == 1 && s == MacOS ? qRgb(0xAE, 0xAE, 0xAE)
                                            : QRgb(0xFF000000u | Mid[s]);
      for (int x = 0; x < w; ++x)
        image.setPixel(x, y, c);
    }
    for (int x : {0, w - 1})
      for (int y : {0, h - 1})
        image.setPixel(x, y, Magenta);
    return image;
  }
  QImage part = layer(w, h);
  QPainter p(&part);
  prepare(p);
  const QRectF groove = QRectF(0, 0, w, h).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient g(0, 0, 0, h);
  g.setColorAt(0, hex(0xC9CCD1));
  g.setColorAt(1, hex(0xF4F4F0));
  const QPainterPath shape = rounded(groove, h / 2.0);
  p.fillPath(shape, g);
  p.setPen(QPen(hex(0x9D9D9A), 1));
  p.drawPath(shape);
  p.end();
  return flatten(part, l.form, Magenta);
}

QImage trackSlider(Style s, int w, int h, bool vertical) {
  const Look &l = look(s);
  // Drawn pointing down, turned for the vertical slider.
  const int bw = vertical ? h : w, bh = vertical ? w : h;
  QImage part = layer(bw, bh);
  QPainter p(&part);
  prepare(p);
  const qreal tip = bw / 2.0 + 1;
  QPainterPath shape;
  const qreal r = 2;
  shape.moveTo(0.5, bh - tip);
  shape.lineTo(0.5, 0.5 + r);
  shape.quadTo(0.5, 0.5, 0.5 + r, 0.5);
  shape.lineTo(bw - 0.5 - r, 0.5);
  shape.quadTo(bw - 0.5, 0.5, bw - 0.5, 0.5 + r);
  shape.lineTo(bw - 0.5, bh - tip);
  shape.lineTo(bw / 2.0, bh - 0.5);
  shape.closeSubpath();
  QLinearGradient g(0, 0, bw, 0);
  g.setColorAt(0, l.face[0]);
  g.setColorAt(0.5, l.face[1]);
  g.setColorAt(1, l.face[2].darker(108));
  p.fillPath(shape, g);
  if (l.glossy) gloss(p, shape, QRectF(0, 0, bw, bh), 170);
  if (s == WinXP) {
    // The XP thumb carries a green stripe along its top.
    p.fillRect(QRectF(1, 1, bw - 2, 2), hex(0x21A121));
  }
  p.setPen(QPen(s == WinXP ? hex(0x1C5180) : l.border, 1));
  p.drawPath(shape);
  p.end();
  QImage flat = flatten(part, l.form, Magenta);
  if (!vertical) return flat;
  // Point to the right: the down-pointing picture turned counter-clockwise.
  return flat.transformed(QTransform().rotate(-90));
}

QImage scrollThumb(Style s, int w, int h) {
  const Look &l = look(s);
  QImage part = layer(w, h);
  QPainter p(&part);
  prepare(p);
  const Ramp fill = s == MacOS   ? l.down
                    : s == WinXP ? Ramp{QColor(0xC6, 0xD6, 0xFC), QColor(0xB8, 0xCC, 0xF9),
                                        QColor(0xA9, 0xC0, 0xF5)}
                                 : l.face;
  const QColor border = s == MacOS   ? QColor(0x2A, 0x5A, 0x9C)
                        : s == WinXP ? QColor(0x9C, 0xB6, 0xF3)
                                     : l.border;
  face(p, QRect(0, 1, w, h - 2), s == MacOS ? (h - 2) / 2.0 : 3, fill, border, l.glossy);
  p.end();
  return flatten(part, trackColor(s), Magenta);
}

QImage tab(Style s, int w, int h) {
  const Look &l = look(s);
  QImage part = layer(w, h);
  QPainter p(&part);
  prepare(p);
  const qreal r = s == MacOS ? 6 : 3;
  // Rounded on top, open at the bottom where the page continues.
  QPainterPath shape;
  shape.moveTo(0.5, h);
  shape.lineTo(0.5, 0.5 + r);
  shape.quadTo(0.5, 0.5, 0.5 + r, 0.5);
  shape.lineTo(w - 0.5 - r, 0.5);
  shape.quadTo(w - 0.5, 0.5, w - 0.5, 0.5 + r);
  shape.lineTo(w - 0.5, h);
  p.fillPath(shape, ramp(0, h, l.face));
  if (l.glossy) gloss(p, shape, QRectF(0, 0, w, h), 190);
  if (s == WinXP) {
    // The XP tab wears an orange band on top.
    p.save();
    p.setClipPath(shape);
    p.fillRect(QRectF(0, 0, w, 3), hex(0xFFC83C));
    p.restore();
  }
  p.setPen(QPen(s == WinXP ? hex(0x919B9C) : l.border, 1));
  p.drawPath(shape);
  p.end();
  return flatten(part, l.form, Magenta);
}

QImage tabLine(Style s, int w, int h) {
  const Look &l = look(s);
  QImage image(w, h, QImage::Format_RGB32);
  QPainter p(&image);
  if (s == WinXP) {
    image.fill(hex(0x919B9C));
    return image;
  }
  // The page edge: the outline on top, then the tab colour fading into the page.
  QLinearGradient g(0, 1, 0, h);
  g.setColorAt(0, l.face[1]);
  g.setColorAt(1, l.face[0]);
  p.fillRect(0, 0, w, h, g);
  p.fillRect(0, 0, w, 1, l.border);
  if (s == MacOS) p.fillRect(0, h - 1, w, 1, hex(0xBDBDBD));
  return image;
}

QImage sideHandle(Style s, int w, int h) {
  const Look &l = look(s);
  QImage image(w, h, QImage::Format_RGB32);
  QPainter p(&image);
  QLinearGradient g(0, 0, w, 0);
  g.setColorAt(0, l.face[0]);
  g.setColorAt(0.5, l.face[1]);
  g.setColorAt(1, l.face[2]);
  p.fillRect(image.rect(), g);
  p.setPen(l.border);
  p.drawRect(0, 0, w - 1, h - 1);
  // Grip dots in the middle, an arrow that opens the channel near the top.
  for (int i = -3; i <= 3; ++i) {
    const int y = h / 2 + i * 4 - 1;
    p.fillRect(w / 2 - 1, y, 1, 1, l.border);
    p.fillRect(w / 2, y + 1, 1, 1, Qt::white);
  }
  arrow(p, QPointF(w / 2.0, 10), 1, 3, l.ink);
  return image;
}

QImage sideBar(Style s, int w, int h) {
  const Ramp r = s == MacOS      ? Ramp{hex(0xFAFAFA), hex(0xE2E2E2), hex(0xC8C8C8)}
                 : s == WinXP    ? Ramp{hex(0x5A9BF8), hex(0x1F5FDA), hex(0x0D4CC6)}
                 : s == DeepBlue ? Ramp{hex(0x4A619F), hex(0x1E2F66), hex(0x101F4E)}
                 : s == Protein  ? Ramp{hex(0x4A4FA6), hex(0x262B8D), hex(0x1A1D5D)}
                                 : Ramp{hex(0xA9C8EA), hex(0x5C8CC8), hex(0x3F74B8)};
  QImage image = column(w, h, ramp(0, h, r));
  QPainter p(&image);
  p.fillRect(0, h - 1, w, 1, look(s).border);
  return image;
}

QImage menuBar(int w, int h) {
  QLinearGradient g(0, 0, 0, h);
  g.setColorAt(0, hex(0xFFFFFF));
  g.setColorAt(1, hex(0xE4E4E4));
  QImage image = column(w, h, g);
  QPainter p(&image);
  p.fillRect(0, h - 1, w, 1, hex(0xA8A8A8));
  return image;
}

QImage menuSelect(int w, int h) {
  QLinearGradient g(0, 0, 0, h);
  g.setColorAt(0, hex(0x6497DE));
  g.setColorAt(0.5, hex(0x3973C4));
  g.setColorAt(1, hex(0x2C61AE));
  return column(w, h, g);
}

QImage formTile(Style s) {
  constexpr unsigned ProteinRows[] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xEEEEEE,
                                      0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xEEEEEE};
  constexpr unsigned MacRows[] = {0xFFFFFF, 0xEFEFEF, 0xE8E8E8, 0xEFEFEF,
                                  0xFFFFFF, 0xEFEFEF, 0xE8E8E8, 0xEFEFEF};
  const unsigned *rows = s == Protein ? ProteinRows : MacRows;
  QImage image(8, 8, QImage::Format_RGB32);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      image.setPixel(x, y, 0xFF000000u | rows[y]);
  return image;
}

QImage menuChecked() {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(Qt::white);
  // The tick, two pixels thick, rows 4 to 11; its shade falls one pixel down and right.
  constexpr struct {
    int y, x0, x1;
  } Green[] = {{4, 12, 13}, {5, 11, 12}, {6, 10, 11}, {7, 9, 10}, {8, 1, 2}, {8, 8, 9},
               {9, 2, 3},   {9, 7, 8},   {10, 3, 4},  {10, 6, 7}, {11, 4, 6}};
  constexpr QRgb G = 0xFF00CB1D, Shade = 0xFF575757;
  for (const auto &run : Green)
    for (int x = run.x0; x <= run.x1; ++x)
      image.setPixel(x, run.y, G);
  QImage shaded = image;
  for (int y = 0; y + 1 < 16; ++y)
    for (int x = 0; x + 1 < 16; ++x)
      if (image.pixel(x, y) == G && image.pixel(x + 1, y + 1) != G)
        shaded.setPixel(x + 1, y + 1, Shade);
  return shaded;
}

} // namespace art
