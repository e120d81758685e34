#pragma once

#include "hid/JvHidDeviceController.h"

#include <memory>

class QLabel;
class QListWidget;
namespace framework {
class Timer;
}
namespace skin {
class TsuiForm;
class TsuiButton;
class TsuiEdit;
class TsuiImagePanel;
class TsuiPopupMenu;
class TMenuItem;
} // namespace skin
namespace widgets {
class TProgBar;
class ThhALed;
class TCnAALabel;
class THexEdit;
} // namespace widgets
namespace tray {
class TCoolTrayIcon;
}

namespace app {

// The components of the main window's description, in description order. The widgets, timers,
// tray icon and menu are owned through Qt parenting by the window; the controller by this.
struct FormComponents {
  skin::TsuiForm *sfrm1 = nullptr;
  QLabel *lblCPI = nullptr;
  skin::TsuiImagePanel *imgBattery = nullptr;
  skin::TsuiImagePanel *imgBattEng = nullptr;
  skin::TsuiImagePanel *imgBattCht = nullptr;
  skin::TsuiImagePanel *imgBattChs = nullptr;
  widgets::TProgBar *pbMseBattery = nullptr;
  widgets::ThhALed *ledDev = nullptr;
  QLabel *lbl48 = nullptr;
  QLabel *lbl49 = nullptr;
  widgets::TCnAALabel *lblMseBattery = nullptr;
  skin::TsuiButton *btnCombo_Cmd_Soft_Bind_SW = nullptr;
  skin::TsuiEdit *edtCPI = nullptr;
  QListWidget *DevListBox = nullptr;
  widgets::THexEdit *edtVID = nullptr;
  skin::TsuiEdit *edtPID = nullptr;
  skin::TsuiButton *btnSystemStatus = nullptr;
  skin::TsuiButton *btnBattery = nullptr;
  skin::TsuiButton *btnCPI = nullptr;
  skin::TsuiImagePanel *imgLogo = nullptr;
  skin::TsuiImagePanel *imgMouse = nullptr;
  std::unique_ptr<hid::TJvHidDeviceController> JvHidDeviceController1;
  framework::Timer *tmrStatus = nullptr;
  framework::Timer *tmrSoftBind = nullptr;
  tray::TCoolTrayIcon *tray1 = nullptr;
  skin::TsuiPopupMenu *pmnTray = nullptr;
  skin::TMenuItem *mniLanguage = nullptr;
  skin::TMenuItem *mniEng = nullptr;
  skin::TMenuItem *mniCht = nullptr;
  skin::TMenuItem *mniChs = nullptr;
  skin::TMenuItem *mniConfigure = nullptr;
  skin::TMenuItem *mniHistory = nullptr;
  skin::TMenuItem *mniN2 = nullptr;
  skin::TMenuItem *mniBatteryInIcon = nullptr;
  skin::TMenuItem *mniN1 = nullptr;
  skin::TMenuItem *mniExit = nullptr;
};

} // namespace app
