#pragma once

#include <functional>

class QWidget;

namespace app {

// Runs `work` once, at the turn of the event loop after the window's first paint, or at the next
// turn when the window is not shown: what its first look does not need waits until it is seen.
// Nothing runs when the window goes first.
void AfterFirstPaint(QWidget &window, std::function<void()> work);

} // namespace app
