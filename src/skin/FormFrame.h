#pragma once

#include "framework/Canvas.h"
#include "framework/Colors.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>

namespace skin {

// The thickness of the standard dialog frame that the window keeps on every side of its client;
// the frame painter fills it.
inline constexpr int StandardFrame = 3;

// Where the client (the skinned panel) sits inside the window, in window pixels.
struct FrameInsets {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool operator==(const FrameInsets &) const = default;
};

// The non-client area the frame leaves: the standard frame, widened by a theme's left-border
// picture (`leftBorderWidth`, 0 without) and lowered by its bottom-border picture
// (`bottomBorderHeight`, 0 without) or by the border width.
FrameInsets ClientInsets(int borderWidth, int leftBorderWidth, int bottomBorderHeight);

// Everything the frame painter needs to know of the form.
struct FrameLook {
  int BorderWidth = 1;
  framework::TColor BorderColor = framework::clBlack;
  framework::TColor Color = framework::clBtnFace;
  framework::TColor MenuBarColor = framework::clBtnFace;
  // The title bar's height while it is visible; 0 hides it.
  int TitleHeight = 0;
  // 0 without a visible menu bar.
  int MenuBarHeight = 0;
  int RoundCorner = 0;
  // The three title pictures (left, middle, right), all set or all null.
  QImage TitleLeft;
  QImage TitleClient;
  QImage TitleRight;
  // A theme's border pictures; the right border is the left one turned by half a circle.
  QImage LeftBorder;
  QImage RightBorder;
  QImage BottomBorder;
};

// Paints the frame band of a window of the canvas's size. Pixels that the client covers may be
// painted too; the client is drawn over them.
void PaintFrame(framework::Canvas &canvas, const FrameLook &look);

// The pixels of a rectangle with its four corners rounded: a pixel of a corner square belongs to
// it when its centre lies within the corner's circle. The radius is at most half the shorter side.
QRegion RoundedRect(const QRect &rect, int radius);

// The window's shape: an upper and a lower half, each rounded on its outer corners only (the inner
// ones are squared off again), so that top and bottom can have different radii.
QRegion WindowRegion(QSize size, int roundCorner, int roundCornerBottom);

// A maximised window's bounds: the frame lies outside the work area on the left, top and right,
// and the bottom border stays visible above it.
QRect MaximisedBounds(const QRect &workArea);

} // namespace skin
