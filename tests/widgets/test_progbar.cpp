#include "AATestHelpers.h"
#include "widgets/TProgBar.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <tuple>

using namespace widgets;
using framework::TColor;

namespace {

TColor At(const TProgBar &bar, int x, int y) {
  return aatest::At(bar.Buffer(), x, y);
}

// A plain gauge for geometry checks: no frames, no grid, red to lime.
void MakePlainGauge(TProgBar &bar, TProgBarDirection direction) {
  bar.SetBounds(0, 0, 40, 60);
  bar.SetTextVisible(false);
  bar.SetFrameStyleOuter(TFrameStyle::fsNone);
  bar.SetFrameStyleInner(TFrameStyle::fsNone);
  bar.SetColorMin(framework::clRed);
  bar.SetColorMax(framework::clLime);
  bar.SetColorMargin(framework::clBlack);
  bar.SetColorBackGnd(framework::clWhite);
  bar.SetDirection(direction);
}

struct Counter {
  int calls = 0;
  QString lastText;
  QString replacement;
  bool replace = false;
  void OnShow(QObject *, QString &text) {
    ++calls;
    lastText = text;
    if (replace) text = replacement;
  }
};

} // namespace

TEST(TProgBar, ConstructorValues) {
  TProgBar bar;
  EXPECT_EQ(std::tuple(bar.Width(), bar.Height(), bar.ColorMin(), bar.ColorMax(),
                       bar.ColorTable()[0], bar.ColorTable()[1023], bar.FrameStyleOuter(),
                       bar.FrameStyleInner(), bar.FrameColorShadow(), bar.FrameColorLight()),
            std::tuple(300, 28, framework::clBlue, framework::clRed, 0xFF0000u, 0x0000FFu,
                       TFrameStyle::fsRaised, TFrameStyle::fsLowered, framework::clGray,
                       framework::clWhite));
  EXPECT_EQ(
      std::tuple(bar.Direction(), bar.ColorMapMode(), bar.Value(), bar.MarginLeft(), bar.TextPosX(),
                 bar.TextVisible()),
      std::tuple(TProgBarDirection::pbdRightward, TColorMapping::cgmStretch, 10.0, 4, 10, true));
}

TEST(TProgBar, SimpleEmbossedAndEngravedOutlines) {
  TProgBar bar;
  MakePlainGauge(bar, TProgBarDirection::pbdRightward);
  bar.SetValue(0);
  bar.SetFrameStyleOuter(TFrameStyle::fsSimple);
  EXPECT_EQ(At(bar, 39, 59), framework::clGray);
  EXPECT_EQ(At(bar, 0, 0), framework::clGray);
  bar.SetFrameStyleOuter(TFrameStyle::fsEmbossed);
  EXPECT_EQ(At(bar, 0, 10), framework::clWhite);
  EXPECT_EQ(At(bar, 39, 10), framework::clGray);
  EXPECT_EQ(At(bar, 38, 10), framework::clWhite);
  EXPECT_EQ(At(bar, 0, 59), framework::clBlack) << "corner in the margin colour";
  bar.SetFrameStyleOuter(TFrameStyle::fsEngraved);
  EXPECT_EQ(At(bar, 0, 10), framework::clGray);
  EXPECT_EQ(At(bar, 39, 10), framework::clWhite);
  EXPECT_EQ(At(bar, 1, 10), framework::clWhite);
}

TEST(TProgBar, SolidBarGrowsFromItsBaseInEveryDirection) {
  // Inner area (4, 4, 36, 56); spans 52 vertical, 32 horizontal; value 50 of 100.
  struct Case {
    TProgBarDirection dir;
    QPoint inside, outside;
  };
  const Case cases[] = {
      {TProgBarDirection::pbdUpward, {20, 30}, {20, 29}},
      {TProgBarDirection::pbdDownward, {20, 29}, {20, 30}},
      {TProgBarDirection::pbdLeftward, {20, 30}, {19, 30}},
      {TProgBarDirection::pbdRightward, {19, 30}, {20, 30}},
  };
  for (const Case &c : cases) {
    TProgBar bar;
    MakePlainGauge(bar, c.dir);
    bar.SetValue(50);
    EXPECT_EQ(At(bar, c.inside.x(), c.inside.y()), framework::clRed) << int(c.dir);
    EXPECT_EQ(At(bar, c.outside.x(), c.outside.y()), framework::clWhite) << int(c.dir);
  }
}

TEST(TProgBar, ColourTableInterpolatesBetweenMinAndMax) {
  TProgBar bar;
  bar.SetColorMin(framework::clRed);
  bar.SetColorMax(framework::clLime);
  const auto &t = bar.ColorTable();
  EXPECT_EQ(t[0], 0x0000FFu);
  EXPECT_EQ(t[1], 0x0000FEu);
  EXPECT_EQ(t[511], 0x007F7Fu);
  EXPECT_EQ(t[512], 0x007F7Fu);
  EXPECT_EQ(t[1022], 0x00FE00u);
  EXPECT_EQ(t[1023], 0x00FF00u);

  bar.SetColorMax(framework::clYellow);
  bar.SetColorMin(framework::clYellow);
  for (TColor c : bar.ColorTable())
    ASSERT_EQ(c, framework::clYellow);

  // System colours mix by their raw low bytes, and the result has a zero high byte.
  EXPECT_EQ(TProgBar::MixColor(framework::clBtnFace, 0x00000F, 0.0), 0x00000Fu);
  EXPECT_EQ(TProgBar::MixColor(0, 0xFFFFFF, 2.0), 0xFFFFFFu) << "fraction clamped";
  EXPECT_EQ(TProgBar::MixColor(0xFFFFFF, 0, -1.0), 0xFFFFFFu);
}

TEST(TProgBar, GradientModesPlaceTheTableOverTheBar) {
  TProgBar bar;
  MakePlainGauge(bar, TProgBarDirection::pbdUpward); // inner rows 4..55, S = 52
  bar.SetShowColorGradient(true);
  bar.SetValue(50); // extent 26: rows 30..55
  const auto &t = bar.ColorTable();

  bar.SetColorMapMode(TColorMapping::cgmStretch);
  EXPECT_EQ(At(bar, 20, 55), t[0]) << "base line is entry 0";
  EXPECT_EQ(At(bar, 20, 30), t[static_cast<std::size_t>(std::nearbyint(25 * 1023.0 / 26))]);

  bar.SetColorMapMode(TColorMapping::cgmMove);
  EXPECT_EQ(At(bar, 20, 30), t[1023]) << "tip line is entry 1023";
  EXPECT_EQ(At(bar, 20, 55), t[1023 - static_cast<std::size_t>(std::nearbyint(25 * 1023.0 / 52))]);

  bar.SetColorMapMode(TColorMapping::cgmCover);
  EXPECT_EQ(At(bar, 20, 55), t[0]);
  EXPECT_EQ(At(bar, 20, 30), t[static_cast<std::size_t>(std::nearbyint(25 * 1023.0 / 52))]);
  EXPECT_EQ(At(bar, 20, 29), framework::clWhite);

  bar.SetColorMax(framework::clBlue);
  bar.SetColorMin(framework::clBlue);
  for (auto mode : {TColorMapping::cgmCover, TColorMapping::cgmStretch, TColorMapping::cgmMove}) {
    bar.SetColorMapMode(mode);
    for (int y = 30; y <= 55; ++y)
      ASSERT_EQ(At(bar, 20, y), framework::clBlue) << "one-colour bar, row " << y;
  }
}

TEST(TProgBar, OutOfRangeValuesAndAnEmptyScaleDoNotFail) {
  TProgBar bar;
  MakePlainGauge(bar, TProgBarDirection::pbdUpward);
  bar.SetShowColorGradient(true);
  bar.SetGridDist(3);
  bar.SetColorMapMode(TColorMapping::cgmCover);
  bar.SetValue(250); // the bar runs through the margin: cover indices beyond 1023 are clamped
  EXPECT_EQ(At(bar, 20, 0), bar.ColorMax());
  bar.SetColorMapMode(TColorMapping::cgmMove);
  EXPECT_EQ(At(bar, 20, 54), bar.ColorMin()) << "move indices below 0 are clamped";
  bar.SetValue(1e300);
  bar.SetValue(-1e300);
  bar.SetValue(std::numeric_limits<double>::quiet_NaN());
  bar.SetValue(-40);
  EXPECT_EQ(At(bar, 20, 55), framework::clWhite) << "a negative value draws no bar";

  bar.SetMax(0);
  bar.SetValue(0);
  bar.SetValue(5);
  EXPECT_EQ(At(bar, 20, 55), framework::clWhite) << "Max equal to Min draws no bar";
  EXPECT_EQ(TProgBar::BarExtent(100, 5, 3, 3), 0);
  EXPECT_EQ(TProgBar::BarExtent(100, 0, 0, 0), 0);

  for (auto dir : {TProgBarDirection::pbdDownward, TProgBarDirection::pbdLeftward,
                   TProgBarDirection::pbdRightward}) {
    TProgBar other;
    MakePlainGauge(other, dir);
    other.SetShowColorGradient(true);
    other.SetGridDist(2);
    other.SetMarginLeft(-2000000000);
    other.SetMarginTop(-2000000000);
    other.SetValue(1e12);
    other.SetMarginLeft(2000000000);
    other.SetMarginRight(-2000000000);
  }
}

TEST(TProgBar, FormatValue) {
  EXPECT_EQ(TProgBar::FormatValue(50, 0), "50");
  EXPECT_EQ(TProgBar::FormatValue(50, 2), "50.00");
  EXPECT_EQ(TProgBar::FormatValue(0.125, 2), "0.13");
  EXPECT_EQ(TProgBar::FormatValue(2.5, 0), "3") << "halves go up, away from zero";
  EXPECT_EQ(TProgBar::FormatValue(-2.5, 0), "-3");
  EXPECT_EQ(TProgBar::FormatValue(9.996, 2), "10.00");
  EXPECT_EQ(TProgBar::FormatValue(-0.004, 2), "0.00");
  EXPECT_EQ(TProgBar::FormatValue(0, 0), "0");
  EXPECT_EQ(TProgBar::FormatValue(1234567.0, 1), "1234567.0");
  EXPECT_EQ(TProgBar::FormatValue(0.000123, 10), "0.0001230000");

  EXPECT_EQ(TProgBar::FormatValue(50, -2), " 5.0E+0001");
  EXPECT_EQ(TProgBar::FormatValue(-50, -2), "-5.0E+0001");
  EXPECT_EQ(TProgBar::FormatValue(0, -2), " 0.0E+0000");
  EXPECT_EQ(TProgBar::FormatValue(0.05, -2), " 5.0E-0002");
  EXPECT_EQ(TProgBar::FormatValue(99.5, -2), " 1.0E+0002");
  EXPECT_EQ(TProgBar::FormatValue(1.25, -2), " 1.3E+0000");

  EXPECT_EQ(TProgBar::FormatValue(50, -1), " 5.0E+01");
  EXPECT_EQ(TProgBar::FormatValue(-0.00001, -1), "-1.0E-05");
  EXPECT_EQ(TProgBar::FormatValue(1e100, -1), "********");
  EXPECT_EQ(TProgBar::FormatValue(-3e-150, -1), "********");
  EXPECT_EQ(TProgBar::FormatValue(std::numeric_limits<double>::infinity(), 0), "INF");
}

TEST(TProgBar, SettersClampTheTextProperties) {
  TProgBar bar;
  bar.SetBounds(0, 0, 24, 105);
  bar.SetTextPosX(1000);
  EXPECT_EQ(bar.TextPosX(), 24);
  bar.SetTextPosX(-3);
  EXPECT_EQ(bar.TextPosX(), 0);
  bar.SetTextPosY(106);
  EXPECT_EQ(bar.TextPosY(), 105);
  bar.SetTextAngle(400);
  EXPECT_EQ(bar.TextAngle(), 360);
  bar.SetTextAngle(-1);
  EXPECT_EQ(bar.TextAngle(), 0);
  bar.SetTextDecPlaces(-5);
  EXPECT_EQ(bar.TextDecPlaces(), -2);
  bar.SetTextDecPlaces(11);
  EXPECT_EQ(bar.TextDecPlaces(), 10);
  bar.SetGridDist(-4);
  EXPECT_EQ(bar.GridDist(), -4) << "stored unchanged";
}

TEST(TProgBar, OnlySettersWithoutEqualityTestRepaintForAnUnchangedValue) {
  TProgBar bar;
  Counter counter;
  bar.SetOnShowValue(TBeforeShowValueEvent::bind<&Counter::OnShow>(&counter));
  auto renders = [&](auto &&action) {
    const int before = counter.calls;
    action();
    return counter.calls - before;
  };
  EXPECT_EQ(renders([&] { bar.SetValue(bar.Value()); }), 0);
  EXPECT_EQ(renders([&] { bar.SetMax(bar.Max()); }), 0);
  EXPECT_EQ(renders([&] { bar.SetColorMargin(bar.ColorMargin()); }), 0);
  EXPECT_EQ(renders([&] { bar.SetGridDist(bar.GridDist()); }), 0);
  EXPECT_EQ(renders([&] { bar.SetDirection(bar.Direction()); }), 0);
  EXPECT_EQ(renders([&] { bar.SetColorScheme(bar.ColorScheme()); }), 0);
  EXPECT_EQ(renders([&] { bar.SetValue(11); }), 1);
  EXPECT_EQ(renders([&] { bar.SetColorMin(bar.ColorMin()); }), 1);
  EXPECT_EQ(renders([&] { bar.SetColorMax(bar.ColorMax()); }), 1);
  EXPECT_EQ(renders([&] { bar.SetTextAngle(bar.TextAngle()); }), 1);
  EXPECT_EQ(renders([&] { bar.SetTextPosX(bar.TextPosX()); }), 1);
  EXPECT_EQ(renders([&] { bar.SetTextDecPlaces(bar.TextDecPlaces()); }), 1);
  EXPECT_EQ(renders([&] { bar.SetTextVisible(true); }), 1);
  EXPECT_EQ(renders([&] { bar.SetBackGroundImg(""); }), 1);
  EXPECT_EQ(counter.lastText, "11");
}

TEST(TProgBar, ValueTextIsCentredOnItsPositionAndTheHandlerMayReplaceIt) {
  TProgBar bar;
  bar.SetBounds(0, 0, 100, 100);
  bar.SetColorBackGnd(framework::clBlack);
  bar.SetFrameStyleOuter(TFrameStyle::fsNone);
  bar.SetFrameStyleInner(TFrameStyle::fsNone);
  bar.SetValue(0);
  framework::FontDesc font;
  font.Height = -13;
  font.Bold = true;
  font.Color = framework::clWhite;
  bar.SetFont(font);
  bar.SetTextPosX(50);
  bar.SetTextPosY(50);
  bar.SetTextDecPlaces(4); // "0.0000": wide
  for (int angle : {0, 90}) {
    bar.SetTextAngle(angle);
    int minX = 100, maxX = -1, minY = 100, maxY = -1;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x)
        if (At(bar, x, y) == framework::clWhite) {
          minX = std::min(minX, x);
          maxX = std::max(maxX, x);
          minY = std::min(minY, y);
          maxY = std::max(maxY, y);
        }
    ASSERT_GE(maxX, 0) << "no text at angle " << angle;
    EXPECT_NEAR((minX + maxX) / 2.0, 50, 4) << angle;
    EXPECT_NEAR((minY + maxY) / 2.0, 50, 4) << angle;
    if (angle == 0)
      EXPECT_GT(maxX - minX, maxY - minY);
    else
      EXPECT_GT(maxY - minY, maxX - minX);
  }

  Counter counter;
  counter.replace = true;
  bar.SetOnShowValue(TBeforeShowValueEvent::bind<&Counter::OnShow>(&counter));
  bar.SetTextVisible(true);
  EXPECT_EQ(counter.lastText, "0.0000");
  const QImage emptyText = bar.Buffer().copy();
  bar.SetTextVisible(false);
  EXPECT_TRUE(aatest::SameRgb(emptyText, bar.Buffer())) << "the handler's empty text draws nothing";
}

TEST(TProgBar, BackgroundPictureLoadsOnlyFromAReadableBitmap) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString good = dir.filePath("back.bmp");
  QImage picture(2, 1, QImage::Format_RGB32);
  picture.setPixel(0, 0, framework::ToQRgb(framework::clYellow));
  picture.setPixel(1, 0, framework::ToQRgb(framework::clBlue));
  ASSERT_TRUE(picture.save(good, "BMP"));

  TProgBar bar;
  MakePlainGauge(bar, TProgBarDirection::pbdUpward);
  bar.SetValue(0);
  bar.SetBackGroundImg(dir.filePath("missing.bmp"));
  EXPECT_EQ(bar.BackGroundImg(), "");
  bar.SetBackGroundImg(good);
  EXPECT_EQ(bar.BackGroundImg(), good);
  EXPECT_EQ(At(bar, 4, 30), framework::clYellow) << "stretched over the inner area";
  EXPECT_EQ(At(bar, 35, 30), framework::clBlue);
  EXPECT_EQ(At(bar, 36, 30), framework::clBlack) << "margin";

  const QString junk = dir.filePath("junk.bmp");
  {
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM not really a bitmap");
  }
  bar.SetBackGroundImg(junk);
  EXPECT_EQ(bar.BackGroundImg(), good) << "a file that does not load keeps the old name";
  EXPECT_EQ(At(bar, 4, 30), framework::clYellow);
  // Cut inside its pixel rows, a bitmap would show memory that was never written.
  QImage wide(64, 64, QImage::Format_RGB32);
  wide.fill(QColor(Qt::red));
  const QString cut = dir.filePath("cut.bmp");
  ASSERT_TRUE(wide.save(cut, "BMP"));
  ASSERT_TRUE(QFile::resize(cut, QFileInfo(cut).size() - 4096));
  bar.SetBackGroundImg(cut);
  EXPECT_EQ(bar.BackGroundImg(), good);

  bar.SetBackGroundImg("");
  EXPECT_EQ(bar.BackGroundImg(), "");
  EXPECT_EQ(At(bar, 4, 30), framework::clWhite);
}

TEST(TProgBar, BackgroundNameIsTakenAsItIsAndOnlyABitmapLoads) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QImage picture(2, 2, QImage::Format_RGB32);
  picture.fill(QColor(Qt::yellow));
  ASSERT_TRUE(picture.save(dir.filePath("back.bmp"), "BMP"));
  ASSERT_TRUE(picture.save(dir.filePath("photo.bmp"), "PNG"));
  ASSERT_TRUE(picture.save(dir.filePath("bitmap.dat"), "BMP"));

  TProgBar bar;
  MakePlainGauge(bar, TProgBarDirection::pbdUpward);
  bar.SetValue(0);
  // "back" does not exist, even though "back.bmp" does.
  bar.SetBackGroundImg(dir.filePath("back"));
  EXPECT_EQ(bar.BackGroundImg(), "");
  bar.SetBackGroundImg(dir.filePath("photo.bmp"));
  EXPECT_EQ(bar.BackGroundImg(), "") << "not a bitmap inside";
  EXPECT_EQ(At(bar, 4, 30), framework::clWhite);
  bar.SetBackGroundImg(dir.filePath("bitmap.dat"));
  EXPECT_EQ(bar.BackGroundImg(), dir.filePath("bitmap.dat")) << "a bitmap under any name";
  EXPECT_EQ(At(bar, 4, 30), framework::clYellow);
}

namespace {

// The gauge's own drawing on an image of any ratio, as its buffer gets it on a scaled screen.
class DrawnGauge : public TProgBar {
public:
  QImage DrawAt(int ratio) {
    QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    framework::Canvas canvas(image);
    Render(canvas);
    image.setDevicePixelRatio(1);
    return image;
  }
};

} // namespace

TEST(TProgBar, AtALargerRatioTheBarIsMeasuredAndShadedInDevicePixelsAndTheRestScaledWhole) {
  // The window's gauge: 24 x 105, margins 1, upward. Half of 103 rows ends mid-pixel at ratio 1
  // (52 rows by rounding), at ratio 2 it is exactly 103 of the 206 device rows.
  DrawnGauge bar;
  bar.SetBounds(0, 0, 24, 105);
  bar.SetTextVisible(false);
  bar.SetMarginLeft(1), bar.SetMarginTop(1), bar.SetMarginRight(1), bar.SetMarginBottom(1);
  bar.SetFrameStyleInner(TFrameStyle::fsNone);
  bar.SetDirection(TProgBarDirection::pbdUpward);
  bar.SetColorMin(framework::clRed);
  bar.SetColorMax(framework::clLime);
  bar.SetColorBackGnd(framework::clWhite);
  bar.SetValue(50);
  const QImage one = bar.DrawAt(1);
  const QImage two = bar.DrawAt(2);
  ASSERT_EQ(two.size(), QSize(48, 210));
  const int x = 12; // clear of the frame
  EXPECT_EQ(aatest::At(one, x, 104 - 52), framework::clRed);
  EXPECT_EQ(aatest::At(one, x, 104 - 53), framework::clWhite);
  EXPECT_EQ(aatest::At(two, 2 * x, 208 - 103), framework::clRed);
  EXPECT_EQ(aatest::At(two, 2 * x, 208 - 104), framework::clWhite);
  // The frame is the same drawing in 2 x 2 blocks.
  EXPECT_EQ(two.copy(0, 0, 4, 210), one.copy(0, 0, 2, 105).scaled(4, 210));

  // A gradient steps once per device row: about twice the colours along the bar.
  bar.SetShowColorGradient(true);
  bar.SetValue(100);
  const auto colours = [x](const QImage &image, int ratio) {
    std::set<QRgb> seen;
    for (int y = ratio; y < image.height() - ratio; ++y)
      seen.insert(image.pixel(x * ratio, y));
    return seen.size();
  };
  const std::size_t once = colours(bar.DrawAt(1), 1);
  EXPECT_GT(once, 90u);
  EXPECT_GT(colours(bar.DrawAt(2), 2), once * 3 / 2);
}
