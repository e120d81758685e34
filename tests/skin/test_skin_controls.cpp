#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiImagePanel.h"
#include "skin/TsuiPopupMenu.h"
#include "skin/TsuiTitleBar.h"
#include "widgets/TCnAALabel.h"
#include "widgets/THexEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace skin;

namespace {

QImage solid(QSize size, QColor color) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

void mouse(QWidget &widget, QEvent::Type type, QPoint at) {
  QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

void type(QWidget &widget, Qt::Key key, const QString &text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(&widget, &press);
}

} // namespace

TEST(TsuiEdit, DrawsBorderAndInnerLineInItsColours) {
  QWidget parent;
  TsuiEdit edit(&parent);
  edit.setGeometry(0, 0, 53, 22);
  edit.SetColor(framework::clMoneyGreen);
  edit.SetBorderColor(8355711);
  const QImage shot = edit.grab().toImage();
  EXPECT_EQ(shot.pixelColor(0, 0), QColor(0x7F, 0x7F, 0x7F));
  EXPECT_EQ(shot.pixelColor(52, 21), QColor(0x7F, 0x7F, 0x7F));
  EXPECT_EQ(shot.pixelColor(1, 1), QColor(0xC0, 0xDC, 0xC0));
  EXPECT_EQ(shot.pixelColor(51, 10), QColor(0xC0, 0xDC, 0xC0));
}

TEST(TsuiEdit, StyleBorderYieldsToALaterStoredOne) {
  TsuiEdit edit(nullptr);
  edit.SetUIStyle(TsuiUIStyle::MacOS);
  edit.SetBorderColor(0x123456);
  EXPECT_EQ(edit.BorderColor(), 0x123456U);
}

TEST(THexEdit, FiltersTypedCharactersUnlessTold) {
  widgets::THexEdit edit(nullptr);
  type(edit, Qt::Key_A, "a");
  type(edit, Qt::Key_G, "g");
  type(edit, Qt::Key_1, "1");
  EXPECT_EQ(edit.text(), "a1");
  type(edit, Qt::Key_Backspace, QString(QChar(8)));
  EXPECT_EQ(edit.text(), "a");
  edit.SetIsFilter(false);
  type(edit, Qt::Key_G, "g");
  EXPECT_EQ(edit.text(), "ag");
}

TEST(THexEdit, ConvertsBetweenTextAndNumber) {
  widgets::THexEdit edit(nullptr);
  EXPECT_EQ(edit.GetValue(), 0);
  edit.SetValue(26);
  EXPECT_EQ(edit.text(), "1A");
  EXPECT_EQ(edit.GetValue(), 26);
  edit.SetValue(4096);
  EXPECT_EQ(edit.text(), "1000");
  edit.SetValue(0);
  EXPECT_TRUE(edit.text().isEmpty());
  edit.SetValue(-5);
  EXPECT_TRUE(edit.text().isEmpty());
  // A text that is no number is reported, not turned into a value.
  edit.setText("zz");
  EXPECT_FALSE(edit.GetValue());
  edit.setText("1FFFFFFFF");
  EXPECT_FALSE(edit.GetValue());
}

TEST(TsuiImagePanel, AutoSizeTakesThePictureSizeOnlyWithAPicture) {
  QWidget parent;
  TsuiImagePanel panel(&parent);
  panel.setGeometry(0, 0, 50, 40);
  panel.SetAutoSize(true);
  EXPECT_EQ(panel.size(), QSize(50, 40));
  panel.SetPicture(solid(QSize(124, 145), Qt::blue));
  EXPECT_EQ(panel.size(), QSize(124, 145));
}

TEST(TsuiImagePanel, TransparentPictureLosesItsBottomLeftColour) {
  QWidget parent;
  TsuiImagePanel panel(&parent);
  panel.setGeometry(0, 0, 4, 4);
  QImage picture = solid(QSize(4, 4), Qt::white);
  picture.setPixelColor(1, 1, Qt::red);
  panel.SetDrawStyle(TsuiDrawStyle::suiNormal);
  panel.SetPicture(picture);
  panel.SetTransparent(true);
  const QImage background = solid(QSize(4, 4), Qt::green);
  const QImage shown = panel.Render(background);
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::green));
  EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::red));
  panel.SetTransparent(false);
  EXPECT_EQ(panel.Render(background).pixelColor(0, 0), QColor(Qt::white));
}

TEST(TsuiImagePanel, StretchFillsAndOpaqueEmptyPanelShowsColour) {
  QWidget parent;
  TsuiImagePanel panel(&parent);
  panel.setGeometry(0, 0, 20, 10);
  panel.SetColor(framework::clRed);
  EXPECT_EQ(panel.Render().pixelColor(19, 9), QColor(Qt::red));
  QImage picture = solid(QSize(2, 2), Qt::blue);
  picture.setPixelColor(1, 1, Qt::yellow);
  panel.SetDrawStyle(TsuiDrawStyle::suiStretch);
  panel.SetPicture(picture);
  const QImage shown = panel.Render();
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::blue));
  EXPECT_EQ(shown.pixelColor(19, 9), QColor(Qt::yellow));
}

TEST(TsuiImagePanel, LoadRefusesDamagedOrMislabelledFiles) {
  TsuiImagePanel panel(nullptr);
  panel.SetPicture(solid(QSize(3, 3), Qt::blue));
  EXPECT_FALSE(panel.LoadPicture(QStringLiteral("/nonexistent/Mouse.gif"), "gif"));
  EXPECT_EQ(panel.Picture().size(), QSize(3, 3));
}

TEST(TsuiButton, ClickRaisesOnClickAndDefaultTakesEnter) {
  QWidget window;
  TsuiButton button(&window);
  int clicks = 0;
  QObject *sender = nullptr;
  const auto counter = [&](QObject *s) {
    ++clicks;
    sender = s;
  };
  button.SetOnClick(TNotifyEvent::fromFunction(counter, &clicks));
  button.Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(sender, &button);

  button.SetDefault(true);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  window.show();
  QApplication::sendEvent(&window, &enter);
  EXPECT_EQ(clicks, 2);
  button.SetEnabled(false);
  QApplication::sendEvent(&window, &enter);
  EXPECT_EQ(clicks, 2);
}

TEST(TsuiButton, MouseReleaseOutsideDoesNotClick) {
  QWidget window;
  TsuiButton button(&window);
  button.setGeometry(0, 0, 80, 27);
  int clicks = 0;
  button.SetOnClick(TNotifyEvent::fromFunction([&](QObject *) { ++clicks; }, &clicks));
  window.show();
  mouse(button, QEvent::MouseButtonPress, QPoint(10, 10));
  EXPECT_TRUE(button.Pressed());
  mouse(button, QEvent::MouseButtonRelease, QPoint(200, 10));
  EXPECT_EQ(clicks, 0);
  mouse(button, QEvent::MouseButtonPress, QPoint(10, 10));
  mouse(button, QEvent::MouseButtonRelease, QPoint(10, 10));
  EXPECT_EQ(clicks, 1);
}

TEST(TsuiButton, WideCaptionIsNarrowedToStayInsideTheButton) {
  QWidget window;
  TsuiButton button(&window);
  button.setGeometry(0, 0, 97, 27);
  button.SetUIStyle(TsuiUIStyle::MacOS);
  button.SetFocusedRectMargin(2);
  button.SetFont(framework::FontDesc{QStringLiteral("MS Sans Serif"), -16, true, false, false,
                                     framework::clBlue});
  const auto captionColumns = [&](const QString &caption) {
    button.SetCaption(caption);
    const QImage shot = button.grab().toImage();
    int first = shot.width(), last = -1;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        if (shot.pixelColor(x, y) == QColor(Qt::blue)) {
          first = std::min(first, x);
          last = std::max(last, x);
        }
    return std::pair(first, last);
  };
  const auto [first, last] = captionColumns(QStringLiteral("&Connecting"));
  EXPECT_GE(first, 4);
  EXPECT_LE(last, 92);
  EXPECT_GT(last - first, 40);
  // A caption that fits keeps its width.
  const auto [shortFirst, shortLast] = captionColumns(QStringLiteral("CPI"));
  EXPECT_GT(shortFirst, 20);
  EXPECT_LT(shortLast, 76);
}

TEST(TsuiTitleBar, CaptionLongerThanTheSpaceEndsInDots) {
  QWidget window;
  TsuiForm form(&window);
  window.resize(120, 100);
  form.FormResized();
  TsuiTitleBarButton &close = form.TitleBarButtons().Add();
  close.SetButtonType(TsuiTitleBarBtnType::suiClose);
  close.SetPicNormal(solid(QSize(19, 19), Qt::red));
  form.SetCaption(QStringLiteral("A caption far too long for this small title bar"));
  const QRect button = form.TitleBar().ButtonRect(0);
  EXPECT_EQ(form.x() + button.right(), window.width() - 5);
  const QImage bar = form.TitleBar().Render();
  // Text pixels (white) stop before the button.
  for (int x = button.left(); x <= button.right(); ++x)
    for (int y = 0; y < bar.height(); ++y)
      ASSERT_NE(bar.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
}

TEST(TsuiTitleBar, CustomButtonWithoutPicturesTakesNoPlaceAndRaisesItsEvent) {
  QWidget window;
  TsuiForm form(&window);
  window.resize(200, 100);
  form.FormResized();
  form.TitleBarButtons().Add().SetButtonType(TsuiTitleBarBtnType::suiCustom);
  EXPECT_TRUE(form.TitleBar().ButtonRect(0).isNull());
  int index = -1;
  form.SetOnTitleBarCustomBtnsClick(TsuiTitleBar::TsuiTitleBarButtonClickEvent::fromFunction(
      [&](QObject *, int i) { index = i; }, &index));
  form.TitleBar().ClickButton(0);
  EXPECT_EQ(index, 0);
  form.TitleBarButtons().Items(0)->SetVisible(false);
  index = -1;
  form.TitleBar().ClickButton(0);
  EXPECT_EQ(index, -1);
}

TEST(TsuiForm, FramesTheWindowAndCoversItsClientArea) {
  QWidget window;
  TsuiForm form(&window);
  window.resize(220, 270);
  form.FormResized();
  // The 216 x 268 client the main window's controls are laid out in.
  EXPECT_EQ(form.geometry(), QRect(2, 1, 216, 268));
  EXPECT_EQ(form.TitleBar().geometry(), QRect(0, 0, 216, 22));
  EXPECT_EQ(form.Version(), "5.8");
  form.SetVersion("1.0");
  EXPECT_EQ(form.Version(), "5.8");
  QImage frame(220, 270, QImage::Format_RGB32);
  QPainter painter(&frame);
  form.SetColor(0xFBFBFB);
  form.PaintFrame(painter, frame.size());
  painter.end();
  EXPECT_EQ(frame.pixelColor(0, 100), QColor(Qt::black));
  EXPECT_EQ(frame.pixelColor(219, 100), QColor(Qt::black));
  EXPECT_EQ(frame.pixelColor(100, 269), QColor(Qt::black));
  EXPECT_EQ(frame.pixelColor(1, 100), QColor(0xFB, 0xFB, 0xFB));
}

TEST(TsuiForm, TitlePicturesRunOnFromTheFrameIntoTheTitleBar) {
  QWidget window;
  TsuiForm form(&window);
  window.resize(220, 270);
  form.FormResized();
  // Every pixel of the left picture names its own place.
  QImage left(441, 23, QImage::Format_RGB32);
  for (int y = 0; y < left.height(); ++y)
    for (int x = 0; x < left.width(); ++x)
      left.setPixel(x, y, qRgb(x % 256, y, x / 256));
  for (const QImage &picture : {left, solid(QSize(1, 23), Qt::blue), solid(QSize(1, 23), Qt::red)})
    form.TitleBarSections().Add().SetPicture(picture);
  form.SetBorderWidth(1);

  QImage shown(220, 270, QImage::Format_RGB32);
  QPainter painter(&shown);
  form.PaintFrame(painter, shown.size());
  painter.drawImage(form.mapTo(&window, form.TitleBar().pos()), form.TitleBar().Render());
  painter.end();
  for (const QPoint at :
       {QPoint(1, 0), QPoint(1, 5), QPoint(2, 1), QPoint(100, 0), QPoint(100, 22), QPoint(217, 10)})
    EXPECT_EQ(shown.pixel(at), left.pixel(at)) << at.x() << "," << at.y();
  // Below the pictures the panel begins.
  EXPECT_EQ(form.TitleBar().geometry().bottom() + form.y(), 22);
}

TEST(TsuiPopupMenu, BuildsItsItemsAndClicksThemByName) {
  TsuiPopupMenu menu(nullptr);
  TMenuItem *language = menu.Items().Add("mniLanguage", "Language");
  TMenuItem *english = language->Add("mniEng", "English");
  menu.Items().Add("mniN1", "-");
  TMenuItem *exit = menu.Items().Add("mniExit", "&Exit");
  english->SetChecked(true);
  exit->SetEnabled(false);
  QString clicked;
  const auto record = TNotifyEvent::fromFunction(
      [&](QObject *sender) { clicked = sender->objectName(); }, &clicked);
  english->SetOnClick(record);
  exit->SetOnClick(record);

  EXPECT_EQ(menu.Find("mniEng"), english);
  EXPECT_EQ(menu.Find("nothing"), nullptr);
  menu.Find("mniExit")->Click();
  EXPECT_TRUE(clicked.isEmpty()); // disabled
  menu.Find("mniEng")->Click();
  EXPECT_EQ(clicked, "mniEng");

  const auto built = menu.BuildMenu();
  const auto actions = built->actions();
  ASSERT_EQ(actions.size(), 3);
  EXPECT_EQ(actions[0]->text(), "Language");
  ASSERT_TRUE(actions[0]->menu());
  EXPECT_TRUE(actions[0]->menu()->actions().at(0)->isChecked());
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_FALSE(actions[2]->isEnabled());
  clicked.clear();
  actions[0]->menu()->actions().at(0)->trigger();
  EXPECT_EQ(clicked, "mniEng");
  EXPECT_FALSE(menu.ClickDefaultItem());
}

TEST(TCnAALabel, SizesToItsCaptionOnceLoaded) {
  QWidget parent;
  widgets::TCnAALabel label(&parent);
  label.BeginLoading();
  label.SetBounds(151, 179, 27, 16);
  label.SetCaption("50%");
  EXPECT_EQ(label.Width(), 27); // not while loading
  label.Loaded();
  const int width = label.Width();
  EXPECT_GT(width, 0);
  label.SetCaption("100%");
  EXPECT_GT(label.Width(), width);
  EXPECT_EQ(label.Left(), 151);
}
