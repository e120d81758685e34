#pragma once

#include <QAccessible>
#include <QString>

#include <array>
#include <optional>

class QWidget;

namespace app {

class TForm1;

// What assistive technology hears of the window: the LED, the battery gauge and percentage, the
// CPI box and the pairing button get roles, names and texts in the window's language, read from
// their state whenever asked; the pairing button and the title bar's buttons can be pressed.

// Installs, once per process, the factory that gives those controls their interfaces.
void InstallFormAccessibility();

// The text of `control` of `form`; none (a null string) for a control that is not a readout.
// Value is what the readout says now (the LED's state, the gauge's level and percentage, the
// percentage, the CPI setting, the pairing button's state).
QString ReadoutText(const TForm1 &form, const QWidget *control, QAccessible::Text kind);

// What assistive technology was last told, so that only changes are announced.
struct AnnouncedReadouts {
  static constexpr std::size_t Count = 5;
  std::array<QString, Count> Names;
  std::array<QString, Count> Values;
  std::optional<double> GaugeLevel;
  QString TitleBarButtons;
};

// Tells assistive technology what changed in the readouts and names since `last`, and updates it.
void AnnounceReadouts(const TForm1 &form, AnnouncedReadouts &last);

} // namespace app
