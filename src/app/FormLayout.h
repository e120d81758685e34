#pragma once

#include "app/FormComponents.h"
#include "framework/Fonts.h"

class QWidget;

namespace app {

// The main window's description: places, texts, fonts and colours of each component, one
// function per component. Skin properties are in FormSkin, events are wired by the window.
namespace layout {

inline constexpr const char *Title = "Quelvane v1.6";
// Controls placed this far right or further lie outside the client area: nobody sees them.
inline constexpr int ClientWidth = 216;

// Whether `control`, a child of the window's frame, lies outside the client area.
bool LiesOutside(const QWidget &control);

// The window's font, which its controls follow unless given their own.
framework::FontDesc FormFont();
// The CPI caption's font as stored; its height follows the language afterwards.
framework::FontDesc CPILabelFont();
void SetLabelFont(QLabel &label, const framework::FontDesc &font);

void Form1(QWidget &window);
void sfrm1(skin::TsuiForm &frame);
void lblCPI(QLabel &label);
void BatteryPictures(FormComponents &c);
void pbMseBattery(widgets::TProgBar &gauge);
void ledDev(widgets::ThhALed &led);
void lbl48(QLabel &label);
void lbl49(QLabel &label);
void lblMseBattery(widgets::TCnAALabel &label);
void btnCombo_Cmd_Soft_Bind_SW(skin::TsuiButton &button);
void edtCPI(skin::TsuiEdit &edit);
void DevListBox(QListWidget &list);
void edtVID(widgets::THexEdit &edit);
void edtPID(skin::TsuiEdit &edit);
void QueryButtons(FormComponents &c);
void imgLogo(skin::TsuiImagePanel &panel);
void imgMouse(skin::TsuiImagePanel &panel);
void TabOrder(FormComponents &c);
// Controls nobody sees take no focus, so the window's first focus falls on the default button,
// the first of the tab order that is seen.
void Focus(const FormComponents &c);
void Timers(FormComponents &c);
void tray1(tray::TCoolTrayIcon &icon);
// Adds the menu's items and keeps them in `c`.
void pmnTray(FormComponents &c);

// The whole description, in its order.
void Apply(QWidget &window, FormComponents &c);

} // namespace layout
} // namespace app
