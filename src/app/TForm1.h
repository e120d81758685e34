#pragma once

#include "app/BatteryHistoryWindow.h"
#include "app/FormAccessibility.h"
#include "app/FormComponents.h"
#include "app/FormLayout.h"
#include "app/PictureFiles.h"
#include "app/TaskbarEntry.h"
#include "framework/Fonts.h"
#include "framework/MessageLoop.h"
#include "hid/HidBinding.h"
#include "hid/HidTrace.h"
#include "platform/TrayBinding.h"
#include "platform/settings/SettingsStore.h"
#include "receiver/BatteryRecorder.h"
#include "receiver/Languages.h"
#include "receiver/Notifications.h"
#include "skin/SkinTypes.h"
#include "skin/TsuiThemeFileReader.h"
#include "tray/BatteryIcon.h"

#include <QRect>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace app {

class DesktopNotifier;
class FormLanguageView;
class FormReceiver;
class TraceWriter;

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
  // Default: the primary screen, which on a desktop of several need not start at 0,0.
  std::function<QRect()> PrimaryScreen;
  // A built-in look that replaces the window's own after its description is applied.
  std::optional<skin::TsuiUIStyle> Style;
  // A theme file, read already, whose look replaces the window's own in the same way; ThemeFile
  // is the name it was read under.
  std::unique_ptr<skin::TsuiThemeFileReader> Theme;
  QString ThemeFile;
  // The desktop's notification service, which calls `shown` once with whether it took the
  // message (the tray icon's message is used when not). Empty: none.
  std::function<void(const QString &title, const QString &body, std::function<void(bool shown)>)>
      DesktopNotify;
  // Where notifications are traced; may be null.
  TraceWriter *EventTrace = nullptr;
  // What the battery history window shows; empty: no history.
  BatteryHistorySource HistoryChart;
  // Records the battery history and gives the tip its time left; none: no history.
  receiver::BatteryRecorder *BatteryHistory = nullptr;
};

// The program's one window: a fixed 220 x 270 skinned frame with the LED, the pairing button,
// the CPI readout, the battery gauge and the logo, plus the tray icon and its menu. This file
// holds its start-up behaviour and event handlers; FormLayout and FormSkin its description, and
// the two Form*View adapters what the receiver and language logic see of it.
class TForm1 : public QWidget, public FormComponents {
  Q_OBJECT
public:
  static constexpr int FixedWidth = 220;
  static constexpr int FixedHeight = 270;
  static constexpr const char *Title = layout::Title;

  explicit TForm1(TForm1Services services);
  ~TForm1() override;

  receiver::Languages &Languages() { return m_languages; }
  const receiver::Languages &Languages() const { return m_languages; }
  framework::MessageLoop &Loop() { return m_services.Loop; }
  // The tray binding the icon talks to (owned by the icon).
  platform::TrayBinding *TrayBinding() const { return m_trayBinding; }
  // The visible CPI caption font (its size follows the language).
  const framework::FontDesc &CPILabelFont() const;
  // Scans the device list again, as a forced device-change notification does (after the
  // system wakes from sleep).
  void Rescan();
  // Whether a receiver answered and is in use.
  bool ReceiverConnected() const;
  // What the tray icon shows of the battery; none while it shows the program's picture.
  const std::optional<tray::BatteryIconState> &TrayBatteryShown() const { return m_batteryShown; }

  // The battery history window reads `source` from now on; an open one shows it at once.
  void SetBatteryHistorySource(BatteryHistorySource source);
  // An open battery history window reads its source again.
  void BatteryHistoryChanged();
  // Null until the tray menu first opened it.
  BatteryHistoryWindow *HistoryWindow() const { return m_historyWindow.get(); }

  // Puts the window where its minimise button would: in the tray, or minimised in the task bar
  // where no tray can show the icon.
  void ShowHidden();

  // Event handlers.
  void FormCreate();
  void FormResize();
  bool FormCloseQuery();
  void sfrm1TitleBarCustomBtnsClick(QObject *Sender, int ButtonIndex);
  void tray1DblClick(QObject *Sender);
  void mniExitClick(QObject *Sender);
  void mniLanguageClick(QObject *Sender);
  void mniBatteryInIconClick(QObject *Sender);
  void mniHistoryClick(QObject *Sender);
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
                                  const std::function<QString()> &currentDir, PictureFiles &files);

protected:
  void resizeEvent(QResizeEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  void showEvent(QShowEvent *event) override;

private:
  void updateTaskbarEntry(TaskbarWindow window);
  void createComponents();
  void connectEvents();
  void beginLoading();
  void loaded();
  void centre();
  // The tray tip, the tray icon and the accessible texts follow the readouts and the language.
  void readoutsChanged();
  // The battery while the menu item asks for it, else the program's own picture.
  void updateTrayIcon();
  // The history's menu item and window follow the language.
  void historyLanguageChanged();

  TForm1Services m_services;
  platform::TrayBinding *m_trayBinding = nullptr;
  receiver::Languages m_languages;
  std::unique_ptr<FormLanguageView> m_languageView;
  std::unique_ptr<DesktopNotifier> m_notifier;
  std::unique_ptr<receiver::NotificationPolicy> m_notificationPolicy;
  AnnouncedReadouts m_announced;
  // Destroyed by hand, after the controller: see the destructor.
  std::unique_ptr<FormReceiver> m_receiver;
  // What the tray icon shows of the battery; none while it shows the program's picture.
  std::optional<tray::BatteryIconState> m_batteryShown;
  // One at a time; closing hides it. Goes before the theme it may draw with.
  std::unique_ptr<BatteryHistoryWindow> m_historyWindow;
  // How many records the history held when the window last followed it.
  std::size_t m_historyRecordsSeen = 0;
};

} // namespace app

// The main window, set before its creation handler runs.
extern app::TForm1 *Form1;
