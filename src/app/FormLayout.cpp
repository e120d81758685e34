#include "app/FormLayout.h"

#include "app/Artwork.h"
#include "app/DesktopTexts.h"
#include "framework/Inherited.h"
#include "framework/Timer.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiImagePanel.h"
#include "skin/TsuiPopupMenu.h"
#include "tray/CoolTrayIcon.h"
#include "widgets/TCnAALabel.h"
#include "widgets/THexEdit.h"
#include "widgets/TProgBar.h"
#include "widgets/ThhALed.h"

#include <QLabel>
#include <QListWidget>

namespace app::layout {
namespace {

using framework::FontDesc;
using namespace framework;

FontDesc sansSerif(int height, bool bold, TColor color) {
  return FontDesc{QStringLiteral("MS Sans Serif"), height, bold, false, false, color};
}

} // namespace

FontDesc FormFont() {
  return FontDesc{};
}

FontDesc CPILabelFont() {
  return sansSerif(-16, true, clBlack);
}

void SetLabelFont(QLabel &label, const FontDesc &font) {
  label.setFont(MakeFont(font));
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, ToQColor(font.Color));
  label.setPalette(palette);
}

void Form1(QWidget &window) {
  window.setWindowTitle(QLatin1String(Title));
  window.setMinimumSize(130, 50);
  SetFontDesc(window, FormFont());
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, ToQColor(clBtnFace));
  window.setPalette(palette);
  window.setWindowIcon(ProgramIcon());
  window.move(454, 252);
}

void sfrm1(skin::TsuiForm &frame) {
  frame.SetCaption(QLatin1String(Title));
}

void lblCPI(QLabel &label) {
  label.setGeometry(5, 125, 52, 16);
  label.setText(QStringLiteral("CPI"));
  SetLabelFont(label, CPILabelFont());
  label.setAttribute(Qt::WA_TranslucentBackground);
}

void BatteryPictures(FormComponents &c) {
  const struct {
    skin::TsuiImagePanel *picture;
    QRect bounds;
    const char *art;
  } batteries[] = {
      {c.imgBattery, QRect(132, 23, 74, 174), "battery_eng.bmp"},
      {c.imgBattEng, QRect(324, 233, 74, 174), "battery_eng.bmp"},
      {c.imgBattCht, QRect(439, 235, 74, 174), "battery_cht.bmp"},
      {c.imgBattChs, QRect(324, 42, 74, 174), "battery_chs.bmp"},
  };
  for (const auto &battery : batteries) {
    battery.picture->setGeometry(battery.bounds);
    battery.picture->SetAutoSize(true);
    battery.picture->SetTransparent(true);
    battery.picture->SetDrawStyle(skin::TsuiDrawStyle::suiNormal);
    SetArtwork(*battery.picture, QLatin1String(battery.art));
  }
}

void pbMseBattery(widgets::TProgBar &gauge) {
  gauge.SetBounds(150, 72, 24, 105);
  gauge.SetColorBackGnd(0x1B192C);
  gauge.SetColorMapMode(widgets::TColorMapping::cgmStretch);
  gauge.SetColorGrid(clBlack);
  gauge.SetColorMargin(clBlack);
  gauge.SetColorScheme(widgets::TColorScheme::csBWG);
  gauge.SetColorMin(clRed);
  gauge.SetColorMax(clLime);
  gauge.SetFont(sansSerif(-13, true, clWhite));
  gauge.SetFrameStyleOuter(widgets::TFrameStyle::fsRaised);
  gauge.SetFrameStyleInner(widgets::TFrameStyle::fsRaised);
  gauge.SetGridDist(10);
  gauge.SetMarginBottom(1);
  gauge.SetMarginLeft(1);
  gauge.SetMarginRight(1);
  gauge.SetMarginTop(1);
  gauge.SetMax(100);
  gauge.SetDirection(widgets::TProgBarDirection::pbdUpward);
  gauge.SetShowColorGradient(false);
  gauge.SetTextAlignment(TAlignment::taCenter);
  gauge.SetTextAngle(90);
  gauge.SetTextDecPlaces(0);
  gauge.SetTextPosX(0);
  gauge.SetTextPosY(10);
  gauge.SetTextVisible(false);
  gauge.SetValue(50);
}

void ledDev(widgets::ThhALed &led) {
  led.SetBounds(5, 80, 22, 22);
  led.setCursor(Qt::ArrowCursor);
  led.SetBorderColor(clBackground);
  led.SetBlink(false);
  led.SetValue(true);
  led.SetLEDStyle(widgets::TLEDStyle::LEDLarge);
}

void lbl48(QLabel &label) {
  label.setGeometry(565, 110, 22, 16);
  label.setText(QStringLiteral("VID"));
  SetLabelFont(label, sansSerif(-13, false, clBlack));
}

void lbl49(QLabel &label) {
  label.setGeometry(566, 133, 22, 16);
  label.setText(QStringLiteral("PID"));
  SetLabelFont(label, sansSerif(-13, false, clBlack));
}

void lblMseBattery(widgets::TCnAALabel &label) {
  label.SetBounds(151, 179, 27, 16);
  label.SetCaption(QStringLiteral("50%"));
  label.SetFont(sansSerif(-13, true, clWhite));
}

void btnCombo_Cmd_Soft_Bind_SW(skin::TsuiButton &button) {
  button.setGeometry(30, 78, 97, 27);
  button.SetCaption(QStringLiteral("&Connecting"));
  button.SetFont(sansSerif(-16, true, clBlue));
  button.SetDefault(true);
  button.SetTabOrder(5);
}

void edtCPI(skin::TsuiEdit &edit) {
  edit.SetAutoSize(false);
  edit.setGeometry(40, 123, 53, 22);
  edit.SetTabStop(false);
  edit.SetColor(clMoneyGreen);
  edit.SetFont(sansSerif(-16, true, clWindowText));
  edit.SetReadOnly(true);
  edit.SetTabOrder(8);
  edit.SetText(QStringLiteral("HIGH"));
}

void DevListBox(QListWidget &list) {
  list.setGeometry(650, 35, 60, 49);
  list.setVisible(false);
}

void edtVID(widgets::THexEdit &edit) {
  edit.SetAutoSize(false);
  edit.setGeometry(597, 107, 37, 19);
  edit.SetColor(clMoneyGreen);
  edit.SetReadOnly(true);
  edit.SetTabOrder(6);
}

void edtPID(skin::TsuiEdit &edit) {
  edit.SetAutoSize(false);
  edit.setGeometry(597, 132, 37, 19);
  edit.SetColor(clMoneyGreen);
  edit.SetTabOrder(9);
}

void QueryButtons(FormComponents &c) {
  const struct {
    skin::TsuiButton *button;
    QRect bounds;
    const char *caption;
    int tabOrder;
  } queryButtons[] = {
      {c.btnSystemStatus, QRect(718, 33, 99, 30), "System Status", 1},
      {c.btnBattery, QRect(720, 72, 63, 30), "Battery", 4},
      {c.btnCPI, QRect(722, 115, 63, 30), "CPI", 7},
  };
  for (const auto &query : queryButtons) {
    query.button->setGeometry(query.bounds);
    query.button->SetCaption(QLatin1String(query.caption));
    query.button->SetTabOrder(query.tabOrder);
  }
}

void imgLogo(skin::TsuiImagePanel &panel) {
  panel.setGeometry(2, 196, 212, 70);
  SetArtwork(panel, QStringLiteral("logo.png"));
  panel.SetTabOrder(10);
}

void imgMouse(skin::TsuiImagePanel &panel) {
  panel.setGeometry(436, 56, 124, 145);
  SetArtwork(panel, QStringLiteral("mouse.png"));
  panel.SetTabOrder(3);
}

void TabOrder(FormComponents &c) {
  QWidget *const tabOrder[] = {
      c.btnSystemStatus, c.DevListBox, c.imgMouse, c.btnBattery, c.btnCombo_Cmd_Soft_Bind_SW,
      c.edtVID,          c.btnCPI,     c.edtCPI,   c.edtPID,     c.imgLogo};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i)
    QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

bool LiesOutside(const QWidget &control) {
  return control.x() >= ClientWidth;
}

void Focus(const FormComponents &c) {
  for (QWidget *control : c.sfrm1->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
    if (LiesOutside(*control)) control->setFocusPolicy(Qt::NoFocus);
}

void Timers(FormComponents &c) {
  for (framework::Timer *timer : {c.tmrStatus, c.tmrSoftBind}) {
    timer->SetEnabled(false);
    timer->SetInterval(1000);
  }
}

void tray1(tray::TCoolTrayIcon &icon) {
  icon.SetHint(QLatin1String(TrayTipTitle));
  icon.SetIcon(ProgramIcon());
  icon.SetIconIndex(0);
  icon.SetCycleInterval(0);
}

void pmnTray(FormComponents &c) {
  skin::TMenuItem &items = c.pmnTray->Items();
  c.mniLanguage = items.Add(QStringLiteral("mniLanguage"), QStringLiteral("Language"));
  c.mniEng = c.mniLanguage->Add(QStringLiteral("mniEng"), QStringLiteral("English"));
  c.mniCht = c.mniLanguage->Add(QStringLiteral("mniCht"), QStringLiteral("Chinese(Traditional)"));
  c.mniChs = c.mniLanguage->Add(QStringLiteral("mniChs"), QStringLiteral("Chinese(Simplified)"));
  c.mniConfigure = items.Add(QStringLiteral("mniConfigure"), QStringLiteral("Configure..."));
  c.mniHistory = items.Add(QStringLiteral("mniHistory"), QStringLiteral("Battery &history"));
  c.mniN2 = items.Add(QStringLiteral("mniN2"), QStringLiteral("-"));
  c.mniBatteryInIcon =
      items.Add(QStringLiteral("mniBatteryInIcon"), QStringLiteral("&Battery in icon"));
  c.mniBatteryInIcon->SetAutoCheck(true);
  c.mniN1 = items.Add(QStringLiteral("mniN1"), QStringLiteral("-"));
  c.mniExit = items.Add(QStringLiteral("mniExit"), QStringLiteral("&Exit"));
}

void Apply(QWidget &window, FormComponents &c) {
  Form1(window);
  sfrm1(*c.sfrm1);
  lblCPI(*c.lblCPI);
  BatteryPictures(c);
  pbMseBattery(*c.pbMseBattery);
  ledDev(*c.ledDev);
  lbl48(*c.lbl48);
  lbl49(*c.lbl49);
  lblMseBattery(*c.lblMseBattery);
  btnCombo_Cmd_Soft_Bind_SW(*c.btnCombo_Cmd_Soft_Bind_SW);
  edtCPI(*c.edtCPI);
  DevListBox(*c.DevListBox);
  edtVID(*c.edtVID);
  edtPID(*c.edtPID);
  QueryButtons(c);
  imgLogo(*c.imgLogo);
  imgMouse(*c.imgMouse);
  TabOrder(c);
  Focus(c);
  Timers(c);
  tray1(*c.tray1);
  pmnTray(c);
}

} // namespace app::layout
