#include "skin/style/BitmapCatalogue.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace skin::style;

namespace {

struct Expected {
  std::string name;
  BitmapSize size;
};

std::vector<Expected> Catalogue() {
  std::vector<Expected> all;
  for (const BitmapElement &e : BitmapCatalogue)
    for (std::size_t s = 0; s < BuiltInStyleCount; ++s)
      if (e.Sizes[s].Present()) all.push_back({ResourceName(e, static_cast<int>(s)), e.Sizes[s]});
  for (const SharedBitmap &b : SharedBitmaps)
    all.push_back({b.Name, b.Size});
  return all;
}

QString Path(const std::string &name) {
  return QStringLiteral(":/skin/%1.bmp").arg(name.c_str());
}

QImage Load(const std::string &name) {
  return QImage(Path(name)).convertToFormat(QImage::Format_RGB32);
}

QRgb Rgb(unsigned v) {
  return 0xFF000000u | v;
}

} // namespace

TEST(SkinBitmaps, EveryCatalogueEntryIsA24BitResourceOfItsListedSize) {
  for (const Expected &e : Catalogue()) {
    SCOPED_TRACE(e.name);
    QFile file(Path(e.name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(30);
    ASSERT_EQ(head.size(), 30);
    EXPECT_EQ(head.left(2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(head[28]), 24u) << "bits per pixel";
    const QImage image(Path(e.name));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(e.size.Width, e.size.Height));
    const auto found = FindBitmap(e.name);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Size, e.size);
  }
}

TEST(SkinBitmaps, TheResourcesHoldNothingBesideTheCatalogue) {
  std::set<std::string> expected;
  for (const Expected &e : Catalogue())
    expected.insert(e.name + ".bmp");
  std::set<std::string> present;
  for (const QString &f : QDir(QStringLiteral(":/skin")).entryList(QDir::Files))
    present.insert(f.toStdString());
  EXPECT_EQ(present, expected);
  EXPECT_FALSE(FindBitmap("DEEPBLUE_SCROLLBUTTON")) << "a style without the element";
  EXPECT_FALSE(FindBitmap("MACOS_"));
  EXPECT_EQ(FindBitmap("WINXP_BUTTON")->Parts, 3);
}

TEST(SkinBitmaps, TilesAndTheProteinTitleHaveTheirExactRows) {
  const struct {
    const char *name;
    std::vector<unsigned> rows;
  } cases[] = {
      {"PROTEIN_FORM_BACKGROUND",
       {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xEEEEEE, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xEEEEEE}},
      {"MACOS_FORM_BACKGROUND",
       {0xFFFFFF, 0xEFEFEF, 0xE8E8E8, 0xEFEFEF, 0xFFFFFF, 0xEFEFEF, 0xE8E8E8, 0xEFEFEF}},
      {"PROTEIN_TITLE_CLIENT",
       {0x0C0C0C, 0x9092B9, 0x212575, 0x212575, 0x212575, 0x212575, 0x212575, 0x212575,
        0x212575, 0x212575, 0x212575, 0x212575, 0x212575, 0x212575, 0x212575, 0x212575,
        0x212575, 0x212575, 0x212575, 0x212575, 0x212575, 0x212575, 0x212575}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const QImage image = Load(c.name);
    ASSERT_EQ(image.height(), static_cast<int>(c.rows.size()));
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        ASSERT_EQ(image.pixel(x, y), Rgb(c.rows[y])) << x << "," << y;
  }
}

TEST(SkinBitmaps, ProteinTitleEndsShareTheBandOfTheMiddle) {
  for (const char *name : {"PROTEIN_TITLE_LEFT", "PROTEIN_TITLE_RIGHT"}) {
    SCOPED_TRACE(name);
    const QImage image = Load(name);
    for (int x = 0; x < image.width(); ++x) {
      EXPECT_EQ(image.pixel(x, 0), Rgb(0x0D0D0D));
      EXPECT_EQ(image.pixel(x, 1), Rgb(0x9092B9));
    }
    // The left picture's texture must fade into the middle where they meet.
    EXPECT_EQ(image.pixel(image.width() - 1, 12), Rgb(0x212575));
  }
}

TEST(SkinBitmaps, MenuCheckIsAGreenTickShadedDarkGreyOnWhite) {
  const QImage image = Load("MENU_CHECKED");
  const struct {
    int x, y;
    unsigned rgb;
  } pixels[] = {{0, 0, 0xFFFFFF},  {1, 8, 0x00CB1D},  {13, 4, 0x00CB1D}, {5, 11, 0x00CB1D},
                {14, 5, 0x575757}, {6, 12, 0x575757}, {15, 4, 0xFFFFFF}, {0, 8, 0xFFFFFF}};
  for (const auto &p : pixels)
    EXPECT_EQ(image.pixel(p.x, p.y), Rgb(p.rgb)) << p.x << "," << p.y;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const QRgb c = image.pixel(x, y);
      if (c == Rgb(0xFFFFFF)) continue;
      EXPECT_TRUE(c == Rgb(0x00CB1D) || c == Rgb(0x575757)) << x << "," << y;
      EXPECT_TRUE(y >= 4 && y <= 12 && x >= 1 && x <= 14) << x << "," << y;
    }
}

// Strips whose states are keyed: each part's bottom-left pixel is the key, and no pixel comes
// close to the key without being it (a blended edge would show as a pink fringe).
TEST(SkinBitmaps, KeyedStripsCarryAPureKeyInEveryPart) {
  const struct {
    const char *name;
    int parts;
    unsigned key;
  } cases[] = {{"MACOS_BUTTON", 3, 0xFF00FF},      {"BLUEGLASS_BUTTON", 3, 0xFF00FF},
               {"PROTEIN_TITLEBTN", 18, 0xF504FA}, {"BLUEGLASS_TITLEBTN", 18, 0xFF00FF},
               {"MACOS_RADIOBUTTON", 4, 0xFF00FF}, {"DEEPBLUE_TRACKBAR_SLIDER", 1, 0xFF00FF}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const QImage image = Load(c.name);
    const int w = image.width() / c.parts;
    for (int k = 0; k < c.parts; ++k) {
      EXPECT_EQ(image.pixel(k * w, image.height() - 1), Rgb(c.key)) << "part " << k;
      EXPECT_EQ(image.pixel(k * w, 0), Rgb(c.key)) << "part " << k;
    }
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        const bool pinkish = qRed(p) > 0xC0 && qGreen(p) < 0x50 && qBlue(p) > 0xC0;
        ASSERT_TRUE(!pinkish || p == Rgb(c.key)) << x << "," << y;
      }
  }
}

TEST(SkinBitmaps, MacButtonStatesGoFromGreyToLightBlueToDarkerBlue) {
  const QImage image = Load("MACOS_BUTTON");
  const int w = image.width() / 3, mid = image.height() / 2;
  const QRgb normal = image.pixel(w / 2, mid), over = image.pixel(w + w / 2, mid),
             pressed = image.pixel(2 * w + w / 2, mid);
  EXPECT_LT(std::abs(qRed(normal) - qBlue(normal)), 8) << "grey";
  EXPECT_GT(qBlue(over), qRed(over) + 40);
  EXPECT_GT(qBlue(pressed), qRed(pressed) + 40);
  EXPECT_LT(qGray(pressed), qGray(over));
}

namespace {

// How far apart two equal-sized pictures are: the sum of channel differences.
long Distance(const QImage &a, const QImage &b) {
  long sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  return sum;
}

std::vector<QImage> Parts(const QImage &strip, int count) {
  std::vector<QImage> parts;
  const int w = strip.width() / count;
  for (int k = 0; k < count; ++k)
    parts.push_back(strip.copy(k * w, 0, w, strip.height()));
  return parts;
}

} // namespace

// A strip whose states or glyphs were drawn twice, or left blank, shows up as two equal parts.
TEST(SkinBitmaps, EveryStateOfEveryStripLooksDifferent) {
  for (std::size_t s = 0; s < BuiltInStyleCount; ++s)
    for (const char *element : {"BUTTON", "TITLEBTN"}) {
      const std::string name = std::string(StylePrefixes[s]) + element;
      SCOPED_TRACE(name);
      const auto parts = Parts(Load(name), FindBitmap(name)->Parts);
      const long visible = parts[0].width() * parts[0].height() * 6L; // 2 per channel
      for (std::size_t i = 0; i < parts.size(); ++i)
        for (std::size_t j = i + 1; j < parts.size(); ++j)
          EXPECT_GT(Distance(parts[i], parts[j]), visible) << "parts " << i + 1 << ", " << j + 1;
    }
}
