#include "SkinTestHelpers.h"
#include "skin/TsuiTitleBar.h"

#include <gtest/gtest.h>

using namespace skin;
using skin::test::FramedWindow;
using skin::test::Mouse;
using skin::test::Solid;

TEST(TsuiTitleBar, CaptionLongerThanTheSpaceEndsInDots) {
  FramedWindow w(QSize(120, 100));
  TsuiTitleBarButton &close = w.form.TitleBarButtons().Add();
  close.SetButtonType(TsuiTitleBarBtnType::suiClose);
  close.SetPicNormal(Solid(QSize(19, 19), Qt::red));
  w.form.SetCaption(QStringLiteral("A caption far too long for this small title bar"));
  const QRect button = w.form.TitleBar().ButtonRect(0);
  EXPECT_EQ(w.form.x() + button.right(), w.window.width() - 5);
  w.form.TitleBar().Repaint();
  const QImage &bar = w.form.TitleBar().Buffer();
  // Text pixels (white) stop before the button.
  for (int x = button.left(); x <= button.right(); ++x)
    for (int y = 0; y < bar.height(); ++y)
      ASSERT_NE(bar.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
}

TEST(TsuiTitleBar, CustomButtonWithoutPicturesTakesNoPlaceAndRaisesItsEvent) {
  FramedWindow w(QSize(200, 100));
  w.form.TitleBarButtons().Add().SetButtonType(TsuiTitleBarBtnType::suiCustom);
  EXPECT_TRUE(w.form.TitleBar().ButtonRect(0).isNull());
  int index = -1;
  w.form.SetOnTitleBarCustomBtnsClick(TsuiTitleBar::TsuiTitleBarButtonClickEvent::fromFunction(
      [&](QObject *, int i) { index = i; }, &index));
  w.form.TitleBar().ClickButton(0);
  EXPECT_EQ(index, 0);
  w.form.TitleBarButtons().Items(0)->SetVisible(false);
  index = -1;
  w.form.TitleBar().ClickButton(0);
  EXPECT_EQ(index, -1);
}

TEST(TsuiTitleBar, ButtonUnderTheMouseShowsItsPicturesWithTheBarThroughItsKeyColour) {
  FramedWindow w(QSize(200, 100));
  TsuiTitleBarButton &button = w.form.TitleBarButtons().Add();
  button.SetButtonType(TsuiTitleBarBtnType::suiCustom);
  button.SetTransparent(true);
  const auto picture = [](QColor color) {
    QImage image = Solid(QSize(19, 19), color);
    image.setPixelColor(0, 18, Qt::magenta); // names the key colour
    return image;
  };
  QImage normal = picture(Qt::red);
  normal.setPixelColor(9, 9, Qt::magenta);
  button.SetPicNormal(normal);
  button.SetPicMouseOn(picture(Qt::yellow));
  button.SetPicMouseDown(picture(Qt::cyan));
  TsuiTitleBar &bar = w.form.TitleBar();
  const QRect r = bar.ButtonRect(0);
  const auto centre = [&] {
    bar.Repaint();
    return bar.Buffer().pixelColor(r.center());
  };
  EXPECT_EQ(centre(), QColor(0x21, 0x25, 0x75)) << "the bar shows through the key colour";
  EXPECT_EQ(bar.Buffer().pixelColor(r.topLeft()), QColor(Qt::red));
  Mouse(bar, QEvent::MouseMove, r.center());
  EXPECT_EQ(centre(), QColor(Qt::yellow));
  Mouse(bar, QEvent::MouseButtonPress, r.center());
  EXPECT_EQ(centre(), QColor(Qt::cyan));
  Mouse(bar, QEvent::MouseButtonRelease, r.center());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&bar, &leave);
  EXPECT_EQ(centre(), QColor(0x21, 0x25, 0x75));
}
