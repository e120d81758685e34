#include "SkinTestHelpers.h"
#include "skin/TsuiForm.h"

#include <gtest/gtest.h>

using namespace skin;
using skin::test::FramedWindow;
using skin::test::Solid;

TEST(TsuiForm, FramesTheWindowAndCoversItsClientArea) {
  FramedWindow w(QSize(220, 270));
  // The 216 x 268 client the main window's controls are laid out in.
  EXPECT_EQ(w.form.geometry(), QRect(2, 1, 216, 268));
  // The DeepBlue title bar (32-row pictures) starts where its pictures meet the window's corner:
  // 3 columns and 3 rows into the window.
  EXPECT_EQ(w.form.TitleBar().geometry(), QRect(1, 2, 214, 29));
  EXPECT_EQ(w.form.Version(), "5.8");
  w.form.SetVersion("1.0");
  EXPECT_EQ(w.form.Version(), "5.8");
  QImage frame(220, 270, QImage::Format_RGB32);
  framework::Canvas canvas(frame);
  w.form.SetColor(0xFBFBFB);
  w.form.PaintFrame(canvas);
  EXPECT_EQ(frame.pixelColor(0, 100), QColor(Qt::black));
  EXPECT_EQ(frame.pixelColor(219, 100), QColor(Qt::black));
  EXPECT_EQ(frame.pixelColor(100, 269), QColor(Qt::black));
  EXPECT_EQ(frame.pixelColor(1, 100), QColor(0xFB, 0xFB, 0xFB));
}

TEST(TsuiForm, TitlePicturesRunOnFromTheFrameIntoTheTitleBar) {
  FramedWindow w(QSize(220, 270));
  // Every pixel of the left picture names its own place.
  QImage left(441, 23, QImage::Format_RGB32);
  for (int y = 0; y < left.height(); ++y)
    for (int x = 0; x < left.width(); ++x)
      left.setPixel(x, y, qRgb(x % 256, y, x / 256));
  w.form.SetUIStyle(TsuiUIStyle::Protein); // 23-row title pictures
  w.form.TitleBarSections().Clear();
  for (const QImage &picture : {left, Solid(QSize(1, 23), Qt::blue), Solid(QSize(1, 23), Qt::red)})
    w.form.TitleBarSections().Add().SetPicture(picture);
  for (int i = 0; i < w.form.TitleBarButtons().Count(); ++i)
    w.form.TitleBarButtons().Items(i)->SetVisible(false);
  w.form.SetBorderWidth(1);

  // The window as shown: its frame, then the title bar's buffer at its place.
  const QImage shown = w.window.grab().toImage();
  for (const QPoint at :
       {QPoint(1, 0), QPoint(1, 5), QPoint(2, 1), QPoint(100, 0), QPoint(100, 22), QPoint(217, 10)})
    EXPECT_EQ(shown.pixel(at), left.pixel(at)) << at.x() << "," << at.y();
  // Below the pictures the panel begins.
  EXPECT_EQ(w.form.TitleBar().geometry().bottom() + w.form.y(), 22);
}

TEST(TsuiForm, TheProteinStyleStripesTheBackgroundOthersUseTheFormColour) {
  FramedWindow w(QSize(220, 270));
  w.form.SetColor(0x123456);
  w.form.SetUIStyle(TsuiUIStyle::Protein);
  w.form.Repaint();
  const QImage &panel = w.form.Buffer();
  for (int y = 0; y < 16; ++y)
    EXPECT_EQ(panel.pixelColor(50, 100 + y),
              (100 + y) % 4 == 3 ? QColor(0xEE, 0xEE, 0xEE) : QColor(Qt::white))
        << y;
  w.form.SetUIStyle(TsuiUIStyle::DeepBlue);
  w.form.Repaint();
  EXPECT_EQ(w.form.Buffer().pixelColor(50, 100), QColor(0x56, 0x34, 0x12));
}
