#pragma once

#include <QWidget>

#include <functional>

namespace app {

// Work for the pauses of the first device scan, which comes before the window's first paint:
// each step draws one of the window's drawn controls whose buffer is stale, so that the paint
// mostly copies. Controls outside the window's area are left for when they are seen. False once
// nothing is left to draw; controls deleted meanwhile are skipped.
std::function<bool()> PaintAhead(QWidget &window);

} // namespace app
