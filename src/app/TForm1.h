#pragma once

#include "framework/Colors.h"
#include "framework/Fonts.h"
#include "framework/MessageLoop.h"
#include "framework/Timer.h"
#include "hid/HidBinding.h"
#include "hid/HidTrace.h"
#include "hid/JvHidDeviceController.h"
#include "platform/TrayBinding.h"
#include "platform/settings/SettingsStore.h"
#include "receiver/Languages.h"

#include <QLabel>
#include <QListWidget>
#include <QSize>
#include <QWidget>

#include <functional>
#include <memory>

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

class FormReceiver;

// What the main window is built on. The binding, loop, trace and settings must outlive it.
struct TForm1Services {
  TForm1Services(hid::HidBinding &binding, framework::MessageLoop &loop,
                 platform::SettingsStore &settings, hid::HidTrace *trace = nullptr)
      : Binding(binding), Loop(loop), Settings(settings), Trace(trace) {}

  hid::HidBinding &Binding;
  framework::MessageLoop &Loop;
  platform::SettingsStore &Settings;
  hid::HidTrace *Trace = nullptr;
  // Null: the platform's own.
  std::unique_ptr<platform::TrayBinding> TrayBinding;
  std::function<int()> AnsiCodePage;   // default: from the locale
  std::function<QString()> CurrentDir; // default: the process's current directory
  std::function<QSize()> ScreenSize;   // default: the primary screen
};

// The program's one window: a fixed 220 x 270 skinned frame with the LED, the pairing button,
// the CPI readout, the battery gauge and the logo, plus the tray icon and its menu.
class TForm1 : public QWidget, public receiver::LanguageView {
  Q_OBJECT
public:
  static constexpr int FixedWidth = 220;
  static constexpr int FixedHeight = 270;
  static constexpr const char *Title = "Quelvane v1.6";

  explicit TForm1(TForm1Services services);
  ~TForm1() override;

  // Components, in description order; owned by the window.
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
  skin::TMenuItem *mniN1 = nullptr;
  skin::TMenuItem *mniExit = nullptr;

  receiver::Languages &Languages() { return m_languages; }
  framework::MessageLoop &Loop() { return m_services.Loop; }
  // The tray binding the icon talks to (owned by the icon).
  platform::TrayBinding *TrayBinding() const { return m_trayBinding; }
  // The visible CPI caption font (its size follows the language).
  const framework::FontDesc &CPILabelFont() const { return m_lblCPIFont; }

  // Event handlers.
  void FormCreate();
  void FormResize();
  bool FormCloseQuery();
  void sfrm1TitleBarCustomBtnsClick(QObject *Sender, int ButtonIndex);
  void tray1DblClick(QObject *Sender);
  void mniExitClick(QObject *Sender);
  void mniLanguageClick(QObject *Sender);
  void PlaceBatteryPictures();
  // Left to the receiver logic.
  void JvHidDeviceController1DeviceChange(hid::TJvHidDeviceController *Sender);
  bool JvHidDeviceController1Enumerate(hid::TJvHidDevice *HidDev, std::int32_t Idx);
  void btnSystemStatusClick(QObject *Sender);
  void btnBatteryClick(QObject *Sender);
  void btnCPIClick(QObject *Sender);
  void tmrStatusTimer(framework::Timer *Sender);
  void btnCombo_Cmd_Soft_Bind_SWClick(QObject *Sender);
  void tmrSoftBindTimer(framework::Timer *Sender);

  // Left and Top that centre a window of this size on a screen of `screen` (div truncates
  // toward zero).
  static QPoint CentredPosition(QSize screen, QSize window);
  // Loads the first readable "<dir>/<name>.<ext>" into `panel`, extensions gif, bmp, jpg in that
  // order (jpg has no reader and is always skipped); the directory is asked anew for each.
  static bool LoadOptionalPicture(skin::TsuiImagePanel &panel, const QString &name,
                                  const std::function<QString()> &currentDir);

  // receiver::LanguageView
  void SetLanguageItemChecked(receiver::TLngID item, bool checked) override;
  void SetBatteryPictureVisible(receiver::TLngID picture, bool visible) override;
  void SetCPILabelFontSize(int points) override;
  void SetCPILabelTop(int top) override;
  void SetCPIBoxLeft(int left) override;
  void SetCPIBoxHeight(int height) override;
  void SetCPILabelCaption(const receiver::TermText &text) override;
  void SetPairingButtonCaption(const receiver::TermText &text) override;
  void SetExitCaption(const receiver::TermText &text) override;
  void SetShowCaption(const receiver::TermText &text) override;
  bool PairingTimerRunning() const override;

protected:
  void resizeEvent(QResizeEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  void showEvent(QShowEvent *event) override;

private:
  void hideTaskbarButton();
  void createComponents();
  void applyProperties();
  void loaded();
  void centre();
  void setLabelFont(QLabel &label, const framework::FontDesc &font);

  TForm1Services m_services;
  platform::TrayBinding *m_trayBinding = nullptr;
  receiver::Languages m_languages;
  framework::FontDesc m_lblCPIFont;
  // Destroyed by hand, after the controller: see the destructor.
  std::unique_ptr<FormReceiver> m_receiver;
};

} // namespace app

// The main window, set before its creation handler runs.
extern app::TForm1 *Form1;
