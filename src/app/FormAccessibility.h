#pragma once

#include <QAccessible>
#include <QString>

class QWidget;

namespace app {

class TForm1;

// What assistive technology hears of the window's readouts: the LED, the battery gauge and
// percentage, the CPI box and the pairing button get names and values in the window's language,
// read from their state whenever asked.

// Installs, once per process, the factory that gives those controls their interfaces.
void InstallFormAccessibility();

// The text of `control` of `form`; none (a null string) for a control that is not a readout.
QString ReadoutText(const TForm1 &form, const QWidget *control, QAccessible::Text kind);

// Tells assistive technology that the readouts may have changed.
void AnnounceReadouts(const TForm1 &form);

} // namespace app
