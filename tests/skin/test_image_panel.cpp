#include "SkinTestHelpers.h"
#include "skin/TsuiImagePanel.h"

#include <gtest/gtest.h>

using namespace skin;
using skin::test::Solid;

namespace {

// A picture whose every pixel differs.
QImage Numbered(QSize size) {
  QImage picture(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      picture.setPixel(x, y, qRgb(10 + 30 * x, 10 + 40 * y, 99));
  return picture;
}

// A parent painting a pattern of its own, with the panel over part of it.
class PatternParent : public QWidget {
public:
  static QColor Pattern(int x, int y) { return QColor((x * 13) % 256, (y * 17) % 256, 40); }
  PatternParent() {
    resize(40, 30);
    panel.setGeometry(5, 3, 20, 10);
  }
  TsuiImagePanel panel{this};

protected:
  void paintEvent(QPaintEvent *) override {
    QPainter painter(this);
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x)
        painter.fillRect(x, y, 1, 1, Pattern(x, y));
  }
};

TEST(TsuiImagePanel, StretchFillsThePanelDistortingThePicture) {
  PatternParent parent;
  QImage picture = Solid(QSize(2, 2), Qt::blue);
  picture.setPixelColor(1, 1, Qt::yellow);
  picture.setPixelColor(1, 0, Qt::white);
  parent.panel.SetDrawStyle(TsuiDrawStyle::suiStretch);
  parent.panel.SetPicture(picture);
  parent.panel.Repaint();
  const QImage &shown = parent.panel.Buffer();
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::blue));
  EXPECT_EQ(shown.pixelColor(9, 4), QColor(Qt::blue));
  EXPECT_EQ(shown.pixelColor(10, 5), QColor(Qt::yellow));
  EXPECT_EQ(shown.pixelColor(19, 9), QColor(Qt::yellow));
  EXPECT_EQ(shown.pixelColor(10, 4), QColor(Qt::white));
}

TEST(TsuiImagePanel, TileRepeatsThePictureUnscaledFromTheCorner) {
  PatternParent parent;
  const QImage picture = Numbered(QSize(3, 2));
  parent.panel.SetDrawStyle(TsuiDrawStyle::suiTile);
  parent.panel.SetPicture(picture);
  parent.panel.Repaint();
  int wrong = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x)
      if (parent.panel.Buffer().pixel(x, y) != picture.pixel(x % 3, y % 2)) ++wrong;
  EXPECT_EQ(wrong, 0);
}

TEST(TsuiImagePanel, EmptyShowsExactlyTheParentOrItsColour) {
  for (const bool transparent : {true, false}) {
    PatternParent parent;
    parent.panel.SetColor(framework::clRed);
    parent.panel.SetTransparent(transparent);
    const QImage whole = parent.grab().toImage();
    int wrong = 0;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x)
        wrong += whole.pixelColor(x + 5, y + 3) !=
                 (transparent ? PatternParent::Pattern(x + 5, y + 3) : QColor(Qt::red));
    EXPECT_EQ(wrong, 0) << transparent;
  }
}

TEST(TsuiImagePanel, TransparentPictureLosesItsBottomLeftColour) {
  PatternParent parent;
  QImage picture = Solid(QSize(4, 4), Qt::white);
  picture.setPixelColor(1, 1, Qt::red);
  parent.panel.SetDrawStyle(TsuiDrawStyle::suiNormal);
  parent.panel.SetPicture(picture);
  parent.panel.SetTransparent(true);
  const QImage shown = parent.grab().toImage();
  EXPECT_EQ(shown.pixelColor(5, 3), PatternParent::Pattern(5, 3));
  EXPECT_EQ(shown.pixelColor(6, 4), QColor(Qt::red));
  parent.panel.SetTransparent(false);
  EXPECT_EQ(parent.grab().toImage().pixelColor(5, 3), QColor(Qt::white));
}

TEST(TsuiImagePanel, AutoSizeTakesThePictureSizeExceptAlongTheDockedSide) {
  const std::pair<TAlign, QSize> cases[] = {
      {TAlign::alNone, {124, 145}}, {TAlign::alTop, {300, 145}},   {TAlign::alBottom, {300, 145}},
      {TAlign::alLeft, {124, 200}}, {TAlign::alRight, {124, 200}}, {TAlign::alClient, {300, 200}}};
  for (const auto &[align, expected] : cases) {
    QWidget parent;
    parent.resize(300, 200);
    TsuiImagePanel panel(&parent);
    panel.setGeometry(10, 10, 50, 40);
    panel.SetAlign(align);
    panel.SetAutoSize(true);
    const QSize before = panel.size();
    panel.SetPicture(QImage());
    EXPECT_EQ(panel.size(), before);
    panel.SetPicture(Solid(QSize(124, 145), Qt::blue));
    EXPECT_EQ(panel.size(), expected) << static_cast<int>(align);
  }
}

TEST(TsuiImagePanel, CaptionSitsOnOneCentredLineAtItsSideAndIsRemembered) {
  using framework::TAlignment;
  for (const TAlignment alignment :
       {TAlignment::taLeftJustify, TAlignment::taRightJustify, TAlignment::taCenter}) {
    PatternParent parent;
    parent.panel.setGeometry(0, 0, 100, 30);
    parent.panel.SetCaption(QStringLiteral("Logo"));
    parent.panel.SetAlignment(alignment);
    parent.panel.Repaint();
    const QFontMetrics metrics(framework::MakeFont(parent.panel.Font()));
    const int w = metrics.horizontalAdvance(QStringLiteral("Logo")), h = metrics.height();
    const int left = alignment == TAlignment::taLeftJustify    ? 0
                     : alignment == TAlignment::taRightJustify ? 100 - w
                                                               : (100 - w) / 2;
    EXPECT_EQ(parent.panel.CaptionRect(),
              (framework::TRect{left, (30 - h) / 2, left + w, (30 - h) / 2 + h}))
        << static_cast<int>(alignment);
  }
}

TEST(TsuiImagePanel, LoadRefusesMissingFilesAndKeepsThePicture) {
  TsuiImagePanel panel(nullptr);
  panel.SetPicture(Solid(QSize(3, 3), Qt::blue));
  EXPECT_FALSE(
      panel.LoadPicture(QStringLiteral("/nonexistent/Mouse.gif"), framework::PictureFormat::Gif));
  EXPECT_EQ(panel.Picture().size(), QSize(3, 3));
}

} // namespace

TEST(TsuiImagePanel, PictureFromASourceIsDecodedOnlyWhenDrawnOrAskedFor) {
  QWidget parent;
  parent.resize(300, 200);
  TsuiImagePanel seen(&parent), hidden(&parent), outside(&parent);
  int decoded = 0;
  const auto source = [&decoded] {
    ++decoded;
    return Solid(QSize(74, 174), Qt::blue);
  };
  outside.move(400, 0);
  hidden.setVisible(false);
  for (TsuiImagePanel *panel : {&seen, &hidden, &outside}) {
    panel->SetAutoSize(true);
    panel->SetPictureSource(QSize(74, 174), source);
    EXPECT_EQ(panel->size(), QSize(74, 174)) << "sized before it is decoded";
  }
  EXPECT_EQ(decoded, 0);
  const QImage shown = parent.grab().toImage();
  EXPECT_EQ(decoded, 1) << "only the panel that is seen";
  EXPECT_EQ(shown.pixelColor(10, 10), QColor(Qt::blue));
  EXPECT_EQ(outside.Picture().size(), QSize(74, 174));
  EXPECT_EQ(decoded, 2);
  outside.Picture();
  EXPECT_EQ(decoded, 2) << "once";

  hidden.SetPicture(Solid(QSize(3, 2), Qt::red));
  EXPECT_EQ(hidden.Picture().size(), QSize(3, 2)) << "a picture set later wins";
  EXPECT_EQ(decoded, 2);
}
