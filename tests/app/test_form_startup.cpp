#include "FormFixture.h"

#include "app/PictureFiles.h"
#include "common/TestPictures.h"
#include "receiver/VirtualReceiver.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiImagePanel.h"
#include "skin/TsuiPopupMenu.h"
#include "skin/style/BitmapCache.h"
#include "skin/style/StyleReads.h"
#include "tray/CoolTrayIcon.h"
#include "widgets/TCnAALabel.h"
#include "widgets/THexEdit.h"
#include "widgets/ThhALed.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QResizeEvent>

#ifndef _WIN32
#include <fcntl.h>
#endif
#ifndef _WIN32
#include <sys/stat.h>
#endif
#ifndef _WIN32
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <thread>

using namespace app;
using namespace app::test;

namespace {

// A 1 x 1 GIF whose only pixel is pure red.
const QByteArray RedGif = QByteArray::fromHex("474946383961010001008000"
                                              "00ff0000000000"
                                              "2c000000000100010000"
                                              "0202440100"
                                              "3b");

void writeFile(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

void writeBmp(const QString &path, QSize size, QColor color) {
  QImage image(size, QImage::Format_RGB888);
  image.fill(color);
  ASSERT_TRUE(image.save(path, "BMP"));
}

} // namespace

TEST_F(FormFixture, StartsAsTheFixedSizeCentredWindow) {
  const auto form = Create();
  EXPECT_EQ(Form1, form.get());
  EXPECT_EQ(form->size(), QSize(220, 270));
  EXPECT_EQ(form->pos(), QPoint(1025 / 2 - 110, 769 / 2 - 135));
  EXPECT_EQ(form->windowTitle(), "Quelvane v1.6");
  EXPECT_EQ(form->sfrm1->Caption(), "Quelvane v1.6");
  EXPECT_TRUE(form->windowFlags().testFlag(Qt::Tool));
  EXPECT_TRUE(form->windowFlags().testFlag(Qt::FramelessWindowHint));
  // The tray icon is in the notification area once loading ended.
  EXPECT_TRUE(TrayHost->present);
  EXPECT_EQ(TrayHost->tip, "Tarnovel v1.0");
  EXPECT_FALSE(form->tmrStatus->Enabled());
  EXPECT_FALSE(form->tmrSoftBind->Enabled());
  EXPECT_FALSE(form->DevListBox->isVisibleTo(form.get()));
}

TEST_F(FormFixture, StartingDecodesOnlyWhatTheWindowDraws) {
  skin::style::BuiltInBitmaps().Clear(); // earlier tests of this process drew other things
  const auto form = Create();
  form->grab();
  const auto protein = static_cast<std::size_t>(
      skin::style::StyleIndex(static_cast<int>(skin::TsuiUIStyle::Protein)));
  std::size_t oneStyle = 0;
  for (const skin::style::BitmapElement &element : skin::style::BitmapCatalogue)
    if (element.Sizes[protein].Present()) ++oneStyle;
  EXPECT_LT(skin::style::BuiltInBitmaps().Loaded(), oneStyle);
}

TEST_F(FormFixture, CentresOnThePrimaryScreenWhereverItSits) {
  Screen = QRect(1920, -300, 1025, 769);
  const auto form = Create();
  EXPECT_EQ(form->pos(), QPoint(1920 + 402, -300 + 249));
}

TEST_F(FormFixture, CentringTruncatesAndCanGoNegative) {
  EXPECT_EQ(TForm1::CentredPosition(QSize(1025, 769), QSize(220, 270)), QPoint(402, 249));
  EXPECT_EQ(TForm1::CentredPosition(QSize(101, 51), QSize(221, 271)), QPoint(-60, -110));
  EXPECT_EQ(TForm1::CentredPosition(QSize(0, 0), QSize(220, 270)), QPoint(-110, -135));
}

TEST_F(FormFixture, CannotBeResized) {
  const auto form = Create();
  form->show();
  form->resize(400, 500);
  EXPECT_EQ(form->size(), QSize(220, 270));
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  form->close();
}

TEST_F(FormFixture, ControlsOutsideTheClientAreaExistButAreNeverSeen) {
  const auto form = Create();
  // The Protein frame leaves 3 pixels on the left, top and right and 2 rows at the bottom.
  EXPECT_EQ(form->sfrm1->geometry(), QRect(3, 3, 214, 265));
  const QRect client = form->sfrm1->rect();
  const QWidget *const outside[] = {form->btnSystemStatus, form->btnBattery, form->btnCPI,
                                    form->edtVID,          form->edtPID,     form->imgMouse,
                                    form->lbl48,           form->lbl49};
  for (const QWidget *w : outside)
    EXPECT_FALSE(client.intersects(w->geometry())) << w->objectName().toStdString();
  const QWidget *const inside[] = {form->btnCombo_Cmd_Soft_Bind_SW, form->edtCPI, form->imgLogo,
                                   form->lblCPI};
  // Laid out for 216 x 268: the logo's last row is clipped.
  for (const QWidget *w : inside)
    EXPECT_TRUE(client.contains(w->geometry().topLeft())) << w->objectName().toStdString();
}

TEST_F(FormFixture, ControlsWithoutAFontFollowTheFormsAndTheEditBoxesKeepTheirHeights) {
  const auto form = Create();
  for (const skin::TsuiButton *b : {form->btnSystemStatus, form->btnBattery, form->btnCPI})
    EXPECT_TRUE(b->ParentFont() && b->Font() == framework::FontDesc{})
        << b->objectName().toStdString();
  for (const skin::TsuiEdit *e : {static_cast<skin::TsuiEdit *>(form->edtVID), form->edtPID}) {
    EXPECT_TRUE(e->ParentFont() && e->Font() == framework::FontDesc{})
        << e->objectName().toStdString();
    EXPECT_EQ(e->height(), 19) << e->objectName().toStdString();
  }
  EXPECT_FALSE(form->btnCombo_Cmd_Soft_Bind_SW->ParentFont());
  EXPECT_FALSE(form->edtCPI->ParentFont());
}

TEST_F(FormFixture, AStyleChosenAtStartReplacesTheDescribedLookButNotTheSize) {
  for (const auto style : {skin::TsuiUIStyle::MacOS, skin::TsuiUIStyle::BlueGlass}) {
    const auto form = Create(1252, style);
    EXPECT_EQ(form->sfrm1->UIStyle(), style);
    EXPECT_EQ(form->size(), QSize(220, 270));
    EXPECT_EQ(form->sfrm1->BorderColor(),
              skin::style::GetStyleColor(style, skin::style::StyleEntry::FormBorderColor));
    QImage left;
    skin::style::GetStyleImage(style, skin::style::StyleEntry::TitleBarLeftImage, left);
    EXPECT_EQ(form->sfrm1->TitleBarSections().Items(0)->Picture(), left);
    // The custom button still looks like the (hidden) minimise button of the new look.
    auto &buttons = form->sfrm1->TitleBarButtons();
    QImage minimise;
    skin::style::GetStyleImagePart(style, skin::style::StyleEntry::TitleBarButtonImage, minimise,
                                   13, 18);
    EXPECT_EQ(buttons.Items(4)->PicNormal(), minimise);
    EXPECT_EQ(form->sfrm1->geometry().topLeft(), QPoint(3, 3));
  }
}

TEST_F(FormFixture, BatteryPicturesShareTheAnchorAndFollowTheLanguage) {
  const auto form = Create(950);
  EXPECT_FALSE(form->imgBattery->isVisibleTo(form.get()));
  const QWidget *const pictures[] = {form->imgBattEng, form->imgBattCht, form->imgBattChs};
  for (const QWidget *w : pictures)
    EXPECT_EQ(w->pos(), QPoint(132, 23));
  EXPECT_TRUE(form->imgBattCht->isVisibleTo(form.get()));
  EXPECT_FALSE(form->imgBattEng->isVisibleTo(form.get()));
  EXPECT_EQ(form->imgBattCht->size(), QSize(74, 174));
}

TEST_F(FormFixture, CustomTitleButtonTakesTheMinimisePictures) {
  const auto form = Create();
  auto &buttons = form->sfrm1->TitleBarButtons();
  ASSERT_EQ(buttons.Count(), 5);
  EXPECT_FALSE(buttons.Items(4)->PicNormal().isNull());
  EXPECT_EQ(buttons.Items(4)->PicNormal(), buttons.Items(3)->PicNormal());
  EXPECT_EQ(buttons.Items(4)->PicMouseOn(), buttons.Items(3)->PicMouseOn());
  EXPECT_EQ(buttons.Items(4)->PicMouseDown(), buttons.Items(3)->PicMouseDown());
  EXPECT_NE(buttons.Items(4)->PicMouseOn(), buttons.Items(4)->PicNormal());
  // Close at the right edge, the custom button just left of it; hidden buttons take no place.
  const QRect close = form->sfrm1->TitleBar().ButtonRect(1);
  const QRect custom = form->sfrm1->TitleBar().ButtonRect(4);
  EXPECT_EQ(close.right() + form->sfrm1->TitleBar().x() + form->sfrm1->x(), 215);
  EXPECT_EQ(custom.right(), close.left() - 2);
  EXPECT_TRUE(form->sfrm1->TitleBar().ButtonRect(3).isNull());
}

TEST_F(FormFixture, TheTitleBarShowsTheProteinStylesOwnPictures) {
  using skin::style::StyleEntry;
  const auto form = Create();
  const auto part = [](int n) {
    QImage picture;
    skin::style::GetStyleImagePart(skin::TsuiUIStyle::Protein, StyleEntry::TitleBarButtonImage,
                                   picture, n, 18);
    return picture;
  };
  auto &buttons = form->sfrm1->TitleBarButtons();
  EXPECT_EQ(buttons.Items(1)->PicNormal(), part(16));
  EXPECT_EQ(buttons.Items(1)->PicMouseDown(), part(18));
  EXPECT_EQ(buttons.Items(3)->PicMouseOn(), part(14));
  EXPECT_EQ(buttons.Items(4)->PicMouseDown(), part(15));
  const StyleEntry sections[] = {StyleEntry::TitleBarLeftImage, StyleEntry::TitleBarRightImage,
                                 StyleEntry::TitleBarClientImage};
  for (int i = 0; i < 3; ++i) {
    QImage picture;
    skin::style::GetStyleImage(skin::TsuiUIStyle::Protein, sections[i], picture);
    EXPECT_EQ(form->sfrm1->TitleBarSections().Items(i)->Picture(), picture) << i;
  }
  EXPECT_EQ(form->sfrm1->TitleBar().height(), 20);
  // No maximise button is visible: a double click on the bar does nothing.
  form->show();
  skin::TsuiTitleBar &bar = form->sfrm1->TitleBar();
  QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(40, 10),
                    QPointF(bar.mapToGlobal(QPoint(40, 10))), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&bar, &click);
  EXPECT_FALSE(form->isMaximized());
  EXPECT_TRUE(form->isVisible());
  form->close();
}

TEST_F(FormFixture, CustomButtonHidesToTheTrayAndDoubleClickShows) {
  const auto form = Create();
  form->show();
  form->sfrm1->TitleBar().ClickButton(4);
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(form->tray1->MinimizeToTray());
  EXPECT_TRUE(TrayHost->present);

  Tray->injectMouse(platform::TrayMouseMessage::LeftButtonDown, QPoint(5, 5));
  Tray->injectMouse(platform::TrayMouseMessage::LeftButtonUp, QPoint(5, 5));
  Tray->injectMouse(platform::TrayMouseMessage::LeftButtonDblClk, QPoint(5, 5));
  Tray->injectMouse(platform::TrayMouseMessage::LeftButtonUp, QPoint(5, 5));
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->tray1->MinimizeToTray());

  form->sfrm1->TitleBar().ClickButton(4);
  form->mniConfigure->Click();
  EXPECT_TRUE(form->isVisible());
  // Minimised by the window manager, it has no task-bar button to come back by.
  form->setWindowState(Qt::WindowMinimized);
  form->mniConfigure->Click();
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->isMinimized());
}

TEST_F(FormFixture, WithoutANotificationAreaTheCustomButtonMinimisesInsteadOfHiding) {
  const auto form = Create();
  Tray->setAvailable(false);
  form->show();
  form->sfrm1->TitleBar().ClickButton(4);
  // Hidden, the window could never come back: no icon to double-click.
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(form->isMinimized());
  EXPECT_FALSE(form->tray1->MinimizeToTray());
  // As a start in the tray does without one: the tray's restoring of a shown window must not
  // undo it.
  form->hide();
  form->ShowHidden();
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(form->isMinimized());

  Tray->setAvailable(true);
  form->showNormal();
  form->sfrm1->TitleBar().ClickButton(4);
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(form->tray1->MinimizeToTray());
}

TEST_F(FormFixture, ShutDownOpensNoDevice) {
  receiver::VirtualReceiver rx;
  hid::VirtualDevice device;
  device.Id = "rx";
  device.VendorID = 0x3A7E;
  device.ProductID = 0x0A11;
  device.Caps.UsagePage = 1;
  device.Caps.Usage = 2;
  device.Caps.FeatureReportByteLength = 9;
  rx.AttachTo(device);
  Binding.Add(device);
  device.Id = "keyboard";
  device.Caps.Usage = 6;
  Binding.Add(device);
  auto form = Create();
  QCoreApplication::processEvents();
  ASSERT_TRUE(form->ledDev->Value());
  Binding.ClearCalls();
  form.reset();
  for (const hid::SimulatedCall &call : Binding.Calls())
    EXPECT_NE(call.Op, "open") << call.Path;
  EXPECT_EQ(Binding.OpenHandleCount(), 0U);
}

TEST_F(FormFixture, ExitAndCloseButtonCloseTheWindow) {
  const auto form = Create();
  form->show();
  form->mniExit->Click();
  EXPECT_FALSE(form->isVisible());
  form->show();
  form->sfrm1->TitleBar().ClickButton(1);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(FormFixture, HiddenTitleButtonsIgnoreClicks) {
  const auto form = Create();
  form->show();
  for (int index : {0, 2, 3, 7, -1})
    form->sfrm1->TitleBar().ClickButton(index);
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->isMinimized());
  form->close();
}

TEST_F(FormFixture, GifComesBeforeBmp) {
  writeFile(Dir.filePath("Mouse.gif"), RedGif);
  writeBmp(Dir.filePath("Mouse.bmp"), QSize(3, 2), Qt::blue);
  const auto form = Create();
  ASSERT_EQ(form->imgMouse->Picture().size(), QSize(1, 1));
  EXPECT_EQ(form->imgMouse->Picture().pixelColor(0, 0), QColor(Qt::red));
  // Sized to its picture.
  EXPECT_EQ(form->imgMouse->size(), QSize(1, 1));
}

TEST_F(FormFixture, DamagedGifFallsBackToBmpSilently) {
  writeFile(Dir.filePath("Logo.gif"), RedGif.left(14));
  writeBmp(Dir.filePath("Logo.bmp"), QSize(3, 2), Qt::blue);
  const auto form = Create();
  EXPECT_EQ(form->imgLogo->Picture().size(), QSize(3, 2));
  // Stretched into its fixed place.
  EXPECT_EQ(form->imgLogo->size(), QSize(212, 70));
  // The directory was asked once per extension tried for each picture.
  EXPECT_EQ(DirQueries, 3 + 2);
}

TEST_F(FormFixture, ALogoFileOfOneColourShowsStretchedOverTheWholeLogo) {
  const QByteArray gif = ::test::Gif(QSize(50, 20), 40);
  const QByteArray bmp = ::test::Bmp(::test::Filled(QSize(50, 20), QColor(0, 128, 128)));
  const struct {
    QByteArray gif, bmp;
    QColor shown;
  } cases[] = {
      {gif, {}, QColor(80, 0, 175)},
      {{}, bmp, QColor(0, 128, 128)},
      {gif.left(gif.size() - 30), bmp, QColor(0, 128, 128)}, // a cut GIF is passed over
  };
  for (const auto &c : cases) {
    QFile::remove(Dir.filePath("Logo.gif"));
    QFile::remove(Dir.filePath("Logo.bmp"));
    if (!c.gif.isEmpty()) writeFile(Dir.filePath("Logo.gif"), c.gif);
    if (!c.bmp.isEmpty()) writeFile(Dir.filePath("Logo.bmp"), c.bmp);
    const auto form = Create();
    const QImage shown = form->imgLogo->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(212, 70));
    for (const QPoint at : {QPoint(0, 0), QPoint(106, 35), QPoint(211, 69)})
      EXPECT_EQ(shown.pixelColor(at), c.shown) << c.gif.size() << " " << c.bmp.size();
  }
}

TEST_F(FormFixture, PictureCutInsideItsImageDataCountsAsUnreadable) {
  const QByteArray gif = ::test::Gif(QSize(16, 16));
  writeFile(Dir.filePath("Logo.gif"), gif.left(gif.size() - 100));
  writeBmp(Dir.filePath("Logo.bmp"), QSize(3, 2), Qt::blue);
  const QByteArray bmp = ::test::Bmp(::test::Filled(QSize(20, 20), Qt::green));
  writeFile(Dir.filePath("Mouse.bmp"), bmp.left(bmp.size() - 200));
  const auto form = Create();
  EXPECT_EQ(form->imgLogo->Picture().size(), QSize(3, 2));
  EXPECT_EQ(form->imgMouse->Picture().size(), QSize(124, 145)) << "the built-in picture stays";
}

TEST_F(FormFixture, PictureNamesMatchIgnoringCaseExactNameFirst) {
  writeFile(Dir.filePath("mOUSE.GIF"), RedGif);
  ASSERT_TRUE(QDir(Dir.path()).mkdir("Mouse.gif")); // no file: the exact name does not count
  writeBmp(Dir.filePath("LOGO.BMP"), QSize(5, 5), Qt::blue);
  writeBmp(Dir.filePath("Logo.bmp"), QSize(3, 2), Qt::blue);
  const auto form = Create();
  EXPECT_EQ(form->imgMouse->Picture().size(), QSize(1, 1));
  EXPECT_EQ(form->imgLogo->Picture().size(), QSize(3, 2));
  EXPECT_FALSE(PictureFiles().Find(QString(), "tmp")) << "a deleted current directory is not /";
}

#ifndef _WIN32
TEST_F(FormFixture, FifoUnderAPictureNameDoesNotBlockStartUp) {
  const QByteArray fifo = QFile::encodeName(Dir.filePath("Mouse.gif"));
  ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
  // A reader blocked in open() on the FIFO is let go by a writer, and told on.
  std::atomic<bool> started{false}, blocked{false};
  std::thread writer([&] {
    while (!started) {
      const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        blocked = true;
        ::close(fd);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
  });
  const auto form = Create();
  started = true;
  writer.join();
  EXPECT_FALSE(blocked);
  EXPECT_EQ(form->imgMouse->Picture().size(), QSize(124, 145));
}
#endif

TEST_F(FormFixture, JpgIsAlwaysSkippedAndStoredPicturesStay) {
  QImage jpg(4, 4, QImage::Format_RGB32);
  jpg.fill(Qt::green);
  ASSERT_TRUE(jpg.save(Dir.filePath("Logo.jpg"), "JPG") ||
              jpg.save(Dir.filePath("Logo.jpg"), "BMP"));
  writeBmp(Dir.filePath("Mouse.gif"), QSize(5, 5), Qt::blue); // a bitmap under a gif name
  const auto form = Create();
  EXPECT_EQ(form->imgLogo->Picture().size(), QSize(212, 70));
  EXPECT_EQ(form->imgMouse->Picture().size(), QSize(124, 145));
}

TEST_F(FormFixture, FirstStartTakesTheLanguageFromTheCodePage) {
  const auto form = Create(936);
  EXPECT_EQ(Settings.Language(), "Chs");
  EXPECT_EQ(form->lblCPI->text(), QStringLiteral(u"解析度"));
  EXPECT_EQ(form->btnCombo_Cmd_Soft_Bind_SW->Caption(), QStringLiteral(u"对码"));
  EXPECT_EQ(form->mniExit->Caption(), QStringLiteral(u"结束"));
  EXPECT_EQ(form->mniConfigure->Caption(), QStringLiteral(u"显示"));
  EXPECT_TRUE(form->mniChs->Checked());
  EXPECT_FALSE(form->mniEng->Checked());
  EXPECT_EQ(form->CPILabelFont().Height, -13);
  EXPECT_EQ(form->lblCPI->y(), 127);
  EXPECT_EQ(form->edtCPI->geometry(), QRect(58, 123, 53, 24));
}

TEST_F(FormFixture, EnglishStartShowsAccelerators) {
  const auto form = Create(1252);
  EXPECT_EQ(form->mniConfigure->Caption(), "&Show");
  EXPECT_EQ(form->mniExit->Caption(), "&Exit");
  EXPECT_EQ(form->btnCombo_Cmd_Soft_Bind_SW->Caption(), "&Connect");
  EXPECT_EQ(form->CPILabelFont().Height, -16);
  EXPECT_EQ(form->edtCPI->geometry(), QRect(40, 123, 53, 22));
}

TEST_F(FormFixture, LanguageMenuWhilePairingShowsConnectingAtOnceAndKeepsTheHeight) {
  const auto form = Create(1252);
  form->tmrSoftBind->SetEnabled(true);
  form->mniChs->Click();
  EXPECT_EQ(form->btnCombo_Cmd_Soft_Bind_SW->Caption(), QStringLiteral(u"对码中"));
  EXPECT_EQ(Settings.Language(), "Chs");
  form->mniEng->Click();
  EXPECT_EQ(form->btnCombo_Cmd_Soft_Bind_SW->Caption(), "&Connecting");
  EXPECT_EQ(form->edtCPI->geometry(), QRect(40, 123, 53, 24));
  EXPECT_EQ(Settings.Language(), "Eng");
  form->tmrSoftBind->SetEnabled(false);
}
