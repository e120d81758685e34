#include "SkinArt.h"

namespace art {

namespace {

QColor rgb(unsigned v) {
  return QColor::fromRgb(QRgb(0xFF000000u | v));
}

const std::array<Look, 5> Looks{{
    // MacOS: light and glossy, blue when touched.
    {rgb(0xE7E7E7), rgb(0x7F7F7F), rgb(0x3A3A3A), rgb(0xFFFFFF),
     Ramp{rgb(0xFDFDFD), rgb(0xE6E6E6), rgb(0xF6F6F6)},
     Ramp{rgb(0xDDEEFF), rgb(0x9DCBF5), rgb(0xCDE6FF)},
     Ramp{rgb(0x8DBFF0), rgb(0x3F84D4), rgb(0x79B4EC)}, rgb(0x2F6FCB), true, true, 11},
    // WinXP: cream faces in a dark blue outline, orange when touched.
    {rgb(0xEFEBDE), rgb(0x003C74), rgb(0x1C3F94), rgb(0xFFFFFF),
     Ramp{rgb(0xFFFFFF), rgb(0xF3F2EC), rgb(0xE0DFD5)},
     Ramp{rgb(0xFFFFFF), rgb(0xF6F5EF), rgb(0xE8E6DA)},
     Ramp{rgb(0xD9D8CF), rgb(0xE6E5DD), rgb(0xF2F1EB)}, rgb(0x21A121), false, false, 3},
    // DeepBlue: steel blue faces in a navy outline.
    {rgb(0xE8E8E8), rgb(0x1E2D5C), rgb(0x1E2D5C), rgb(0xFFFFFF),
     Ramp{rgb(0xF0F4FC), rgb(0xD2DCF1), rgb(0xB9C8E8)},
     Ramp{rgb(0xFFFFFF), rgb(0xE3ECFF), rgb(0xBCD2FF)},
     Ramp{rgb(0x8FA3D3), rgb(0xA9BBE2), rgb(0xC6D3EE)}, rgb(0x2A4496), false, false, 3},
    // Protein: lavender faces in the dark blue of its title bar.
    {rgb(0xFBFBFB), rgb(0x212575), rgb(0x212575), rgb(0xFFFFFF),
     Ramp{rgb(0xF8F8FD), rgb(0xE4E5F3), rgb(0xD0D2EA)},
     Ramp{rgb(0xFFFFFF), rgb(0xEEEFFD), rgb(0xD6D9F8)},
     Ramp{rgb(0xA9ADD8), rgb(0xC3C6E6), rgb(0xDDDFF2)}, rgb(0x3A3FA8), false, false, 3},
    // BlueGlass: pale glass with a bright upper half.
    {rgb(0xE7E7E7), rgb(0x4E6F96), rgb(0x23456D), rgb(0xF4F9FE),
     Ramp{rgb(0xF2F8FF), rgb(0xCFE3F7), rgb(0xE4F1FD)},
     Ramp{rgb(0xE4F3FF), rgb(0xA3D0F7), rgb(0xC8E6FF)},
     Ramp{rgb(0x98C1EA), rgb(0x5A96D2), rgb(0x83B5E6)}, rgb(0x2F78C4), true, true, 6},
}};

// Two-pixel-thick question mark, 6 x 9, and a one-pixel one, 5 x 7.
constexpr const char *HelpBold[] = {".####.", "##..##", "....##", "...##.", "..##..",
                                    "..##..", "......", "..##..", "..##.."};
constexpr const char *HelpThin[] = {".###.", "#...#", "....#", "..##.", "..#..", ".....", "..#.."};

} // namespace

const Look &look(Style s) {
  return Looks[s];
}

QImage layer(int w, int h) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void prepare(QPainter &p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
}

QImage flatten(const QImage &painted, QColor under, std::optional<QRgb> key) {
  const QImage src = painted.convertToFormat(QImage::Format_ARGB32);
  QImage out(src.size(), QImage::Format_RGB32);
  const QRgb u = under.rgb();
  for (int y = 0; y < src.height(); ++y)
    for (int x = 0; x < src.width(); ++x) {
      const QRgb c = src.pixel(x, y);
      const int a = qAlpha(c);
      if (a == 0) {
        out.setPixel(x, y, key ? *key : u);
        continue;
      }
      auto mix = [a](int f, int b) { return (f * a + b * (255 - a) + 127) / 255; };
      QRgb m = qRgb(mix(qRed(c), qRed(u)), mix(qGreen(c), qGreen(u)), mix(qBlue(c), qBlue(u)));
      // A drawn pixel must never read as the key.
      if (key && (m & 0xFFFFFF) == (*key & 0xFFFFFF)) m ^= 0x000100;
      out.setPixel(x, y, m);
    }
  return out;
}

QImage finish(const QImage &painted, Style s) {
  const Look &l = look(s);
  return flatten(painted, l.form, l.keyed ? std::optional<QRgb>(Magenta) : std::nullopt);
}

void put(QImage &strip, const QImage &part, int index) {
  QPainter p(&strip);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(index * part.width(), 0, part);
}

QLinearGradient ramp(qreal top, qreal bottom, const Ramp &colors) {
  QLinearGradient g(0, top, 0, bottom);
  g.setColorAt(0, colors[0]);
  g.setColorAt(0.5, colors[1]);
  g.setColorAt(1, colors[2]);
  return g;
}

QPainterPath rounded(const QRectF &r, qreal radius) {
  QPainterPath path;
  path.addRoundedRect(r, radius, radius);
  return path;
}

void gloss(QPainter &p, const QPainterPath &shape, const QRectF &r, int strength) {
  p.save();
  p.setClipPath(shape);
  const QRectF top(r.left() + 1, r.top() + 1, r.width() - 2, r.height() * 0.48);
  QLinearGradient g(0, top.top(), 0, top.bottom());
  g.setColorAt(0, QColor(255, 255, 255, strength));
  g.setColorAt(1, QColor(255, 255, 255, strength / 4));
  const qreal rad = std::min(top.height(), top.width()) / 2;
  p.fillPath(rounded(top, rad), g);
  p.restore();
}

int glyphHeight(int n, int t) {
  return n - t + 1;
}

void glyph(QPainter &p, Glyph g, int x, int y, int n, int t, QColor c) {
  const int h = glyphHeight(n, t);
  auto box = [&](int bx, int by, int w, int bh) {
    p.fillRect(bx, by, w, t, c);
    p.fillRect(bx, by + bh - 1, w, 1, c);
    p.fillRect(bx, by, 1, bh, c);
    p.fillRect(bx + w - 1, by, 1, bh, c);
  };
  switch (g) {
  case Glyph::Close:
    for (int i = 0; i < h; ++i) {
      p.fillRect(x + i, y + i, t, 1, c);
      p.fillRect(x + n - t - i, y + i, t, 1, c);
    }
    break;
  case Glyph::Minimize:
    p.fillRect(x, y + h - t, n, t, c);
    break;
  case Glyph::Maximize:
    box(x, y, n, h);
    break;
  case Glyph::Restore:
    // The window behind shows only where the front one does not cover it.
    p.fillRect(x + 2, y, n - 2, t, c);
    p.fillRect(x + n - 1, y, 1, h - 2, c);
    p.fillRect(x + n - 2, y + h - 3, 1, 1, c);
    box(x, y + 2, n - 2, h - 2);
    break;
  case Glyph::Help: {
    const bool bold = t > 1;
    const auto *rows = bold ? HelpBold : HelpThin;
    const int gw = bold ? 6 : 5, gh = bold ? 9 : 7;
    const int ox = x + (n - gw) / 2, oy = y + (h - gh) / 2;
    for (int r = 0; r < gh; ++r)
      for (int k = 0; k < gw; ++k)
        if (rows[r][k] == '#') p.fillRect(ox + k, oy + r, 1, 1, c);
    break;
  }
  case Glyph::ControlBox:
    // A menu: three bars.
    if (t > 1) {
      for (int r : {0, (h - t) / 2, h - t})
        p.fillRect(x, y + r, n, t, c);
    } else {
      for (int r : {1, h / 2, h - 2})
        p.fillRect(x, y + r, n, 1, c);
    }
    break;
  }
}

void arrow(QPainter &p, QPointF c, int dir, int rows, QColor color) {
  // Pixel exact: k rows growing by one pixel on each side.
  const int k = std::max(2, rows);
  const int cx = static_cast<int>(c.x()), cy = static_cast<int>(c.y());
  for (int r = 0; r < k; ++r) {
    const int along = r - k / 2, across = r;
    switch (dir) {
    case 0:
      p.fillRect(cx - across, cy + along, 2 * across + 1, 1, color);
      break;
    case 2:
      p.fillRect(cx - across, cy - along, 2 * across + 1, 1, color);
      break;
    case 1:
      p.fillRect(cx - along, cy - across, 1, 2 * across + 1, color);
      break;
    default:
      p.fillRect(cx + along, cy - across, 1, 2 * across + 1, color);
      break;
    }
  }
}

} // namespace art

namespace art {

void face(QPainter &p, const QRect &r, qreal radius, const Ramp &fill, QColor border, bool glossy) {
  const QRectF box = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
  const QPainterPath shape = rounded(box, radius);
  p.fillPath(shape, ramp(r.top(), r.bottom() + 1, fill));
  if (glossy) gloss(p, shape, box, 200);
  p.setPen(QPen(border, 1));
  p.setBrush(Qt::NoBrush);
  p.drawPath(shape);
  p.setPen(Qt::NoPen);
}

} // namespace art
