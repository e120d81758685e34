#include "skin/style/BitmapCache.h"
#include "skin/style/StyleReads.h"
#include "skin/style/StyleTable.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace skin;
using namespace skin::style;

namespace {

// Column x of a picture is coloured x, so a cut tells where it came from.
QRgb ColumnColour(int x) {
  return qRgb(x & 0xFF, x >> 8, 0x40);
}

// Pictures at their catalogue sizes in a folder of their own, read by a cache of its own.
class StyleBitmaps : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    for (const char *name : {"PROTEIN_TITLEBTN", "MACOS_BUTTON", "WINXP_BUTTON", "DEEPBLUE_BUTTON",
                             "PROTEIN_FORM_BACKGROUND", "MORE_SCROLLBUTTON"}) {
      const BitmapSize size = FindBitmap(name)->Size;
      QImage picture(size.Width, size.Height, QImage::Format_RGB32);
      for (int x = 0; x < size.Width; ++x)
        for (int y = 0; y < size.Height; ++y)
          picture.setPixel(x, y, ColumnColour(x));
      ASSERT_TRUE(picture.save(dir.filePath(QString::fromLatin1(name) + ".bmp"), "BMP"));
    }
  }

  QTemporaryDir dir;
  BitmapCache cache{dir.path()};
};

} // namespace

TEST_F(StyleBitmaps, StripsAreCutIntoEqualPartsAndTheRemainderIsIgnored) {
  struct Case {
    TsuiUIStyle style;
    StyleEntry entry;
    int part, count;
    int width, firstColumn;
  };
  const Case cases[] = {
      // 342 / 18: the 18th, the pressed close button, is the last 19 columns.
      {TsuiUIStyle::Protein, StyleEntry::TitleBarButtonImage, 18, 18, 19, 323},
      {TsuiUIStyle::Protein, StyleEntry::TitleBarButtonImage, 1, 18, 19, 0},
      {TsuiUIStyle::MacOS, StyleEntry::ButtonImage, 2, 3, 84, 84},
      {TsuiUIStyle::MacOS, StyleEntry::ButtonImage, 3, 3, 84, 168},
      {TsuiUIStyle::WinXP, StyleEntry::ButtonImage, 3, 3, 18, 36},
      // 342 / 4 leaves two columns that belong to no part.
      {TsuiUIStyle::Protein, StyleEntry::TitleBarButtonImage, 4, 4, 85, 255},
      {TsuiUIStyle::DeepBlue, StyleEntry::ButtonImage, 5, 5, 44, 176},
      // Count 0 takes the picture whole.
      {TsuiUIStyle::WinXP, StyleEntry::ButtonImage, 7, 0, 54, 0},
  };
  for (const Case &c : cases) {
    QImage part;
    ASSERT_TRUE(GetStyleImagePart(c.style, c.entry, part, c.part, c.count, cache))
        << c.part << "/" << c.count;
    EXPECT_EQ(part.width(), c.width) << c.part << "/" << c.count;
    EXPECT_EQ(part.pixel(0, 0), ColumnColour(c.firstColumn)) << c.part << "/" << c.count;
    EXPECT_EQ(part.pixel(part.width() - 1, part.height() - 1),
              ColumnColour(c.firstColumn + c.width - 1));
  }
  const QImage keep(1, 1, QImage::Format_RGB32);
  for (const auto &[part, count] : {std::pair{0, 3}, {4, 3}, {1, -1}, {1, 343}}) {
    QImage bitmap = keep;
    EXPECT_FALSE(GetStyleImagePart(TsuiUIStyle::Protein, StyleEntry::TitleBarButtonImage, bitmap,
                                   part, count, cache))
        << part << "/" << count;
    EXPECT_EQ(bitmap, keep) << "no such part leaves the bitmap as it was";
  }
}

TEST_F(StyleBitmaps, PicturesAreReadOnFirstUseAndOnlyOnce) {
  EXPECT_EQ(cache.Loaded(), 0u);
  QImage a, b;
  ASSERT_TRUE(GetStyleImage(TsuiUIStyle::MacOS, StyleEntry::ButtonImage, a, cache));
  EXPECT_EQ(cache.Loaded(), 1u) << "one read decodes one picture";
  ASSERT_TRUE(GetStyleImagePart(TsuiUIStyle::MacOS, StyleEntry::ButtonImage, b, 1, 3, cache));
  EXPECT_EQ(cache.Loaded(), 1u);
  EXPECT_EQ(a.size(), QSize(252, 23));

  // The style-independent scroll button serves three styles from one picture.
  ASSERT_TRUE(GetStyleImage(TsuiUIStyle::DeepBlue, StyleEntry::ScrollButtonImage, a, cache));
  ASSERT_TRUE(GetStyleImage(TsuiUIStyle::BlueGlass, StyleEntry::ScrollButtonImage, b, cache));
  EXPECT_EQ(a.size(), QSize(72, 17));
  EXPECT_EQ(cache.Loaded(), 2u);

  // A missing picture is looked for once and reads as no image.
  QImage keep(2, 2, QImage::Format_RGB32);
  keep.fill(Qt::blue);
  QImage bitmap = keep;
  EXPECT_FALSE(GetStyleImage(TsuiUIStyle::Protein, StyleEntry::CheckBoxImage, bitmap, cache));
  EXPECT_FALSE(GetStyleImage(TsuiUIStyle::Protein, StyleEntry::CheckBoxImage, bitmap, cache));
  EXPECT_EQ(bitmap, keep);
  EXPECT_EQ(cache.Loaded(), 3u);

  // Names outside the catalogue are never looked for.
  for (const char *name : {"DEEPBLUE_SCROLLBUTTON", "../MACOS_BUTTON", "MACOS_BUTTON.bmp", ""})
    EXPECT_TRUE(cache.Bitmap(name).isNull()) << name;
  EXPECT_EQ(cache.Loaded(), 3u);
}

TEST_F(StyleBitmaps, PicturesByNameExistOnlyWhereTheStyleHasThem) {
  EXPECT_EQ(GetStyleBitmap(TsuiUIStyle::Protein, "FORM_BACKGROUND", cache).size(), QSize(8, 8));
  EXPECT_TRUE(GetStyleBitmap(TsuiUIStyle::DeepBlue, "FORM_BACKGROUND", cache).isNull());
  EXPECT_TRUE(GetStyleBitmap(TsuiUIStyle::FromThemeFile, "FORM_BACKGROUND", cache).isNull());
  EXPECT_EQ(StyleReader(nullptr, TsuiUIStyle::Protein, cache).Bitmap("FORM_BACKGROUND").size(),
            QSize(8, 8));
}

TEST(BuiltInStyleBitmaps, EveryImageEntryReadsAPictureOfItsCatalogueSize) {
  for (int ordinal = static_cast<int>(TsuiUIStyle::MacOS);
       ordinal <= static_cast<int>(TsuiUIStyle::BlueGlass); ++ordinal) {
    const auto style = static_cast<TsuiUIStyle>(ordinal);
    for (int n = 1; n <= StyleEntryCount; ++n) {
      const auto entry = static_cast<StyleEntry>(n);
      const std::string resource = ImageResource(style, entry);
      if (resource.empty()) continue;
      QImage picture;
      ASSERT_TRUE(GetStyleImage(style, entry, picture)) << resource;
      const BitmapSize size = FindBitmap(resource)->Size;
      EXPECT_EQ(picture.size(), QSize(size.Width, size.Height)) << resource;
    }
  }
  // The pressed close button of the Protein title: the last of 18 states, 19 pixels square.
  QImage close;
  ASSERT_TRUE(
      GetStyleImagePart(TsuiUIStyle::Protein, StyleEntry::TitleBarButtonImage, close, 18, 18));
  EXPECT_EQ(close.size(), QSize(19, 19));
}
