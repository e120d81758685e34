#include "app/TForm1.h"

#include "app/FormReceiverView.h"
#include "app/TaskbarEntry.h"
#include "platform/CodePage.h"
#include "platform/TextDecoding.h"
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

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>

app::TForm1 *Form1 = nullptr;

// The pictures live in a static library, whose resource registration must be pulled in by hand.
static void initArtwork() {
  Q_INIT_RESOURCE(app);
}

namespace app {
namespace {

using framework::FontDesc;
using receiver::TLngID;

QImage art(const char *name) {
  return QImage(QStringLiteral(":/app/") + QLatin1String(name));
}

QIcon programIcon() {
  QIcon icon;
  for (int size : {16, 22, 32, 48, 64})
    icon.addFile(QStringLiteral(":/app/icon_%1.png").arg(size), QSize(size, size));
  return icon;
}

QString decode(const receiver::TermText &text) {
  return platform::DecodeText(text.Bytes, text.CodePage);
}

// Points to pixels at 96 dots per inch, rounded as the platform's MulDiv rounds.
int pointsToHeight(int points) {
  return -((points * 96 + 36) / 72);
}

constexpr framework::TColor FormColor = 0xFBFBFB;

} // namespace

TForm1::TForm1(TForm1Services services)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), m_services(std::move(services)),
      m_languages(m_services.Settings) {
  if (!m_services.AnsiCodePage) m_services.AnsiCodePage = &platform::AnsiCodePage;
  if (!m_services.CurrentDir) m_services.CurrentDir = [] { return QDir::currentPath(); };
  if (!m_services.ScreenSize)
    m_services.ScreenSize = [] {
      const QScreen *screen = QGuiApplication::primaryScreen();
      return screen ? screen->geometry().size() : QSize();
    };
  // A tool window has no task-bar button of its own, and closing it must still end the program.
  setAttribute(Qt::WA_QuitOnClose);
  initArtwork();
  Form1 = this;
  createComponents();
  m_receiver = std::make_unique<FormReceiver>(*this);
  applyProperties();
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
  sfrm1 = new skin::TsuiForm(this);
  lblCPI = new QLabel(sfrm1);
  imgBattery = new skin::TsuiImagePanel(sfrm1);
  imgBattEng = new skin::TsuiImagePanel(sfrm1);
  imgBattCht = new skin::TsuiImagePanel(sfrm1);
  imgBattChs = new skin::TsuiImagePanel(sfrm1);
  pbMseBattery = new widgets::TProgBar(sfrm1);
  ledDev = new widgets::ThhALed(sfrm1);
  lbl48 = new QLabel(sfrm1);
  lbl49 = new QLabel(sfrm1);
  lblMseBattery = new widgets::TCnAALabel(sfrm1);
  btnCombo_Cmd_Soft_Bind_SW = new skin::TsuiButton(sfrm1);
  edtCPI = new skin::TsuiEdit(sfrm1);
  DevListBox = new QListWidget(sfrm1);
  edtVID = new widgets::THexEdit(sfrm1);
  edtPID = new skin::TsuiEdit(sfrm1);
  btnSystemStatus = new skin::TsuiButton(sfrm1);
  btnBattery = new skin::TsuiButton(sfrm1);
  btnCPI = new skin::TsuiButton(sfrm1);
  imgLogo = new skin::TsuiImagePanel(sfrm1);
  imgMouse = new skin::TsuiImagePanel(sfrm1);

  JvHidDeviceController1 = std::make_unique<hid::TJvHidDeviceController>(
      m_services.Binding, m_services.Loop, m_services.Trace);
  JvHidDeviceController1->Loading();
  tmrStatus = new framework::Timer(this);
  tmrSoftBind = new framework::Timer(this);
  std::unique_ptr<platform::TrayBinding> trayBinding = std::move(m_services.TrayBinding);
  if (!trayBinding) trayBinding = platform::createTrayBinding();
  m_trayBinding = trayBinding.get();
  tray1 = new tray::TCoolTrayIcon(this, std::move(trayBinding), &m_services.Loop);
  pmnTray = new skin::TsuiPopupMenu(this);

  const std::pair<QObject *, const char *> names[] = {
      {sfrm1, "sfrm1"},
      {lblCPI, "lblCPI"},
      {imgBattery, "imgBattery"},
      {imgBattEng, "imgBattEng"},
      {imgBattCht, "imgBattCht"},
      {imgBattChs, "imgBattChs"},
      {pbMseBattery, "pbMseBattery"},
      {ledDev, "ledDev"},
      {lbl48, "lbl48"},
      {lbl49, "lbl49"},
      {lblMseBattery, "lblMseBattery"},
      {btnCombo_Cmd_Soft_Bind_SW, "btnCombo_Cmd_Soft_Bind_SW"},
      {edtCPI, "edtCPI"},
      {DevListBox, "DevListBox"},
      {edtVID, "edtVID"},
      {edtPID, "edtPID"},
      {btnSystemStatus, "btnSystemStatus"},
      {btnBattery, "btnBattery"},
      {btnCPI, "btnCPI"},
      {imgLogo, "imgLogo"},
      {imgMouse, "imgMouse"},
      {tmrStatus, "tmrStatus"},
      {tmrSoftBind, "tmrSoftBind"},
      {tray1, "tray1"},
      {pmnTray, "pmnTray"},
  };
  for (const auto &[object, name] : names)
    object->setObjectName(QLatin1String(name));
  setObjectName(QStringLiteral("Form1"));
}

void TForm1::setLabelFont(QLabel &label, const FontDesc &font) {
  label.setFont(framework::MakeFont(font));
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, framework::ToQColor(font.Color));
  label.setPalette(palette);
}

void TForm1::applyProperties() {
  using namespace framework;
  using skin::TsuiUIStyle;

  // The window.
  setWindowTitle(QLatin1String(Title));
  setMinimumSize(130, 50);
  setFont(MakeFont(FontDesc{}));
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, ToQColor(clBtnFace));
  setPalette(palette);
  setWindowIcon(programIcon());
  move(454, 252);

  // The frame and its title bar.
  sfrm1->SetUIStyle(TsuiUIStyle::Protein);
  sfrm1->SetUIStyleAutoUpdateSub(false);
  sfrm1->SetTitleBarCustom(false);
  sfrm1->SetBorderColor(clBlack);
  sfrm1->SetBorderWidth(1);
  sfrm1->SetColor(FormColor);
  sfrm1->SetCaption(QLatin1String(Title));
  sfrm1->SetFont(FontDesc{QStringLiteral("Tahoma"), -13, true, false, false, clWhite});
  sfrm1->SetTitleBarDrawAppIcon(false);
  sfrm1->SetMenuBarColor(FormColor);
  sfrm1->SetMenuBarHeight(22);
  sfrm1->SetRoundCorner(0);
  sfrm1->SetRoundCornerBottom(0);
  sfrm1->SetVersion(QStringLiteral("5.8"));
  sfrm1->SetOnTitleBarCustomBtnsClick(
      skin::TsuiTitleBar::TsuiTitleBarButtonClickEvent::bind<&TForm1::sfrm1TitleBarCustomBtnsClick>(
          this));
  struct StoredButton {
    skin::TsuiTitleBarBtnType type;
    bool visible;
    const char *pictures; // "close", "min" or none
  };
  const StoredButton storedButtons[] = {
      {skin::TsuiTitleBarBtnType::suiControlBox, false, nullptr},
      {skin::TsuiTitleBarBtnType::suiClose, true, "close"},
      {skin::TsuiTitleBarBtnType::suiMax, false, nullptr},
      {skin::TsuiTitleBarBtnType::suiMin, false, "min"},
      {skin::TsuiTitleBarBtnType::suiCustom, true, nullptr},
  };
  sfrm1->TitleBarButtons().Clear();
  for (const StoredButton &stored : storedButtons) {
    skin::TsuiTitleBarButton &button = sfrm1->TitleBarButtons().Add();
    button.SetUIStyle(TsuiUIStyle::Protein);
    button.SetButtonType(stored.type);
    button.SetTransparent(true);
    button.SetTop(2);
    button.SetVisible(stored.visible);
    if (stored.pictures) {
      const QString base = QStringLiteral("title_%1_").arg(QLatin1String(stored.pictures));
      button.SetPicNormal(art(qPrintable(base + QStringLiteral("normal.bmp"))));
      button.SetPicMouseOn(art(qPrintable(base + QStringLiteral("mouseon.bmp"))));
      button.SetPicMouseDown(art(qPrintable(base + QStringLiteral("mousedown.bmp"))));
    }
  }
  sfrm1->TitleBarSections().Clear();
  struct StoredSection {
    bool autoSize;
    int width;
    skin::TsuiTitleBarAlign align;
    const char *picture;
    bool stretch;
  };
  const StoredSection storedSections[] = {
      {true, 441, skin::TsuiTitleBarAlign::suiLeft, "title_left.bmp", false},
      {true, 1, skin::TsuiTitleBarAlign::suiRight, "title_right.bmp", false},
      {false, 10, skin::TsuiTitleBarAlign::suiClient, "title_client.bmp", true},
  };
  for (const StoredSection &stored : storedSections) {
    skin::TsuiTitleBarSection &section = sfrm1->TitleBarSections().Add();
    section.SetAutoSize(stored.autoSize);
    section.SetWidth(stored.width);
    section.SetAlign(stored.align);
    section.SetPicture(art(stored.picture));
    section.SetStretch(stored.stretch);
  }

  // Controls inside the frame.
  lblCPI->setGeometry(5, 125, 52, 16);
  lblCPI->setText(QStringLiteral("CPI"));
  m_lblCPIFont = FontDesc{QStringLiteral("MS Sans Serif"), -16, true, false, false, clBlack};
  setLabelFont(*lblCPI, m_lblCPIFont);
  lblCPI->setAttribute(Qt::WA_TranslucentBackground);

  const std::pair<skin::TsuiImagePanel *, QRect> batteries[] = {
      {imgBattery, QRect(132, 23, 74, 174)},
      {imgBattEng, QRect(324, 233, 74, 174)},
      {imgBattCht, QRect(439, 235, 74, 174)},
      {imgBattChs, QRect(324, 42, 74, 174)},
  };
  const char *batteryArt[] = {"battery_eng.bmp", "battery_eng.bmp", "battery_cht.bmp",
                              "battery_chs.bmp"};
  for (std::size_t i = 0; i < std::size(batteries); ++i) {
    skin::TsuiImagePanel &picture = *batteries[i].first;
    picture.setGeometry(batteries[i].second);
    picture.SetAutoSize(true);
    picture.SetTransparent(true);
    picture.SetDrawStyle(skin::TsuiDrawStyle::suiNormal);
    picture.SetPicture(art(batteryArt[i]));
  }

  pbMseBattery->BeginLoading();
  pbMseBattery->SetBounds(150, 72, 24, 105);
  pbMseBattery->SetColorBackGnd(0x1B192C);
  pbMseBattery->SetColorMapMode(widgets::TColorMapping::cgmStretch);
  pbMseBattery->SetColorGrid(clBlack);
  pbMseBattery->SetColorMargin(clBlack);
  pbMseBattery->SetColorScheme(widgets::TColorScheme::csBWG);
  pbMseBattery->SetColorMin(clRed);
  pbMseBattery->SetColorMax(clLime);
  pbMseBattery->SetFont(
      FontDesc{QStringLiteral("MS Sans Serif"), -13, true, false, false, clWhite});
  pbMseBattery->SetFrameStyleOuter(widgets::TFrameStyle::fsRaised);
  pbMseBattery->SetFrameStyleInner(widgets::TFrameStyle::fsRaised);
  pbMseBattery->SetGridDist(10);
  pbMseBattery->SetMarginBottom(1);
  pbMseBattery->SetMarginLeft(1);
  pbMseBattery->SetMarginRight(1);
  pbMseBattery->SetMarginTop(1);
  pbMseBattery->SetMax(100);
  pbMseBattery->SetDirection(widgets::TProgBarDirection::pbdUpward);
  pbMseBattery->SetShowColorGradient(false);
  pbMseBattery->SetTextAlignment(TAlignment::taCenter);
  pbMseBattery->SetTextAngle(90);
  pbMseBattery->SetTextDecPlaces(0);
  pbMseBattery->SetTextPosX(0);
  pbMseBattery->SetTextPosY(10);
  pbMseBattery->SetTextVisible(false);
  pbMseBattery->SetValue(50);

  ledDev->BeginLoading();
  ledDev->SetBounds(5, 80, 22, 22);
  ledDev->setCursor(Qt::ArrowCursor);
  ledDev->SetBorderColor(clBackground);
  ledDev->SetBlink(false);
  ledDev->SetValue(true);
  ledDev->SetLEDStyle(widgets::TLEDStyle::LEDLarge);

  const FontDesc smallLabel{QStringLiteral("MS Sans Serif"), -13, false, false, false, clBlack};
  lbl48->setGeometry(565, 110, 22, 16);
  lbl48->setText(QStringLiteral("VID"));
  setLabelFont(*lbl48, smallLabel);
  lbl49->setGeometry(566, 133, 22, 16);
  lbl49->setText(QStringLiteral("PID"));
  setLabelFont(*lbl49, smallLabel);

  lblMseBattery->BeginLoading();
  lblMseBattery->SetBounds(151, 179, 27, 16);
  lblMseBattery->SetCaption(QStringLiteral("50%"));
  lblMseBattery->SetFont(
      FontDesc{QStringLiteral("MS Sans Serif"), -13, true, false, false, clWhite});
  widgets::TCnAAFontEffect effect = lblMseBattery->Effect();
  effect.Transparent = true;
  lblMseBattery->SetEffect(effect);

  const auto styleButton = [](skin::TsuiButton &button) {
    button.SetUIStyle(TsuiUIStyle::MacOS);
    button.SetTransparent(true);
    button.SetAutoSize(false);
    button.SetModalResult(0);
    button.SetFocusedRectMargin(2);
    button.SetLayout(skin::TButtonLayout::blGlyphLeft);
    button.SetSpacing(4);
    button.SetMouseContinuouslyDownInterval(100);
  };
  btnCombo_Cmd_Soft_Bind_SW->setGeometry(30, 78, 97, 27);
  styleButton(*btnCombo_Cmd_Soft_Bind_SW);
  btnCombo_Cmd_Soft_Bind_SW->SetCaption(QStringLiteral("&Connecting"));
  btnCombo_Cmd_Soft_Bind_SW->SetFont(
      FontDesc{QStringLiteral("MS Sans Serif"), -16, true, false, false, clBlue});
  btnCombo_Cmd_Soft_Bind_SW->SetDefault(true);
  btnCombo_Cmd_Soft_Bind_SW->SetTabOrder(5);
  btnCombo_Cmd_Soft_Bind_SW->SetOnClick(
      skin::TNotifyEvent::bind<&TForm1::btnCombo_Cmd_Soft_Bind_SWClick>(this));

  const auto styleEdit = [](skin::TsuiEdit &edit) {
    edit.SetUIStyle(TsuiUIStyle::MacOS);
    edit.SetBorderColor(0x7F7F7F);
  };
  edtCPI->setGeometry(40, 123, 53, 22);
  styleEdit(*edtCPI);
  edtCPI->SetTabStop(false);
  edtCPI->SetColor(clMoneyGreen);
  edtCPI->SetFont(FontDesc{QStringLiteral("MS Sans Serif"), -16, true, false, false, clWindowText});
  edtCPI->SetReadOnly(true);
  edtCPI->SetTabOrder(8);
  edtCPI->SetText(QStringLiteral("HIGH"));

  DevListBox->setGeometry(650, 35, 60, 49);
  DevListBox->setVisible(false);

  edtVID->setGeometry(597, 107, 37, 19);
  styleEdit(*edtVID);
  edtVID->SetAlignment(TAlignment::taLeftJustify);
  edtVID->SetColor(clMoneyGreen);
  edtVID->SetReadOnly(true);
  edtVID->SetTabOrder(6);

  edtPID->setGeometry(597, 132, 37, 19);
  styleEdit(*edtPID);
  edtPID->SetColor(clMoneyGreen);
  edtPID->SetTabOrder(9);

  const struct {
    skin::TsuiButton *button;
    QRect bounds;
    const char *caption;
    int tabOrder;
    skin::TNotifyEvent onClick;
  } queryButtons[] = {
      {btnSystemStatus, QRect(718, 33, 99, 30), "System Status", 1,
       skin::TNotifyEvent::bind<&TForm1::btnSystemStatusClick>(this)},
      {btnBattery, QRect(720, 72, 63, 30), "Battery", 4,
       skin::TNotifyEvent::bind<&TForm1::btnBatteryClick>(this)},
      {btnCPI, QRect(722, 115, 63, 30), "CPI", 7,
       skin::TNotifyEvent::bind<&TForm1::btnCPIClick>(this)},
  };
  for (const auto &query : queryButtons) {
    query.button->setGeometry(query.bounds);
    styleButton(*query.button);
    query.button->SetCaption(QLatin1String(query.caption));
    query.button->SetFont(FontDesc{});
    query.button->SetTabOrder(query.tabOrder);
    query.button->SetOnClick(query.onClick);
  }

  imgLogo->setGeometry(2, 196, 212, 70);
  imgLogo->SetTransparent(true);
  imgLogo->SetDrawStyle(skin::TsuiDrawStyle::suiStretch);
  imgLogo->SetAutoSize(false);
  imgLogo->SetPicture(art("logo.png"));
  imgLogo->SetTabOrder(10);

  imgMouse->setGeometry(436, 56, 124, 145);
  imgMouse->SetTransparent(true);
  imgMouse->SetDrawStyle(skin::TsuiDrawStyle::suiStretch);
  imgMouse->SetAutoSize(true);
  imgMouse->SetPicture(art("mouse.png"));
  imgMouse->SetTabOrder(3);

  // Tab order as stored: 1 btnSystemStatus ... 10 imgLogo.
  QWidget *const tabOrder[] = {
      btnSystemStatus, DevListBox, imgMouse, btnBattery, btnCombo_Cmd_Soft_Bind_SW,
      edtVID,          btnCPI,     edtCPI,   edtPID,     imgLogo};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i)
    QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

  // Components without a place in the window.
  JvHidDeviceController1->SetOnDeviceChange(
      hid::TNotifyEvent::bind<&TForm1::JvHidDeviceController1DeviceChange>(this));
  JvHidDeviceController1->SetOnEnumerate(
      hid::TJvHidEnumerateEvent::bind<&TForm1::JvHidDeviceController1Enumerate>(this));
  for (framework::Timer *timer : {tmrStatus, tmrSoftBind}) {
    timer->SetEnabled(false);
    timer->SetInterval(1000);
  }
  tmrStatus->SetOnTimer(framework::Timer::Event::bind<&TForm1::tmrStatusTimer>(this));
  tmrSoftBind->SetOnTimer(framework::Timer::Event::bind<&TForm1::tmrSoftBindTimer>(this));

  tray1->SetHint(QStringLiteral("Tarnovel v1.0"));
  tray1->SetIcon(programIcon());
  tray1->SetIconIndex(0);
  tray1->SetCycleInterval(0);
  tray1->SetPopupMenu(pmnTray);
  tray1->SetOnDblClick(tray::TCoolTrayIcon::TNotifyEvent::bind<&TForm1::tray1DblClick>(this));

  pmnTray->SetUIStyle(TsuiUIStyle::WinXP);
  pmnTray->SetOwnerDraw(true);
  pmnTray->SetMenuItemHeight(21);
  pmnTray->SetSeparatorHeight(5);
  pmnTray->SetBarWidth(20);
  pmnTray->SetBarColor(0xCED3D6);
  pmnTray->SetColor(0xCED3D6);
  pmnTray->SetSeparatorColor(0x848284);
  pmnTray->SetSelectedBorderColor(0xC66931);
  pmnTray->SetSelectedColor(0xEFD3C6);
  pmnTray->SetSelectedFontColor(clBlack);
  pmnTray->SetFontColor(clBlack);
  pmnTray->SetBorderColor(clBlack);
  pmnTray->SetFlatMenu(false);
  pmnTray->SetFontName(QStringLiteral("MS Sans Serif"));
  pmnTray->SetFontSize(8);
  pmnTray->SetUseSystemFont(true);

  const auto language = skin::TNotifyEvent::bind<&TForm1::mniLanguageClick>(this);
  mniLanguage = pmnTray->Items().Add(QStringLiteral("mniLanguage"), QStringLiteral("Language"));
  mniEng = mniLanguage->Add(QStringLiteral("mniEng"), QStringLiteral("English"));
  mniCht = mniLanguage->Add(QStringLiteral("mniCht"), QStringLiteral("Chinese(Traditional)"));
  mniChs = mniLanguage->Add(QStringLiteral("mniChs"), QStringLiteral("Chinese(Simplified)"));
  for (skin::TMenuItem *item : {mniEng, mniCht, mniChs})
    item->SetOnClick(language);
  mniConfigure =
      pmnTray->Items().Add(QStringLiteral("mniConfigure"), QStringLiteral("Configure..."));
  mniConfigure->SetOnClick(skin::TNotifyEvent::bind<&TForm1::tray1DblClick>(this));
  mniN1 = pmnTray->Items().Add(QStringLiteral("mniN1"), QStringLiteral("-"));
  mniExit = pmnTray->Items().Add(QStringLiteral("mniExit"), QStringLiteral("&Exit"));
  mniExit->SetOnClick(skin::TNotifyEvent::bind<&TForm1::mniExitClick>(this));
}

void TForm1::loaded() {
  pbMseBattery->Loaded();
  ledDev->Loaded();
  lblMseBattery->Loaded();
  JvHidDeviceController1->Loaded();
  tray1->Loaded();
}

QPoint TForm1::CentredPosition(QSize screen, QSize window) {
  // C++ division truncates toward zero, as the window arithmetic requires.
  return QPoint(screen.width() / 2 - window.width() / 2, screen.height() / 2 - window.height() / 2);
}

void TForm1::centre() {
  move(CentredPosition(m_services.ScreenSize(), size()));
}

bool TForm1::LoadOptionalPicture(skin::TsuiImagePanel &panel, const QString &name,
                                 const std::function<QString()> &currentDir) {
  for (const char *extension : {"gif", "bmp", "jpg"}) {
    const QString path =
        QStringLiteral("%1/%2.%3").arg(currentDir(), name, QLatin1String(extension));
    if (!QFileInfo::exists(path)) continue;
    // No JPEG reader belongs to the program: such a file is skipped like a damaged one.
    if (QLatin1String(extension) == QLatin1String("jpg")) continue;
    if (panel.LoadPicture(path, extension)) return true;
  }
  return false;
}

void TForm1::FormCreate() {
  FormResize();
  centre();
  hideTaskbarButton();
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
  m_languages.LoadLanguage(m_services.AnsiCodePage(), *this);
  m_languages.ApplyLanguage(*this);
  LoadOptionalPicture(*imgMouse, QStringLiteral("Mouse"), m_services.CurrentDir);
  LoadOptionalPicture(*imgLogo, QStringLiteral("Logo"), m_services.CurrentDir);
  // The controller's first scan, posted at its creation, runs here.
  m_services.Loop.processPendingMessages();
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

void TForm1::hideTaskbarButton() {
  // The tray is the program's way back to its window; without one the task bar must keep it.
  if (tray1->IconReachable()) SkipTaskbar(*this);
}

void TForm1::sfrm1TitleBarCustomBtnsClick(QObject *, int) {
  // A desktop without a notification area could never give a hidden window back: the window is
  // minimised to the task bar instead, where it keeps its button.
  if (!tray1->IconReachable()) {
    showMinimized();
    return;
  }
  setVisible(false);
  tray1->SetMinimizeToTray(true);
}

void TForm1::tray1DblClick(QObject *) {
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
  if (Sender) m_languages.mniLanguageClick(Sender->objectName().toStdString(), *this);
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

void TForm1::SetLanguageItemChecked(TLngID item, bool checked) {
  switch (item) {
  case TLngID::Eng:
    mniEng->SetChecked(checked);
    break;
  case TLngID::Cht:
    mniCht->SetChecked(checked);
    break;
  case TLngID::Chs:
    mniChs->SetChecked(checked);
    break;
  }
}

void TForm1::SetBatteryPictureVisible(TLngID picture, bool visible) {
  switch (picture) {
  case TLngID::Eng:
    imgBattEng->setVisible(visible);
    break;
  case TLngID::Cht:
    imgBattCht->setVisible(visible);
    break;
  case TLngID::Chs:
    imgBattChs->setVisible(visible);
    break;
  }
}

void TForm1::SetCPILabelFontSize(int points) {
  m_lblCPIFont.Height = pointsToHeight(points);
  setLabelFont(*lblCPI, m_lblCPIFont);
}

void TForm1::SetCPILabelTop(int top) {
  lblCPI->move(lblCPI->x(), top);
}
void TForm1::SetCPIBoxLeft(int left) {
  edtCPI->move(left, edtCPI->y());
}
void TForm1::SetCPIBoxHeight(int height) {
  edtCPI->resize(edtCPI->width(), height);
}
void TForm1::SetCPILabelCaption(const receiver::TermText &text) {
  lblCPI->setText(decode(text));
}
void TForm1::SetPairingButtonCaption(const receiver::TermText &text) {
  btnCombo_Cmd_Soft_Bind_SW->SetCaption(decode(text));
}
void TForm1::SetExitCaption(const receiver::TermText &text) {
  mniExit->SetCaption(decode(text));
}
void TForm1::SetShowCaption(const receiver::TermText &text) {
  mniConfigure->SetCaption(decode(text));
}
bool TForm1::PairingTimerRunning() const {
  return tmrSoftBind->running();
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
  hideTaskbarButton();
  QWidget::showEvent(event);
}

} // namespace app
