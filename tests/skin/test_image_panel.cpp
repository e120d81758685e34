#include "SkinTestHelpers.h"
#include "skin/TsuiImagePanel.h"

#include <gtest/gtest.h>

using namespace skin;
using skin::test::Solid;

TEST(TsuiImagePanel, AutoSizeTakesThePictureSizeOnlyWithAPicture) {
  QWidget parent;
  TsuiImagePanel panel(&parent);
  panel.setGeometry(0, 0, 50, 40);
  panel.SetAutoSize(true);
  EXPECT_EQ(panel.size(), QSize(50, 40));
  panel.SetPicture(Solid(QSize(124, 145), Qt::blue));
  EXPECT_EQ(panel.size(), QSize(124, 145));
}

TEST(TsuiImagePanel, TransparentPictureLosesItsBottomLeftColour) {
  QWidget parent;
  parent.resize(4, 4);
  parent.setAutoFillBackground(true);
  parent.setPalette(QPalette(Qt::green));
  TsuiImagePanel panel(&parent);
  panel.setGeometry(0, 0, 4, 4);
  QImage picture = Solid(QSize(4, 4), Qt::white);
  picture.setPixelColor(1, 1, Qt::red);
  panel.SetDrawStyle(TsuiDrawStyle::suiNormal);
  panel.SetPicture(picture);
  panel.SetTransparent(true);
  const QImage shown = parent.grab().toImage();
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::green));
  EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::red));
  panel.SetTransparent(false);
  EXPECT_EQ(parent.grab().toImage().pixelColor(0, 0), QColor(Qt::white));
}

TEST(TsuiImagePanel, StretchFillsAndOpaqueEmptyPanelShowsColour) {
  QWidget parent;
  TsuiImagePanel panel(&parent);
  panel.setGeometry(0, 0, 20, 10);
  panel.SetColor(framework::clRed);
  panel.Repaint();
  EXPECT_EQ(panel.Buffer().pixelColor(19, 9), QColor(Qt::red));
  QImage picture = Solid(QSize(2, 2), Qt::blue);
  picture.setPixelColor(1, 1, Qt::yellow);
  panel.SetDrawStyle(TsuiDrawStyle::suiStretch);
  panel.SetPicture(picture);
  panel.Repaint();
  EXPECT_EQ(panel.Buffer().pixelColor(0, 0), QColor(Qt::blue));
  EXPECT_EQ(panel.Buffer().pixelColor(19, 9), QColor(Qt::yellow));
}

TEST(TsuiImagePanel, LoadRefusesDamagedOrMislabelledFiles) {
  TsuiImagePanel panel(nullptr);
  panel.SetPicture(Solid(QSize(3, 3), Qt::blue));
  EXPECT_FALSE(
      panel.LoadPicture(QStringLiteral("/nonexistent/Mouse.gif"), framework::PictureFormat::Gif));
  EXPECT_EQ(panel.Picture().size(), QSize(3, 3));
}
