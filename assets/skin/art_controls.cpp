// Buttons, boxes and the small arrow buttons.
#include "SkinArt.h"

namespace art {

namespace {

QColor hex(unsigned v) {
  return QColor::fromRgb(QRgb(0xFF000000u | v));
}

// Outline of the touched and pressed states.
QColor stateBorder(Style s, int state) {
  const Look &l = look(s);
  if (state == 0) return l.border;
  switch (s) {
  case MacOS:
    return state == 1 ? hex(0x5B8CC6) : hex(0x2A5A9C);
  case BlueGlass:
    return state == 1 ? hex(0x3E7BBF) : hex(0x24507F);
  case Protein:
    return state == 1 ? hex(0x3A3FA8) : hex(0x1A1D5D);
  default:
    return l.border;
  }
}

const Ramp &stateRamp(const Look &l, int state) {
  return state == 0 ? l.face : state == 1 ? l.hover : l.down;
}

// WinXP and DeepBlue light a ring inside the outline while the mouse is over.
void hoverRing(QPainter &p, Style s, const QRect &r, int radius) {
  QLinearGradient g(0, r.top(), 0, r.bottom());
  if (s == WinXP) {
    g.setColorAt(0, hex(0xFFF0CF));
    g.setColorAt(1, hex(0xE5971F));
  } else if (s == DeepBlue) {
    g.setColorAt(0, hex(0xFFFFFF));
    g.setColorAt(1, hex(0x7E9BE0));
  } else {
    g.setColorAt(0, hex(0xFFFFFF));
    g.setColorAt(1, hex(0x9092B9));
  }
  p.setPen(QPen(QBrush(g), 2));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(r).adjusted(2, 2, -2, -2), radius - 1, radius - 1);
  p.setPen(Qt::NoPen);
}

} // namespace

QImage button(Style s, int w, int h) {
  const Look &l = look(s);
  const int pw = w / 3;
  QImage strip(w, h, QImage::Format_RGB32);
  for (int state = 0; state < 3; ++state) {
    QImage part = layer(pw, h);
    QPainter p(&part);
    prepare(p);
    const qreal radius = s == MacOS ? (h - 1) / 2.0 : l.radius;
    face(p, QRect(0, 0, pw, h), radius, stateRamp(l, state), stateBorder(s, state), l.glossy);
    if (state == 1 && !l.glossy) hoverRing(p, s, QRect(0, 0, pw, h), l.radius);
    if (state == 2 && !l.glossy) {
      // A pressed face sinks: a shadow along its top.
      p.fillRect(QRectF(radius / 2 + 1, 1, pw - radius - 2, 1), QColor(0, 0, 0, 40));
    }
    p.end();
    put(strip, finish(part, s), state);
  }
  return strip;
}

// States: unchecked, checked, unchecked disabled, checked disabled.
static void tick(QPainter &p, const QRectF &b, QColor c, qreal width) {
  QPainterPath path;
  path.moveTo(b.left() + b.width() * 0.22, b.top() + b.height() * 0.52);
  path.lineTo(b.left() + b.width() * 0.42, b.top() + b.height() * 0.74);
  path.lineTo(b.left() + b.width() * 0.80, b.top() + b.height() * 0.26);
  p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.setPen(Qt::NoPen);
}

// The flat styles' tick, pixel for pixel.
static void crispTick(QPainter &p, int x, int y, QColor c) {
  constexpr const char *Rows[] = {"......#", ".....##", "#...###", "##.###.",
                                  "#####..", ".###...", "..#...."};
  for (int r = 0; r < 7; ++r)
    for (int k = 0; k < 7; ++k)
      if (Rows[r][k] == '#') p.fillRect(x + k, y + r, 1, 1, c);
}

static QImage boxes(Style s, int w, int h, bool radio, int box) {
  const Look &l = look(s);
  const int pw = w / 4;
  QImage strip(w, h, QImage::Format_RGB32);
  const bool keyed = radio || l.keyed;
  for (int state = 0; state < 4; ++state) {
    const bool checked = state % 2 == 1, disabled = state >= 2;
    QImage part = layer(pw, h);
    QPainter p(&part);
    prepare(p);
    const QRect r((pw - box) / 2, (h - box) / 2, box, box);
    const QRectF in = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor border = disabled ? hex(0xA6A6A6) : l.border;
    QLinearGradient well(0, r.top(), 0, r.bottom());
    well.setColorAt(0,
                    disabled ? hex(0xEEEEEE) : (s == WinXP ? hex(0xDCDCD7) : l.well.darker(108)));
    well.setColorAt(1, disabled ? hex(0xF6F6F6) : l.well);
    const qreal radius = radio ? box / 2.0 : (l.keyed ? 3 : 0);
    const QPainterPath shape = rounded(in, radius);
    p.fillPath(shape, well);
    if (l.glossy && !disabled) gloss(p, shape, in, 150);
    p.setPen(QPen(border, 1));
    p.setBrush(Qt::NoBrush);
    if (radius > 0) {
      p.drawPath(shape);
    } else {
      p.setRenderHint(QPainter::Antialiasing, false);
      p.drawRect(r.adjusted(0, 0, -1, -1));
      p.setRenderHint(QPainter::Antialiasing);
    }
    p.setPen(Qt::NoPen);
    const QColor mark = disabled ? hex(0xA6A6A6) : l.accent;
    if (checked && radio) {
      const qreal d = box * 0.42;
      const QRectF dot(r.left() + (box - d) / 2, r.top() + (box - d) / 2, d, d);
      QRadialGradient g(dot.center() - QPointF(d / 5, d / 5), d * 0.75);
      g.setColorAt(0, disabled ? mark : mark.lighter(150));
      g.setColorAt(1, disabled ? mark : mark.darker(120));
      p.setBrush(g);
      p.drawEllipse(dot);
      p.setBrush(Qt::NoBrush);
    } else if (checked && l.glossy) {
      tick(p, QRectF(r), mark, box >= 13 ? 2.0 : 1.6);
    } else if (checked) {
      crispTick(p, r.left() + (box - 7) / 2, r.top() + (box - 7) / 2, mark);
    }
    p.end();
    const QImage flat = flatten(part, l.form, keyed ? std::optional<QRgb>(Magenta) : std::nullopt);
    put(strip, flat, state);
  }
  return strip;
}

QImage checkBox(Style s, int w, int h, bool radio) {
  const int pw = w / 4;
  const int box = s == MacOS ? (radio ? 14 : 13) : std::min(pw, h);
  return boxes(s, w, h, radio, box);
}

QImage checkList(Style s, int w, int h) {
  return boxes(s, w, h, false, std::min(w / 4, h));
}

QImage comboButton(Style s, int w, int h) {
  QImage part = layer(w, h);
  QPainter p(&part);
  prepare(p);
  if (s == MacOS) {
    // The pop-up button of the light style: blue glass with a white arrow.
    face(p, QRect(0, 0, w, h), 3, Ramp{hex(0x9CC8F2), hex(0x3F84D4), hex(0x79B4EC)}, hex(0x2A5A9C),
         true);
    arrow(p, QPointF(w / 2.0, h / 2.0), 2, 4, Qt::white);
  } else {
    face(p, QRect(0, 0, w, h), 2, Ramp{hex(0xDCE6FD), hex(0xC1D3FB), hex(0xAFC4F3)}, hex(0x8FA9E4),
         false);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1));
    p.drawRect(QRectF(1.5, 1.5, w - 3, h - 3));
    p.setPen(Qt::NoPen);
    arrow(p, QPointF(w / 2.0, h / 2.0), 2, 4, hex(0x4D6185));
  }
  p.end();
  return flatten(part, look(s).well, std::nullopt);
}

// Arrow buttons side by side: `dirs` gives the arrow of each part, `states` its state.
static QImage arrowStrip(const Look &l, Style s, int w, int h, std::initializer_list<int> dirs,
                         std::initializer_list<int> states, QColor under) {
  const int parts = static_cast<int>(dirs.size());
  const int pw = w / parts;
  QImage strip(w, h, QImage::Format_RGB32);
  auto dir = dirs.begin();
  auto st = states.begin();
  for (int i = 0; i < parts; ++i, ++dir, ++st) {
    QImage part = layer(pw, h);
    QPainter p(&part);
    prepare(p);
    const int state = *st;
    Ramp fill = stateRamp(l, state);
    QColor border = state == 0 ? l.border : stateBorder(s, state);
    if (s == WinXP) {
      // The blue arrow buttons of the XP look.
      fill = state == 0   ? Ramp{hex(0xE1EAFE), hex(0xC8D8FC), hex(0xB5C9F7)}
             : state == 1 ? Ramp{hex(0xEEF3FF), hex(0xD8E5FF), hex(0xC4D6FC)}
                          : Ramp{hex(0x9EB4EC), hex(0xB0C5F4), hex(0xC4D6FC)};
      border = hex(0xB4C8F6);
    }
    face(p, QRect(0, 0, pw, h), s == WinXP ? 3 : std::min(l.radius, 3), fill, border, l.glossy);
    const QColor ink = s == WinXP               ? hex(0x4D6185)
                       : l.glossy && state == 2 ? QColor(Qt::white)
                                                : l.ink;
    const int d = state == 2 ? 1 : 0;
    arrow(p, QPointF(pw / 2.0 + d, h / 2.0 + d), *dir, std::min(pw, h) / 4, ink);
    p.end();
    put(strip, flatten(part, under, std::nullopt), i);
  }
  return strip;
}

// Up in its three states, then down in its three states.
QImage scrollBarButtons(Style s, int w, int h) {
  return arrowStrip(look(s), s, w, h, {0, 0, 0, 2, 2, 2}, {0, 1, 2, 0, 1, 2}, look(s).well);
}

// Left, left pressed, right, right pressed.
QImage scrollButtons(std::optional<Style> s, int w, int h) {
  if (s) return arrowStrip(look(*s), *s, w, h, {3, 3, 1, 1}, {0, 2, 0, 2}, look(*s).form);
  // Shared by the dark blue styles: a neutral blue-grey.
  Look shared = look(DeepBlue);
  shared.face = Ramp{hex(0xF6F7FA), hex(0xE3E6EE), hex(0xD3D8E4)};
  shared.down = Ramp{hex(0xBCC3D6), hex(0xCDD3E2), hex(0xDEE2EC)};
  shared.border = hex(0x6B7894);
  shared.ink = hex(0x2B3550);
  return arrowStrip(shared, DeepBlue, w, h, {3, 3, 1, 1}, {0, 2, 0, 2}, hex(0xF0F0F0));
}

} // namespace art
