// Draws the main window's pictures: battery (three languages), logo, mouse and program icon (the
// title bar shows the Protein style's own pictures). Run with the output folder; needs DejaVu Sans
// and WenQuanYi Micro Hei, and runs on the offscreen platform.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

QString outDir;

void save(const QImage &image, const QString &name) {
  const QString path = outDir + QLatin1Char('/') + name;
  QImage out = image;
  // Bitmaps are stored 24-bit, as the window description keeps them.
  if (name.endsWith(QLatin1String(".bmp"))) out = image.convertToFormat(QImage::Format_RGB888);
  // Only the icons carry an alpha channel; the other pictures use a transparent colour.
  else if (!name.startsWith(QLatin1String("icon_")))
    out = image.convertToFormat(QImage::Format_RGB32);
  if (!out.save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
}

QFont font(const QString &family, int pixels, bool bold) {
  QFont f(family);
  f.setPixelSize(pixels);
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

// Battery: an upright cell with its cap at the top and a dark body around the gauge (which sits at
// 18,49, 24 x 105 inside the picture) and the percentage label below it; the caption runs upright
// along the right side.
enum class Caption { English, Traditional, Simplified };

QImage battery(Caption caption) {
  QImage image(74, 174, QImage::Format_RGB32);
  // White is the picture's transparent colour (its bottom-left pixel).
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  const QRectF body(11.5, 40.5, 38, 132);
  const QRectF cap(21.5, 31.5, 18, 10);

  QLinearGradient metal(cap.left(), 0, cap.right(), 0);
  metal.setColorAt(0, QColor(0x8A, 0x8F, 0x9C));
  metal.setColorAt(0.35, QColor(0xE4, 0xE7, 0xEE));
  metal.setColorAt(1, QColor(0x6B, 0x70, 0x7E));
  // A rounded shape filled and outlined in one pixel.
  const auto rounded = [&p](const QRectF &rect, qreal radius, const QBrush &fill,
                            const QColor &outline) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    p.fillPath(path, fill);
    p.setPen(QPen(outline, 1));
    p.drawPath(path);
  };
  rounded(cap, 3, metal, QColor(0x4A, 0x4E, 0x5A));

  QLinearGradient shell(body.left(), 0, body.right(), 0);
  shell.setColorAt(0, QColor(0x52, 0x40, 0x58));
  shell.setColorAt(0.18, QColor(0x3A, 0x28, 0x40));
  shell.setColorAt(0.7, QColor(0x24, 0x16, 0x2A));
  shell.setColorAt(1, QColor(0x14, 0x0C, 0x18));
  rounded(body, 6, shell, QColor(0x12, 0x0A, 0x16));

  // A soft sheen down the left side of the shell.
  QLinearGradient sheen(body.left(), 0, body.left() + 8, 0);
  sheen.setColorAt(0, QColor(255, 255, 255, 70));
  sheen.setColorAt(1, QColor(255, 255, 255, 0));
  p.fillRect(QRectF(body.left() + 2, body.top() + 5, 7, body.height() - 10), sheen);

  // The recess the gauge sits in: slightly darker than the gauge's own background.
  rounded(QRectF(16.5, 46.5, 28, 110), 2, QColor(0x12, 0x0C, 0x16), QColor(0x5C, 0x4C, 0x66));

  // The plate the percentage is read from: it reaches past the shell on the right, where a
  // reading of 100 % ends, so that the white figures never stand on the light panel.
  const QRectF plate(15.5, 154.5, 43, 17);
  QLinearGradient plateFill(0, plate.top(), 0, plate.bottom());
  plateFill.setColorAt(0, QColor(0x3A, 0x2A, 0x42));
  plateFill.setColorAt(1, QColor(0x1A, 0x10, 0x1E));
  rounded(plate, 4, plateFill, QColor(0x5C, 0x4C, 0x66));

  // Plus mark on the upper shoulder.
  p.setPen(QPen(QColor(0xC8, 0xC0, 0xD6), 1.6));
  p.drawLine(QPointF(30.5, 41.5), QPointF(30.5, 45.5));
  p.drawLine(QPointF(28.5, 43.5), QPointF(32.5, 43.5));

  p.setRenderHint(QPainter::TextAntialiasing);
  const QColor ink(0x2E, 0x36, 0x52);
  p.setPen(ink);
  const QRectF band(52, 40, 21, 133);
  if (caption == Caption::English) {
    p.save();
    p.translate(band.center());
    p.rotate(-90);
    p.setFont(font(QStringLiteral("DejaVu Sans"), 12, true));
    QFont f = p.font();
    f.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(f);
    p.drawText(QRectF(-band.height() / 2, -band.width() / 2, band.height(), band.width()),
               Qt::AlignCenter, QStringLiteral("BATTERY"));
    p.restore();
  } else {
    const QString text =
        caption == Caption::Traditional ? QStringLiteral(u"電池") : QStringLiteral(u"电池");
    p.setFont(font(QStringLiteral("WenQuanYi Micro Hei"), 17, true));
    const qreal step = 24;
    const qreal top = band.center().y() - step;
    for (int i = 0; i < text.size(); ++i)
      p.drawText(QRectF(band.left(), top + i * step, band.width(), step), Qt::AlignCenter,
                 text.mid(i, 1));
  }
  // A short rule above and below the caption ties it to the cell.
  p.setPen(QPen(QColor(0x9A, 0xA2, 0xBC), 1));
  p.drawLine(QPointF(62.5, 46), QPointF(62.5, 60));
  p.drawLine(QPointF(62.5, 153), QPointF(62.5, 167));
  p.end();

  return image;
}

// The mouse outline seen from above, in a w x h box.
QPainterPath mouseShape(const QRectF &r) {
  QPainterPath path;
  const qreal w = r.width(), h = r.height();
  path.moveTo(r.left() + w * 0.5, r.top());
  path.cubicTo(r.left() + w * 0.95, r.top(), r.right(), r.top() + h * 0.25, r.right(),
               r.top() + h * 0.55);
  path.cubicTo(r.right(), r.top() + h * 0.85, r.left() + w * 0.8, r.bottom(), r.left() + w * 0.5,
               r.bottom());
  path.cubicTo(r.left() + w * 0.2, r.bottom(), r.left(), r.top() + h * 0.85, r.left(),
               r.top() + h * 0.55);
  path.cubicTo(r.left(), r.top() + h * 0.25, r.left() + w * 0.05, r.top(), r.left() + w * 0.5,
               r.top());
  path.closeSubpath();
  return path;
}

QImage mouse() {
  QImage image(124, 145, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  // Ground shadow.
  QRadialGradient shadow(QPointF(64, 132), 50);
  shadow.setColorAt(0, QColor(0, 0, 0, 60));
  shadow.setColorAt(1, QColor(0, 0, 0, 0));
  p.fillRect(QRectF(10, 118, 108, 26), shadow);

  const QRectF outline(22, 8, 80, 128);
  const QPainterPath shape = mouseShape(outline);
  QLinearGradient shell(outline.left(), 0, outline.right(), 0);
  shell.setColorAt(0, QColor(0x3C, 0x41, 0x4E));
  shell.setColorAt(0.3, QColor(0x5E, 0x64, 0x74));
  shell.setColorAt(0.65, QColor(0x33, 0x37, 0x42));
  shell.setColorAt(1, QColor(0x1E, 0x21, 0x29));
  p.fillPath(shape, shell);
  p.setPen(QPen(QColor(0x16, 0x18, 0x1E), 1.2));
  p.drawPath(shape);

  // Buttons: a split line from the nose to the wheel and an arc below the buttons.
  p.setPen(QPen(QColor(0x14, 0x16, 0x1C), 1.4));
  p.drawLine(QPointF(62, 9), QPointF(62, 30));
  p.drawLine(QPointF(62, 56), QPointF(62, 60));
  QPainterPath arc;
  arc.moveTo(23, 62);
  arc.quadTo(62, 70, 101, 62);
  p.drawPath(arc);

  // Scroll wheel.
  QPainterPath wheel;
  wheel.addRoundedRect(QRectF(57, 31, 10, 24), 5, 5);
  QLinearGradient rubber(57, 0, 67, 0);
  rubber.setColorAt(0, QColor(0x22, 0x22, 0x28));
  rubber.setColorAt(0.5, QColor(0x6A, 0x6E, 0x7A));
  rubber.setColorAt(1, QColor(0x22, 0x22, 0x28));
  p.fillPath(wheel, rubber);
  p.setPen(QPen(QColor(0x10, 0x10, 0x14), 1));
  p.drawPath(wheel);
  p.setPen(QPen(QColor(0x2A, 0x2C, 0x34), 1));
  for (int y = 35; y < 53; y += 3)
    p.drawLine(QPointF(59, y), QPointF(65, y));

  // Accent: a blue light stripe round the palm and the gloss on the left button.
  p.setPen(QPen(QColor(0x3F, 0x9B, 0xFF), 2.2));
  QPainterPath stripe;
  stripe.moveTo(30, 100);
  stripe.quadTo(62, 122, 94, 100);
  p.drawPath(stripe);
  QLinearGradient gloss(0, 10, 0, 60);
  gloss.setColorAt(0, QColor(255, 255, 255, 90));
  gloss.setColorAt(1, QColor(255, 255, 255, 0));
  QPainterPath glossPath;
  glossPath.moveTo(60, 11);
  glossPath.cubicTo(40, 12, 30, 30, 28, 58);
  glossPath.lineTo(56, 60);
  glossPath.closeSubpath();
  p.fillPath(glossPath, gloss);

  // A small signal mark on the palm.
  p.setPen(QPen(QColor(0xB8, 0xD8, 0xFF), 1.6));
  for (int i = 0; i < 3; ++i) {
    const qreal r = 4 + i * 4;
    p.drawArc(QRectF(62 - r, 88 - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
  }
  p.setBrush(QColor(0xB8, 0xD8, 0xFF));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(62, 88), 1.8, 1.8);
  return image;
}

QImage logo() {
  QImage image(212, 70, QImage::Format_ARGB32_Premultiplied);
  // Rounded corners on white, the picture's transparent colour.
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QLinearGradient ground(0, 0, 0, 70);
  ground.setColorAt(0, QColor(0x1D, 0x26, 0x5E));
  ground.setColorAt(1, QColor(0x0E, 0x13, 0x36));
  QPainterPath card;
  card.addRoundedRect(QRectF(0, 0, 212, 70), 7, 7);
  p.setClipPath(card);
  p.fillRect(image.rect(), ground);

  // Sweeping light band behind the name.
  QPainterPath band;
  band.moveTo(0, 52);
  band.cubicTo(60, 34, 140, 70, 212, 40);
  band.lineTo(212, 70);
  band.lineTo(0, 70);
  band.closeSubpath();
  QLinearGradient bandFill(0, 40, 212, 60);
  bandFill.setColorAt(0, QColor(0x3F, 0x9B, 0xFF, 70));
  bandFill.setColorAt(1, QColor(0x7A, 0x5C, 0xFF, 40));
  p.fillPath(band, bandFill);

  // Emblem: a mouse silhouette sending three arcs.
  const QPainterPath shape = mouseShape(QRectF(14, 18, 22, 34));
  QLinearGradient shell(14, 18, 36, 52);
  shell.setColorAt(0, QColor(0xF4, 0xF7, 0xFF));
  shell.setColorAt(1, QColor(0xA9, 0xB8, 0xE0));
  p.fillPath(shape, shell);
  p.setPen(QPen(QColor(0x1D, 0x26, 0x5E), 1.2));
  p.drawLine(QPointF(25, 19), QPointF(25, 29));
  p.setPen(QPen(QColor(0x5F, 0xB2, 0xFF), 2.0, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 3; ++i) {
    const qreal r = 5 + i * 5;
    p.drawArc(QRectF(36 - r, 20 - r, 2 * r, 2 * r), -10 * 16, 100 * 16);
  }

  p.setPen(QColor(0xF4, 0xF7, 0xFF));
  p.setFont(font(QStringLiteral("DejaVu Sans"), 25, true));
  p.drawText(QRectF(58, 10, 150, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quelvane"));
  p.setPen(QColor(0xA9, 0xC6, 0xF5));
  QFont small = font(QStringLiteral("DejaVu Sans"), 9, false);
  small.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
  p.setFont(small);
  p.drawText(QRectF(60, 42, 150, 14), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("2.4 GHz WIRELESS MOUSE"));
  return image;
}

QImage icon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  QPainterPath tile;
  tile.addRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), s * 0.2, s * 0.2);
  QLinearGradient ground(0, 0, 0, s);
  ground.setColorAt(0, QColor(0x2B, 0x3A, 0x8C));
  ground.setColorAt(1, QColor(0x12, 0x18, 0x45));
  p.fillPath(tile, ground);

  const QRectF body(s * 0.16, s * 0.3, s * 0.4, s * 0.6);
  const QPainterPath shape = mouseShape(body);
  QLinearGradient shell(body.topLeft(), body.bottomRight());
  shell.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
  shell.setColorAt(1, QColor(0xB4, 0xC2, 0xE8));
  p.fillPath(shape, shell);
  if (size >= 22) {
    p.setPen(QPen(QColor(0x2B, 0x3A, 0x8C), std::max(1.0, s / 32)));
    p.drawLine(QPointF(body.center().x(), body.top() + 1),
               QPointF(body.center().x(), body.top() + body.height() * 0.3));
  }
  p.setPen(QPen(QColor(0x5F, 0xB2, 0xFF), std::max(1.2, s / 16), Qt::SolidLine, Qt::RoundCap));
  const int arcs = size >= 32 ? 3 : 2;
  for (int i = 0; i < arcs; ++i) {
    const qreal r = s * (0.14 + i * 0.13);
    const QPointF c(s * 0.58, s * 0.36);
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), -5 * 16, 100 * 16);
  }
  return image;
}

QString number(qreal v) {
  return QString::number(v, 'f', 2);
}

QString svgPath(const QPainterPath &path) {
  QString d;
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    const QString xy = number(e.x) + QLatin1Char(' ') + number(e.y);
    if (e.isMoveTo())
      d += QLatin1String("M ") + xy + QLatin1Char(' ');
    else if (e.isLineTo())
      d += QLatin1String("L ") + xy + QLatin1Char(' ');
    else if (e.isCurveTo())
      d += QLatin1String("C ") + xy + QLatin1Char(' ');
    else
      d += xy + QLatin1Char(' ');
  }
  return d + QLatin1Char('Z');
}

// The icon as vector art for scalable icon themes: the same geometry as the large bitmaps.
QByteArray iconSvg() {
  const qreal s = 256;
  const QRectF body(s * 0.16, s * 0.3, s * 0.4, s * 0.6);
  QString svg =
      QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                     "viewBox=\"0 0 256 256\">\n"
                     "  <defs>\n"
                     "    <linearGradient id=\"ground\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"256\" "
                     "gradientUnits=\"userSpaceOnUse\">\n"
                     "      <stop offset=\"0\" stop-color=\"#2B3A8C\"/>\n"
                     "      <stop offset=\"1\" stop-color=\"#121845\"/>\n"
                     "    </linearGradient>\n"
                     "    <linearGradient id=\"shell\" x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" "
                     "gradientUnits=\"userSpaceOnUse\">\n"
                     "      <stop offset=\"0\" stop-color=\"#FFFFFF\"/>\n"
                     "      <stop offset=\"1\" stop-color=\"#B4C2E8\"/>\n"
                     "    </linearGradient>\n"
                     "  </defs>\n"
                     "  <rect x=\"0.5\" y=\"0.5\" width=\"255\" height=\"255\" rx=\"51.2\" "
                     "fill=\"url(#ground)\"/>\n")
          .arg(number(body.left()), number(body.top()), number(body.right()),
               number(body.bottom()));
  svg += QStringLiteral("  <path d=\"%1\" fill=\"url(#shell)\"/>\n").arg(svgPath(mouseShape(body)));
  svg += QStringLiteral("  <line x1=\"%1\" y1=\"%2\" x2=\"%1\" y2=\"%3\" stroke=\"#2B3A8C\" "
                        "stroke-width=\"8\"/>\n")
             .arg(number(body.center().x()), number(body.top() + 1),
                  number(body.top() + body.height() * 0.3));
  // Qt's arcs run counter-clockwise from three o'clock: -5 to 95 degrees.
  const QPointF c(s * 0.58, s * 0.36);
  for (int i = 0; i < 3; ++i) {
    const qreal r = s * (0.14 + i * 0.13);
    const qreal a0 = qDegreesToRadians(-5.0), a1 = qDegreesToRadians(95.0);
    svg += QStringLiteral("  <path d=\"M %1 %2 A %3 %3 0 0 0 %4 %5\" fill=\"none\" "
                          "stroke=\"#5FB2FF\" stroke-width=\"16\" stroke-linecap=\"round\"/>\n")
               .arg(number(c.x() + r * std::cos(a0)), number(c.y() - r * std::sin(a0)), number(r),
                    number(c.x() + r * std::cos(a1)), number(c.y() - r * std::sin(a1)));
  }
  svg += QLatin1String("</svg>\n");
  return svg.toUtf8();
}

void saveText(const QByteArray &text, const QString &name) {
  const QString path = outDir + QLatin1Char('/') + name;
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
}

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: draw_art OUTPUT_DIR\n");
    return 2;
  }
  outDir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(outDir);
  for (const char *family : {"DejaVu Sans", "WenQuanYi Micro Hei"})
    if (!QFontDatabase::families().contains(QLatin1String(family))) {
      std::fprintf(stderr, "font %s is not installed\n", family);
      return 1;
    }

  save(battery(Caption::English), QStringLiteral("battery_eng.bmp"));
  save(battery(Caption::Traditional), QStringLiteral("battery_cht.bmp"));
  save(battery(Caption::Simplified), QStringLiteral("battery_chs.bmp"));
  save(logo(), QStringLiteral("logo.png"));
  save(mouse(), QStringLiteral("mouse.png"));
  for (int size : {16, 22, 32, 48, 64, 128, 256})
    save(icon(size), QStringLiteral("icon_%1.png").arg(size));
  saveText(iconSvg(), QStringLiteral("icon.svg"));
  return 0;
}
