// Shared pieces of the skin art generator.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <optional>

namespace art {

// Style index: MacOS, WinXP, DeepBlue, Protein, BlueGlass.
enum Style { MacOS, WinXP, DeepBlue, Protein, BlueGlass };

inline constexpr QRgb Magenta = 0xFFFF00FF;

// Three gradient stops from top to bottom.
using Ramp = std::array<QColor, 3>;

// What the controls of one style share.
struct Look {
  QColor form;   // what the controls stand on
  QColor border; // control outline
  QColor ink;    // arrows and marks
  QColor well;   // inside of boxes and grooves
  Ramp face, hover, down;
  QColor accent; // check marks, progress, selection
  bool glossy;   // a glass highlight over the upper half
  bool keyed;    // shapes sit on magenta instead of the form colour
  int radius;
};

const Look &look(Style s);

// A transparent canvas to paint on with antialiasing.
QImage layer(int w, int h);
void prepare(QPainter &p);

// Flattens a painted layer: covered pixels are blended over `under`; untouched pixels become
// `key` when given, else `under`. Edges so never carry magenta into the picture.
QImage flatten(const QImage &painted, QColor under, std::optional<QRgb> key);
// Keyed or opaque as the style wants it.
QImage finish(const QImage &painted, Style s);

// Copies `part` into state `index` of a horizontal strip.
void put(QImage &strip, const QImage &part, int index);

QLinearGradient ramp(qreal top, qreal bottom, const Ramp &colors);
QPainterPath rounded(const QRectF &r, qreal radius);
// A glass highlight over the upper part of `shape`.
void gloss(QPainter &p, const QPainterPath &shape, const QRectF &r, int strength);

// Title-button glyphs, pixel exact, inside a box n wide and n - t + 1 high.
enum class Glyph { ControlBox, Help, Maximize, Restore, Minimize, Close };
int glyphHeight(int n, int t);
void glyph(QPainter &p, Glyph g, int x, int y, int n, int t, QColor c);

// A pixel-exact arrow of `rows` rows pointing up (dir 0), right (1), down (2) or left (3).
void arrow(QPainter &p, QPointF c, int dir, int rows, QColor color);

// A rounded face: ramp fill, one-pixel outline, gloss for glossy styles. `r` is the pixel box.
void face(QPainter &p, const QRect &r, qreal radius, const Ramp &fill, QColor border, bool glossy);

// The bitmaps, each at the size given.
QImage button(Style s, int w, int h);
QImage checkBox(Style s, int w, int h, bool radio);
QImage checkList(Style s, int w, int h);
QImage comboButton(Style s, int w, int h);
QImage scrollBarButtons(Style s, int w, int h);
QImage scrollButtons(std::optional<Style> s, int w, int h); // nullopt: the shared one
QImage scrollThumb(Style s, int w, int h);
QImage progress(Style s, int w, int h);
QImage trackBar(Style s, int w, int h);
QImage trackSlider(Style s, int w, int h, bool vertical);
QImage tab(Style s, int w, int h);
QImage tabLine(Style s, int w, int h);
QImage sideHandle(Style s, int w, int h);
QImage sideBar(Style s, int w, int h);
QImage menuBar(int w, int h);
QImage menuSelect(int w, int h);
QImage formTile(Style s);
QImage menuChecked();
QImage titlePicture(Style s, int which, int w, int h); // which: 0 left, 1 client, 2 right
QImage titleButtons(Style s, int w, int h);

} // namespace art
