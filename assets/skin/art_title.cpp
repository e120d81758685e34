// Title bar pictures and the title buttons that sit on them.
#include "SkinArt.h"

#include <cmath>
#include <vector>

namespace art {

namespace {

QColor hex(unsigned v) {
  return QColor::fromRgb(QRgb(0xFF000000u | v));
}

struct Stop {
  int y;
  unsigned rgb;
};

QColor between(QColor a, QColor b, qreal t) {
  return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                          a.greenF() + (b.greenF() - a.greenF()) * t,
                          a.blueF() + (b.blueF() - a.blueF()) * t);
}

QColor interpolate(const std::vector<Stop> &stops, int y) {
  for (std::size_t i = 1; i < stops.size(); ++i)
    if (y <= stops[i].y) {
      const Stop &a = stops[i - 1], &b = stops[i];
      const qreal t = b.y == a.y ? 1 : qreal(y - a.y) / (b.y - a.y);
      return between(hex(a.rgb), hex(b.rgb), t).toRgb();
    }
  return hex(stops.back().rgb);
}

// The colour of one row of the stretched middle picture.
QColor titleRow(Style s, int y) {
  switch (s) {
  case MacOS: {
    // Light metal with fine pinstripes and a dark rule below.
    if (y == 0) return hex(0xFBFBFB);
    if (y == 22) return hex(0x8E8E8E);
    const QColor c = interpolate({{1, 0xEDEDED}, {21, 0xCBCBCB}}, y);
    return y % 2 ? c : c.darker(103);
  }
  case WinXP:
    return interpolate({{0, 0x4A96FA},
                        {1, 0x3580F3},
                        {3, 0x1D66E6},
                        {8, 0x0A56DC},
                        {15, 0x0451D6},
                        {22, 0x0454DA},
                        {26, 0x064AC6},
                        {28, 0x0233A3}},
                       y);
  case DeepBlue:
    return interpolate({{0, 0x6A82C4},
                        {1, 0x40579A},
                        {6, 0x2C4182},
                        {15, 0x1C2D64},
                        {16, 0x142250},
                        {27, 0x1A2C60},
                        {30, 0x22387A},
                        {31, 0x0A1332}},
                       y);
  case Protein:
    return y == 0 ? hex(0x0C0C0C) : y == 1 ? hex(0x9092B9) : hex(0x212575);
  case BlueGlass:
    return interpolate({{0, 0xDDEBFA},
                        {1, 0x8DB5E6},
                        {4, 0x739FD9},
                        {15, 0x4F80C2},
                        {16, 0x2B5A9F},
                        {26, 0x2A5AA0},
                        {31, 0x4C84C8},
                        {32, 0x1B355F}},
                       y);
  }
  return Qt::black;
}

QImage titleBand(Style s, int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    const QRgb c = titleRow(s, y).rgb();
    for (int x = 0; x < w; ++x)
      image.setPixel(x, y, c);
  }
  return image;
}

// Protein's left picture: speed stripes leaning right, lighter than the body, each with a dark
// trailing edge; the caption's end of the picture stays calm.
void proteinStripes(QImage &image) {
  constexpr struct {
    int x, w;
  } Stripes[] = {{236, 22}, {268, 16}, {293, 12}, {312, 9}, {327, 6}, {339, 4}, {349, 2}};
  const QRgb Light = 0xFF262B8D, Dark = 0xFF1A1D5D, Mid = 0xFF23287F;
  for (int y = 2; y < image.height(); ++y) {
    const int lean = image.height() - 1 - y;
    for (const auto &s : Stripes) {
      const int x0 = s.x + lean;
      for (int x = x0; x < x0 + s.w && x < image.width(); ++x)
        image.setPixel(x, y, x == x0 ? Mid : Light);
      if (x0 + s.w < image.width()) image.setPixel(x0 + s.w, y, Dark);
    }
  }
}

// A faint sheen across a title picture, fading out toward `fadeTo`.
void sheen(QImage &image, int from, int to, int alpha, int top, int bottom) {
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(from, 0, to, 0);
  g.setColorAt(0, QColor(255, 255, 255, 0));
  g.setColorAt(0.5, QColor(255, 255, 255, alpha));
  g.setColorAt(1, QColor(255, 255, 255, 0));
  QPainterPath band;
  band.moveTo(from + 14, top);
  band.lineTo(to, top);
  band.lineTo(to - 14, bottom);
  band.lineTo(from, bottom);
  band.closeSubpath();
  p.fillPath(band, g);
}

// An edge of light on the outer column and a rounded top corner (toward the left or right).
void outerEdge(QImage &image, bool left, QColor light, QColor corner, int radius) {
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const int w = image.width(), h = image.height();
  const int x = left ? 0 : w - 1;
  QLinearGradient g(0, 0, 0, h);
  g.setColorAt(0, light);
  g.setColorAt(1, QColor(light.red(), light.green(), light.blue(), 0));
  p.fillRect(QRect(x, 1, 1, h - 2), g);
  if (radius > 0) {
    QPainterPath outside;
    const QRectF box = left ? QRectF(0, 0, radius * 2, radius * 2)
                            : QRectF(w - radius * 2, 0, radius * 2, radius * 2);
    outside.addRect(left ? QRectF(0, 0, radius, radius) : QRectF(w - radius, 0, radius, radius));
    QPainterPath arc;
    arc.addEllipse(box);
    p.fillPath(outside.subtracted(arc), corner);
  }
}

} // namespace

QImage titlePicture(Style s, int which, int w, int h) {
  QImage image = titleBand(s, w, h);
  switch (s) {
  case MacOS:
    if (which != 1)
      outerEdge(image, which == 0, which == 0 ? hex(0xFFFFFF) : hex(0xA0A0A0), hex(0x7F7F7F), 4);
    break;
  case WinXP:
    if (which != 1)
      outerEdge(image, which == 0, which == 0 ? hex(0x7DB6FF) : hex(0x0A3EB0), hex(0x002CC8), 7);
    break;
  case DeepBlue:
    if (which == 0) {
      sheen(image, 40, 96, 38, 1, 15);
      sheen(image, 64, 96, 22, 1, 15);
    } else if (which == 2) {
      sheen(image, 0, 34, 22, 1, 15);
    }
    break;
  case Protein:
    if (which != 1)
      for (int x = 0; x < w; ++x)
        image.setPixel(x, 0, 0xFF0D0D0D);
    if (which == 0) proteinStripes(image);
    break;
  case BlueGlass:
    if (which == 0) {
      sheen(image, 96, 150, 46, 1, 16);
      sheen(image, 120, 161, 30, 1, 16);
      outerEdge(image, true, hex(0xC8DDF5), hex(0x000000), 10);
    } else if (which == 2) {
      outerEdge(image, false, hex(0x9CC0EA), hex(0x000000), 10);
    }
    break;
  }
  return image;
}

namespace {

constexpr Glyph Order[] = {Glyph::ControlBox, Glyph::Help,     Glyph::Maximize,
                           Glyph::Restore,    Glyph::Minimize, Glyph::Close};

// Where the buttons sit in the title picture (their top offset in the picture's rows).
int buttonRow(Style s) {
  constexpr int Rows[] = {4, 5, 2, 2, 6};
  return Rows[s];
}

// The sphere colour of each light-style button: graphite, blue, green, green, amber, red.
Ramp sphere(Glyph g, int state) {
  static const Ramp Base[] = {
      {hex(0xDDE1E7), hex(0x8D96A3), hex(0xB9C0CB)}, {hex(0xC5E0FA), hex(0x3B7BD0), hex(0x8EC0F2)},
      {hex(0xD2F0BE), hex(0x4AA536), hex(0xA2DA86)}, {hex(0xD2F0BE), hex(0x4AA536), hex(0xA2DA86)},
      {hex(0xFFF0C2), hex(0xD99E16), hex(0xF7D56E)}, {hex(0xFFC8BC), hex(0xD2412B), hex(0xF49A84)}};
  Ramp r = Base[static_cast<int>(g)];
  for (QColor &c : r)
    c = state == 1 ? c.lighter(112) : state == 2 ? c.darker(125) : c;
  return r;
}

void macButton(QPainter &p, Glyph g, int state, int size) {
  const qreal d = size - 4;
  const QRectF ball(2, 2, d, d);
  const Ramp r = sphere(g, state);
  QPainterPath shape;
  shape.addEllipse(ball);
  QRadialGradient body(ball.center() + QPointF(0, d * 0.25), d * 0.62);
  body.setColorAt(0, r[2]);
  body.setColorAt(0.7, r[1]);
  body.setColorAt(1, r[1].darker(115));
  p.fillPath(shape, body);
  // The glass highlight: a white lens over the top.
  QLinearGradient hl(0, ball.top(), 0, ball.top() + d * 0.5);
  hl.setColorAt(0, QColor(255, 255, 255, 235));
  hl.setColorAt(1, QColor(255, 255, 255, 20));
  p.setBrush(hl);
  p.drawEllipse(QRectF(ball.left() + d * 0.18, ball.top() + 0.6, d * 0.64, d * 0.46));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(r[1].darker(150), 1));
  p.drawEllipse(ball.adjusted(0.5, 0.5, -0.5, -0.5));
  p.setPen(Qt::NoPen);
  const int n = 7, t = 1, h = glyphHeight(n, t);
  const int o = state == 2 ? 1 : 0;
  const QColor ink = state == 0 ? QColor(30, 30, 30, 150) : QColor(20, 20, 20, 230);
  glyph(p, g, (size - n) / 2 + o, (size - h) / 2 + o, n, t, ink);
}

// Square buttons: WinXP's rounded blue tiles in a white rim, DeepBlue's navy plates.
void tileButton(QPainter &p, Style s, Glyph g, int state, int size) {
  const bool close = g == Glyph::Close;
  Ramp fill;
  QColor rim;
  if (s == WinXP) {
    fill = close ? Ramp{hex(0xF0A08A), hex(0xD9583A), hex(0xC23C17)}
                 : Ramp{hex(0x7DADFB), hex(0x2F6DEA), hex(0x1C52D0)};
    rim = QColor(255, 255, 255, 235);
  } else {
    fill = close && state > 0 ? Ramp{hex(0xD7766C), hex(0xA8332A), hex(0x7C1C16)}
                              : Ramp{hex(0x5C73B4), hex(0x34498A), hex(0x1F2F66)};
    rim = state == 1 ? hex(0xDDE4F8) : hex(0x8EA2D8);
  }
  for (QColor &c : fill)
    c = state == 1 ? c.lighter(118) : state == 2 ? c.darker(135) : c;
  const int inset = s == WinXP ? 1 : 1;
  const QRect r(inset, inset, size - 2 * inset, size - 2 * inset);
  face(p, r, s == WinXP ? 3 : 2, fill, rim, false);
  if (state != 2) {
    // Light from above on the upper rim.
    p.fillRect(QRectF(r.left() + 3, r.top() + 1, r.width() - 6, 1), QColor(255, 255, 255, 90));
  }
  const int n = 9, t = 2, h = glyphHeight(n, t);
  const int o = state == 2 ? 1 : 0;
  glyph(p, g, (size - n) / 2 + o, (size - h) / 2 + o, n, t, Qt::white);
}

// Protein: lavender glyphs on its key colour; touched and pressed add a frame.
QImage proteinButton(Glyph g, int state, int size) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(hex(0xF504FA));
  QPainter p(&image);
  const QColor light = hex(0xDCDEF4);
  if (state != 0) {
    p.fillRect(2, 2, size - 4, size - 4, state == 2 ? hex(0x141752) : hex(0x343998));
    p.setPen(light);
    p.drawRect(1, 1, size - 3, size - 3);
  }
  const int n = 9, t = 2, o = state == 2 ? 1 : 0;
  glyph(p, g, (size - n) / 2 + o, (size - n) / 2 + o, n, t, light);
  return image;
}

// BlueGlass: rounded glass drops on magenta.
void glassButton(QPainter &p, Glyph g, int state, int size) {
  const bool close = g == Glyph::Close;
  Ramp fill = close ? Ramp{hex(0xF7B5AE), hex(0xC9392E), hex(0xE77B6F)}
                    : Ramp{hex(0xB9D6F5), hex(0x3D6FB6), hex(0x79A8E0)};
  for (QColor &c : fill)
    c = state == 1 ? c.lighter(115) : state == 2 ? c.darker(130) : c;
  const QRect r(1, 1, size - 2, size - 2);
  face(p, r, 5, fill, close ? hex(0x6E1A14) : hex(0x1C3C6E), true);
  const int n = 9, t = 2, h = glyphHeight(n, t);
  const int o = state == 2 ? 1 : 0;
  glyph(p, g, (size - n) / 2 + o, (size - h) / 2 + o + 1, n, t, QColor(20, 35, 70, 120));
  glyph(p, g, (size - n) / 2 + o, (size - h) / 2 + o, n, t, Qt::white);
}

} // namespace

QImage titleButtons(Style s, int w, int h) {
  const int pw = w / 18;
  QImage strip(w, h, QImage::Format_RGB32);
  int index = 0;
  for (Glyph g : Order)
    for (int state = 0; state < 3; ++state, ++index) {
      if (s == Protein) {
        put(strip, proteinButton(g, state, pw), index);
        continue;
      }
      QImage part = layer(pw, h);
      {
        QPainter p(&part);
        prepare(p);
        if (s == MacOS)
          macButton(p, g, state, pw);
        else if (s == BlueGlass)
          glassButton(p, g, state, pw);
        else
          tileButton(p, s, g, state, pw);
      }
      if (s == BlueGlass) {
        put(strip, flatten(part, titleRow(s, buttonRow(s) + h / 2), Magenta), index);
        continue;
      }
      // Opaque buttons carry the rows of the title picture they sit on.
      QImage under(pw, h, QImage::Format_RGB32);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < pw; ++x)
          under.setPixel(x, y, titleRow(s, buttonRow(s) + y).rgb());
      QPainter p(&under);
      p.drawImage(0, 0, part);
      p.end();
      put(strip, under, index);
    }
  return strip;
}

} // namespace art
