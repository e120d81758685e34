#pragma once

namespace platform {

// Keeps assistive technology from bringing the program down through Qt's own accessibility
// bridge: on Linux, Qt 6.4's AT-SPI adaptor reads a property name from every
// org.freedesktop.DBus.Properties call and so crashes on GetAll, which carries none. From the
// first call on, GetAll on the accessible objects is answered here with every property the
// adaptor gives one by one, and a Properties call with too few arguments is refused with an
// error. Nothing on Windows, where the window speaks UI Automation. Safe to call more than once.
void GuardAccessibilityBridge();

} // namespace platform
