#include "tray/BatteryIcon.h"

#include "framework/Canvas.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace tray {
namespace {

using framework::TColor;
using framework::TRect;

constexpr int SmallestSide = 8;
// The rim and the frame: the one carries the icon on dark panels, the other on light ones.
constexpr TColor RimColor = framework::clWhite;
constexpr TColor FrameColor = framework::clBlack;
constexpr TColor NoReceiverInside = 0x404040;
constexpr TColor StrikeColor = framework::clRed;

// The drained part keeps the reading's hue, so that even an empty battery says red.
TColor darkShade(TColor color) {
  TColor shade = 0;
  for (int shift : {0, 8, 16})
    shade |= (((color >> shift) & 0xFFu) * 5 / 16) << shift;
  return shade;
}

TRect grown(const TRect &r, int by) {
  return {r.Left - by, r.Top - by, r.Right + by, r.Bottom + by};
}

void fill(framework::Canvas &canvas, const TRect &r, TColor color) {
  canvas.SetBrushColor(color);
  canvas.FillRect(r);
}

// A band along the falling diagonal from the bottom-left corner to the top-right one, with a
// rim on both sides.
void strike(framework::Canvas &canvas, int side) {
  const int half = std::max(1, side / 16);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const int distance = std::abs(x + y - (side - 1));
      if (distance <= half)
        canvas.SetPixel(x, y, StrikeColor);
      else if (distance == half + 1)
        canvas.SetPixel(x, y, RimColor);
    }
}

class BatteryIconEngine final : public QIconEngine {
public:
  explicit BatteryIconEngine(const BatteryIconState &state) : m_state(state) {}

  QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override {
    const int side = std::min(size.width(), size.height());
    auto found = m_pixmaps.find(side);
    if (found == m_pixmaps.end())
      found = m_pixmaps.emplace(side, QPixmap::fromImage(DrawBatteryIcon(m_state, side))).first;
    return found->second;
  }
  void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override {
    const int side = std::min(rect.width(), rect.height());
    const QRect square(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2,
                       side, side);
    painter->drawPixmap(square, pixmap(square.size(), mode, state));
  }
  QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override {
    const int side = std::min(size.width(), size.height());
    return QSize(side, side);
  }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (int side : BatteryIconSizes)
      sizes.append(QSize(side, side));
    return sizes;
  }
  QIconEngine *clone() const override { return new BatteryIconEngine(*this); }
  QString key() const override { return QStringLiteral("BatteryIconEngine"); }

private:
  BatteryIconState m_state;
  std::map<int, QPixmap> m_pixmaps;
};

} // namespace

QImage DrawBatteryIcon(const BatteryIconState &state, int side) {
  side = std::max(side, SmallestSide);
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  framework::Canvas canvas(image);

  const int frame = std::max(1, side / 16);
  const int rim = frame;
  const int nubWidth = std::max(2, side / 8);
  const int bodyHeight = side * 5 / 8;
  // Half the body's height, of the same parity, so that the nub sits in the middle.
  int nubHeight = bodyHeight / 2;
  if ((bodyHeight - nubHeight) % 2 != 0) ++nubHeight;
  const int top = (side - bodyHeight) / 2;
  const TRect body{rim, top, side - rim - nubWidth, top + bodyHeight};
  const int nubTop = top + (bodyHeight - nubHeight) / 2;
  const TRect nub{body.Right, nubTop, side - rim, nubTop + nubHeight};

  fill(canvas, grown(body, rim), RimColor);
  fill(canvas, grown(nub, rim), RimColor);
  fill(canvas, body, FrameColor);
  fill(canvas, nub, FrameColor);
  const TRect inside = grown(body, -frame);
  if (!state.Connected) {
    fill(canvas, inside, NoReceiverInside);
    strike(canvas, side);
    return image;
  }
  const TColor color = framework::ColorToRGB(state.Color);
  fill(canvas, inside, darkShade(color));
  const int value = state.Max > 0 ? std::clamp(state.Value, 0, state.Max) : 0;
  const int max = std::max(state.Max, 1);
  // Rounded to the nearest column, so that every level of six shows at 16 pixels.
  const int filled = (inside.Width() * value * 2 + max) / (2 * max);
  fill(canvas, {inside.Left, inside.Top, inside.Left + filled, inside.Bottom}, color);
  return image;
}

QIcon BatteryIcon(const BatteryIconState &state) {
  // QIcon owns its engine.
  return QIcon(new BatteryIconEngine(state));
}

} // namespace tray
