#pragma once

#include <QByteArray>

namespace app {

// The window is drawn at whole device pixel ratios only (a fractional one would draw its one-pixel
// lines one and two pixels wide by turns): every scale factor is rounded to a whole one before Qt
// reads it, halves up (1.5 gives 2), never below 1.

// A QT_SCALE_FACTOR value, or a QT_SCREEN_SCALE_FACTORS list ("1.5" or "DP-1=1.5;HDMI-1=1"), with
// every factor rounded; an entry that is not a number is kept as it is, for Qt to refuse.
QByteArray WholeScaleFactors(const QByteArray &value);

// Rounds the factors of the environment and of the screens' densities. Called before the
// application object is made; an explicit QT_SCALE_FACTOR_ROUNDING_POLICY still wins.
void UseWholeScaleFactors();

} // namespace app
