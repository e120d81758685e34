#include "app/TForm1.h"

#include "app/ApplicationFont.h"
#include "app/Artwork.h"
#include "app/BatteryInIcon.h"
#include "app/DesktopNotifier.h"
#include "app/DesktopTexts.h"
#include "app/FormAccessibility.h"
#include "app/FormLanguageView.h"
#include "app/FormReceiverView.h"
#include "app/FormSkin.h"
#include "app/PaintAhead.h"
#include "app/PictureFiles.h"
#include "app/TaskbarEntry.h"
#include "framework/Component.h"
#include "framework/Fonts.h"
#include "framework/Inherited.h"
#include "framework/Timer.h"
#include "platform/CodePage.h"
#include "skin/TMenuItem.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiImagePanel.h"
#include "skin/TsuiPopupMenu.h"
#include "tray/CoolTrayIcon.h"
#include "widgets/TCnAALabel.h"
#include "widgets/THexEdit.h"
#include "widgets/TProgBar.h"
#include "widgets/ThhALed.h"
#include "widgets/chart/ChartTexts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>

app::TForm1 *Form1 = nullptr;

namespace app {
namespace {

// Creates a component of the description under its name.
template <typename T, typename Owner> T *named(Owner *owner, const char *name) {
  T *const component = new T(owner);
  component->setObjectName(QLatin1String(name));
  return component;
}

} // namespace

TForm1::TForm1(TForm1Services services)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), m_services(std::move(services)),
      m_languages(m_services.Settings) {
  if (!m_services.AnsiCodePage) m_services.AnsiCodePage = &platform::AnsiCodePage;
  if (!m_services.CurrentDir) m_services.CurrentDir = [] { return QDir::currentPath(); };
  if (!m_services.PrimaryScreen)
    m_services.PrimaryScreen = [] {
      const QScreen *screen = QGuiApplication::primaryScreen();
      return screen ? screen->geometry() : QRect();
    };
  // A tool window has no task-bar button of its own, and closing it must still end the program.
  setAttribute(Qt::WA_QuitOnClose);
  Form1 = this;
  InstallFormAccessibility();
  // Qt's edit box lays out its empty text in the application's font while it is made: in the
  // window's font (the description's, set again by the layout) the edits load no font of their own.
  const ScopedApplicationFont windowFont(framework::MakeFont(layout::FormFont()));
  framework::SetFontDesc(*this, layout::FormFont());
  createComponents();
  m_languageView = std::make_unique<FormLanguageView>(*this);
  m_receiver = std::make_unique<FormReceiver>(*this, m_services.Loop, m_languages,
                                              [this] { readoutsChanged(); });
  m_notifier = std::make_unique<DesktopNotifier>(m_languages, m_services.DesktopNotify,
                                                 m_trayBinding, m_services.EventTrace);
  m_notificationPolicy = std::make_unique<receiver::NotificationPolicy>(*m_notifier);
  m_receiver->Logic().SetNotifications(m_notificationPolicy.get());
  m_receiver->Logic().SetBatteryRecorder(m_services.BatteryHistory);
  beginLoading();
  layout::Apply(*this, *this);
  skinning::Apply(*this);
  connectEvents();
  if (m_services.Theme) {
    auto *const theme = named<skin::TsuiFileTheme>(this, "FileTheme");
    theme->Adopt(m_services.ThemeFile, std::move(m_services.Theme));
    skinning::UserLook(*this, skin::TsuiUIStyle::FromThemeFile, theme);
  } else if (m_services.Style) {
    skinning::UserLook(*this, *m_services.Style);
  }
  loaded();
  FormCreate();
}

TForm1::~TForm1() {
  // The controller goes before the devices the receiver logic holds: each device handed back
  // to a live controller would make it open the interface again for a replacement.
  JvHidDeviceController1.reset();
  m_receiver.reset();
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::createComponents() {
  setObjectName(QStringLiteral("Form1"));
  // The window holds no other frame yet, so it is always made.
  sfrm1 = skin::TsuiForm::Create(this, skinning::FrameStyle);
  sfrm1->setObjectName(QStringLiteral("sfrm1"));
  lblCPI = named<QLabel>(sfrm1, "lblCPI");
  imgBattery = named<skin::TsuiImagePanel>(sfrm1, "imgBattery");
  imgBattEng = named<skin::TsuiImagePanel>(sfrm1, "imgBattEng");
  imgBattCht = named<skin::TsuiImagePanel>(sfrm1, "imgBattCht");
  imgBattChs = named<skin::TsuiImagePanel>(sfrm1, "imgBattChs");
  pbMseBattery = named<widgets::TProgBar>(sfrm1, "pbMseBattery");
  ledDev = named<widgets::ThhALed>(sfrm1, "ledDev");
  lbl48 = named<QLabel>(sfrm1, "lbl48");
  lbl49 = named<QLabel>(sfrm1, "lbl49");
  lblMseBattery = named<widgets::TCnAALabel>(sfrm1, "lblMseBattery");
  btnCombo_Cmd_Soft_Bind_SW = named<skin::TsuiButton>(sfrm1, "btnCombo_Cmd_Soft_Bind_SW");
  edtCPI = named<skin::TsuiEdit>(sfrm1, "edtCPI");
  DevListBox = named<QListWidget>(sfrm1, "DevListBox");
  edtVID = named<widgets::THexEdit>(sfrm1, "edtVID");
  edtPID = named<skin::TsuiEdit>(sfrm1, "edtPID");
  btnSystemStatus = named<skin::TsuiButton>(sfrm1, "btnSystemStatus");
  btnBattery = named<skin::TsuiButton>(sfrm1, "btnBattery");
  btnCPI = named<skin::TsuiButton>(sfrm1, "btnCPI");
  imgLogo = named<skin::TsuiImagePanel>(sfrm1, "imgLogo");
  imgMouse = named<skin::TsuiImagePanel>(sfrm1, "imgMouse");

  JvHidDeviceController1 = std::make_unique<hid::TJvHidDeviceController>(
      m_services.Binding, m_services.Loop, m_services.Trace);
  tmrStatus = named<framework::Timer>(this, "tmrStatus");
  tmrSoftBind = named<framework::Timer>(this, "tmrSoftBind");
  std::unique_ptr<platform::TrayBinding> trayBinding = std::move(m_services.TrayBinding);
  if (!trayBinding) trayBinding = platform::createTrayBinding();
  m_trayBinding = trayBinding.get();
  tray1 = new tray::TCoolTrayIcon(this, std::move(trayBinding), &m_services.Loop);
  tray1->setObjectName(QStringLiteral("tray1"));
  pmnTray = named<skin::TsuiPopupMenu>(this, "pmnTray");
}

void TForm1::connectEvents() {
  sfrm1->SetOnTitleBarCustomBtnsClick(
      skin::TsuiTitleBar::TsuiTitleBarButtonClickEvent::bind<&TForm1::sfrm1TitleBarCustomBtnsClick>(
          this));
  btnCombo_Cmd_Soft_Bind_SW->SetOnClick(
      skin::TNotifyEvent::bind<&TForm1::btnCombo_Cmd_Soft_Bind_SWClick>(this));
  btnSystemStatus->SetOnClick(skin::TNotifyEvent::bind<&TForm1::btnSystemStatusClick>(this));
  btnBattery->SetOnClick(skin::TNotifyEvent::bind<&TForm1::btnBatteryClick>(this));
  btnCPI->SetOnClick(skin::TNotifyEvent::bind<&TForm1::btnCPIClick>(this));
  JvHidDeviceController1->SetOnDeviceChange(
      hid::TNotifyEvent::bind<&TForm1::JvHidDeviceController1DeviceChange>(this));
  JvHidDeviceController1->SetOnEnumerate(
      hid::TJvHidEnumerateEvent::bind<&TForm1::JvHidDeviceController1Enumerate>(this));
  tmrStatus->SetOnTimer(framework::Timer::Event::bind<&TForm1::tmrStatusTimer>(this));
  tmrSoftBind->SetOnTimer(framework::Timer::Event::bind<&TForm1::tmrSoftBindTimer>(this));
  tray1->SetPopupMenu(pmnTray);
  tray1->SetOnDblClick(tray::TCoolTrayIcon::TNotifyEvent::bind<&TForm1::tray1DblClick>(this));
  const auto language = skin::TNotifyEvent::bind<&TForm1::mniLanguageClick>(this);
  for (skin::TMenuItem *item : {mniEng, mniCht, mniChs})
    item->SetOnClick(language);
  mniConfigure->SetOnClick(skin::TNotifyEvent::bind<&TForm1::tray1DblClick>(this));
  mniBatteryInIcon->SetOnClick(skin::TNotifyEvent::bind<&TForm1::mniBatteryInIconClick>(this));
  mniHistory->SetOnClick(skin::TNotifyEvent::bind<&TForm1::mniHistoryClick>(this));
  mniExit->SetOnClick(skin::TNotifyEvent::bind<&TForm1::mniExitClick>(this));
}

// The controller is the one component outside Qt's object tree; every other one is a child.
void TForm1::beginLoading() {
  JvHidDeviceController1->Loading();
  for (QObject *child : findChildren<QObject *>())
    if (auto *component = dynamic_cast<framework::Component *>(child)) component->BeginLoading();
}

void TForm1::loaded() {
  JvHidDeviceController1->Loaded();
  for (QObject *child : findChildren<QObject *>())
    if (auto *component = dynamic_cast<framework::Component *>(child)) component->Loaded();
}

const framework::FontDesc &TForm1::CPILabelFont() const {
  return m_languageView->CPILabelFont();
}

bool TForm1::ReceiverConnected() const {
  return m_receiver && m_receiver->Connection().CurrentReceiver() != nullptr;
}

void TForm1::readoutsChanged() {
  // Called while the window is still being built, before the tray icon exists.
  if (tray1 == nullptr || lblMseBattery == nullptr || edtCPI == nullptr ||
      mniBatteryInIcon == nullptr)
    return;
  QString timeLeft;
  if (receiver::BatteryRecorder *const history = m_services.BatteryHistory) {
    if (const receiver::BatteryOutlook &outlook = history->Outlook(); !outlook.Periods.empty())
      timeLeft = TimeLeftLine(outlook.SecondsLeft, m_languages.Language());
    // An open history window follows new records; reading them anew on every refresh would not.
    if (history->Records().size() != m_historyRecordsSeen) {
      m_historyRecordsSeen = history->Records().size();
      BatteryHistoryChanged();
    }
  }
  const QString tip = TrayTip(m_languages.Language(), ReceiverConnected(),
                              {lblMseBattery->Caption(), edtCPI->Text(), timeLeft});
  if (tip != tray1->Hint()) tray1->SetHint(tip);
  mniBatteryInIcon->SetCaption(BatteryInIconCaption(m_languages.Language()));
  updateTrayIcon();
  AnnounceReadouts(*this, m_announced);
}

void TForm1::updateTrayIcon() {
  if (!mniBatteryInIcon->Checked()) {
    if (m_batteryShown) tray1->SetIcon(ProgramIcon());
    m_batteryShown.reset();
    return;
  }
  // The gauge as the window shows it, so that the icon keeps the readouts' fill and colour rule.
  const tray::BatteryIconState state{ReceiverConnected(), static_cast<int>(pbMseBattery->Value()),
                                     static_cast<int>(pbMseBattery->Max()),
                                     pbMseBattery->ColorMin()};
  if (state == m_batteryShown) return;
  m_batteryShown = state;
  tray1->SetIcon(tray::BatteryIcon(state));
}

void TForm1::Rescan() {
  JvHidDeviceController1->PostForcedDeviceChange();
}

QPoint TForm1::CentredPosition(QSize screen, QSize window) {
  // C++ division truncates toward zero, as the window arithmetic requires.
  return QPoint(screen.width() / 2 - window.width() / 2, screen.height() / 2 - window.height() / 2);
}

void TForm1::centre() {
  const QRect screen = m_services.PrimaryScreen();
  move(screen.topLeft() + CentredPosition(screen.size(), size()));
}

bool TForm1::LoadOptionalPicture(skin::TsuiImagePanel &panel, const QString &name,
                                 const std::function<QString()> &currentDir, PictureFiles &files) {
  using framework::PictureFormat;
  const struct {
    const char *extension;
    std::optional<PictureFormat> format; // none: no reader belongs to the program
  } candidates[] = {{"gif", PictureFormat::Gif}, {"bmp", PictureFormat::Bmp}, {"jpg", {}}};
  for (const auto &candidate : candidates) {
    const std::optional<QString> path = files.Find(
        currentDir(), QStringLiteral("%1.%2").arg(name, QLatin1String(candidate.extension)));
    // A JPEG file is skipped like a damaged one.
    if (path && candidate.format && panel.LoadPicture(*path, *candidate.format)) return true;
  }
  return false;
}

void TForm1::FormCreate() {
  FormResize();
  centre();
  updateTaskbarEntry(TaskbarWindow::Unmapped);
  JvHidDeviceController1->SetOnDeviceChange(
      hid::TNotifyEvent::bind<&TForm1::JvHidDeviceController1DeviceChange>(this));

  // The custom button looks and hot-tracks like the hidden minimise button.
  skin::TsuiTitleBarButton *minimise = sfrm1->TitleBarButtons().Items(3);
  skin::TsuiTitleBarButton *custom = sfrm1->TitleBarButtons().Items(4);
  if (minimise && custom) {
    custom->SetPicNormal(minimise->PicNormal());
    custom->SetPicMouseOn(minimise->PicMouseOn());
    custom->SetPicMouseDown(minimise->PicMouseDown());
  }

  PlaceBatteryPictures();
  m_languages.LoadLanguage(m_services.AnsiCodePage(), *m_languageView);
  m_languages.ApplyLanguage(*m_languageView);
  mniBatteryInIcon->SetChecked(LoadBatteryInIcon(m_services.Settings));
  historyLanguageChanged();
  readoutsChanged();
  PictureFiles pictureFiles;
  LoadOptionalPicture(*imgMouse, QStringLiteral("Mouse"), m_services.CurrentDir, pictureFiles);
  LoadOptionalPicture(*imgLogo, QStringLiteral("Logo"), m_services.CurrentDir, pictureFiles);
  // The controller's first scan, posted at its creation, runs here; the pauses of its exchanges
  // draw the window ahead of its first paint.
  m_services.Loop.SetPauseWork(PaintAhead(*this));
  m_services.Loop.processPendingMessages();
  m_services.Loop.SetPauseWork({});
  centre();
}

void TForm1::FormResize() {
  setFixedSize(FixedWidth, FixedHeight);
  resize(FixedWidth, FixedHeight);
  sfrm1->FormResized();
}

bool TForm1::FormCloseQuery() {
  return true;
}

void TForm1::PlaceBatteryPictures() {
  imgBattery->setVisible(false);
  for (skin::TsuiImagePanel *picture : {imgBattCht, imgBattChs, imgBattEng})
    picture->move(imgBattery->pos());
}

void TForm1::updateTaskbarEntry(TaskbarWindow window) {
  // The tray is the program's way back to its window; without one the task bar must keep it.
  SetTaskbarEntry(*this, !tray1->IconReachable(), window);
}

void TForm1::sfrm1TitleBarCustomBtnsClick(QObject *, int) {
  ShowHidden();
}

void TForm1::ShowHidden() {
  // A desktop without a notification area could never give a hidden window back: the window is
  // minimised to the task bar instead, where it keeps its button.
  if (!tray1->IconReachable()) {
    // A window kept off the task bar while a tray was there gets its button back first.
    if (isVisible()) SetTaskbarEntry(*this, true, TaskbarWindow::Mapped);
    tray1->ShowOwnerMinimized();
    return;
  }
  setVisible(false);
  tray1->SetMinimizeToTray(true);
}

void TForm1::tray1DblClick(QObject *) {
  // Brought forward means seen: a window the window manager minimised meanwhile has no task-bar
  // button to come back by while the tray is there.
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
  setVisible(true);
  tray1->SetMinimizeToTray(false);
}

void TForm1::mniExitClick(QObject *) {
  close();
}

void TForm1::mniLanguageClick(QObject *Sender) {
  if (Sender) m_languages.mniLanguageClick(Sender->objectName().toStdString(), *m_languageView);
  historyLanguageChanged();
  readoutsChanged();
}

void TForm1::mniBatteryInIconClick(QObject *) {
  // The item turned its mark over at the click.
  SaveBatteryInIcon(m_services.Settings, mniBatteryInIcon->Checked());
  updateTrayIcon();
}

void TForm1::historyLanguageChanged() {
  mniHistory->SetCaption(widgets::chart::HistoryMenuCaption(m_languages.Language()));
  if (m_historyWindow) m_historyWindow->SetLanguage(m_languages.Language());
}

void TForm1::mniHistoryClick(QObject *) {
  if (!m_historyWindow) {
    m_historyWindow = std::make_unique<BatteryHistoryWindow>(sfrm1->UIStyle(), sfrm1->FileTheme());
    const QRect screen = m_services.PrimaryScreen();
    m_historyWindow->move(screen.topLeft() +
                          CentredPosition(screen.size(), m_historyWindow->size()));
  }
  m_historyWindow->SetData(ReadBatteryHistory(m_services.HistoryChart, m_languages.Language()));
  m_historyWindow->setWindowState(m_historyWindow->windowState() & ~Qt::WindowMinimized);
  m_historyWindow->show();
  m_historyWindow->raise();
  m_historyWindow->activateWindow();
}

void TForm1::SetBatteryHistorySource(BatteryHistorySource source) {
  m_services.HistoryChart = std::move(source);
  BatteryHistoryChanged();
}

void TForm1::BatteryHistoryChanged() {
  if (m_historyWindow && m_historyWindow->isVisible())
    m_historyWindow->SetData(ReadBatteryHistory(m_services.HistoryChart, m_languages.Language()));
}

void TForm1::JvHidDeviceController1DeviceChange(hid::TJvHidDeviceController *) {
  m_receiver->Logic().JvHidDeviceController1DeviceChange();
}
bool TForm1::JvHidDeviceController1Enumerate(hid::TJvHidDevice *, std::int32_t) {
  return true;
}
void TForm1::btnSystemStatusClick(QObject *) {
  m_receiver->Logic().btnSystemStatusClick();
}
void TForm1::btnBatteryClick(QObject *) {
  m_receiver->Logic().btnBatteryClick();
}
void TForm1::btnCPIClick(QObject *) {
  m_receiver->Logic().btnCPIClick();
}
void TForm1::tmrStatusTimer(framework::Timer *) {
  m_receiver->Logic().tmrStatusTimer();
}
void TForm1::btnCombo_Cmd_Soft_Bind_SWClick(QObject *) {
  m_receiver->Logic().btnCombo_Cmd_Soft_Bind_SWClick();
}
void TForm1::tmrSoftBindTimer(framework::Timer *) {
  m_receiver->Logic().tmrSoftBindTimer();
}

void TForm1::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  if (size() != QSize(FixedWidth, FixedHeight)) FormResize();
}

void TForm1::closeEvent(QCloseEvent *event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  event->accept();
  // Closing the main window ends the program, tool window or not.
  QCoreApplication::quit();
}

void TForm1::showEvent(QShowEvent *event) {
  // The window manager forgets the state of a withdrawn window; tell it again before mapping.
  const bool mapped = event->spontaneous();
  updateTaskbarEntry(mapped ? TaskbarWindow::Mapped : TaskbarWindow::Unmapped);
  if (!mapped && !isMinimized()) MapInNormalState(*this);
  QWidget::showEvent(event);
}

} // namespace app
