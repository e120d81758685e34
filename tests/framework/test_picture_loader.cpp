#include "framework/PictureLoader.h"

#include "common/QtMessages.h"
#include "common/TestPictures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using framework::LoadPicture;
using framework::PictureFormat;

namespace {

// A 4 x 2 bitmap coded as runs of 8-bit indices (0 red, 1 blue), rows bottom-up: a run of
// four reds, end of line, an absolute stretch blue red blue, a run of one blue, end of bitmap.
QByteArray Rle8Bmp() {
  return QByteArray::fromHex("424D00000000000000003E000000"             // file header, pixels at 62
                             "2800000004000000020000000100080001000000" // 4 x 2, 8 bits, RLE8
                             "0000000000000000000000000200000000000000" // two colours
                             "0000FF00FF000000"                         // palette: red, blue
                             "0400000000030100010001010001");           // the runs
}

class PictureLoader : public testing::Test {
protected:
  QString Write(const QString &name, const QByteArray &bytes) {
    QFile file(m_dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }
  QTemporaryDir m_dir;
};

} // namespace

TEST_F(PictureLoader, WholeFilesLoadAndCutOnesAreRefused) {
  const QByteArray gif = test::Gif(QSize(16, 16));
  const QByteArray bmp24 = test::Bmp(test::Filled(QSize(9, 7), Qt::blue));
  const QByteArray bmp8 =
      test::Bmp(test::Filled(QSize(9, 7), Qt::red).convertToFormat(QImage::Format_Indexed8));
  const QByteArray rle = Rle8Bmp();
  const struct {
    const char *name;
    QByteArray bytes;
    PictureFormat format;
    QSize size;
  } cases[] = {
      {"gif", gif, PictureFormat::Gif, QSize(16, 16)},
      {"gif cut in the header", gif.left(10), PictureFormat::Gif, {}},
      {"gif cut in the colour table", gif.left(200), PictureFormat::Gif, {}},
      {"gif cut in the image data", gif.left(gif.size() - 100), PictureFormat::Gif, {}},
      {"gif without its trailer", gif.chopped(1), PictureFormat::Gif, {}},
      {"bmp 24 bit", bmp24, PictureFormat::Bmp, QSize(9, 7)},
      {"bmp 24 bit cut in the pixel rows", bmp24.chopped(30), PictureFormat::Bmp, {}},
      {"bmp 24 bit short of one byte", bmp24.chopped(1), PictureFormat::Bmp, {}},
      {"bmp 24 bit cut in the header", bmp24.left(20), PictureFormat::Bmp, {}},
      {"bmp 8 bit", bmp8, PictureFormat::Bmp, QSize(9, 7)},
      {"bmp 8 bit cut in the palette", bmp8.left(100), PictureFormat::Bmp, {}},
      {"bmp 8 bit cut in the pixel rows", bmp8.chopped(20), PictureFormat::Bmp, {}},
      {"bmp run-length", rle, PictureFormat::Bmp, QSize(4, 2)},
      {"bmp run-length without its end", rle.chopped(2), PictureFormat::Bmp, {}},
      {"bmp run-length cut in an absolute stretch", rle.chopped(6), PictureFormat::Bmp, {}},
      {"gif contents under bmp", gif, PictureFormat::Bmp, {}},
      {"empty", QByteArray(), PictureFormat::Gif, {}},
  };
  for (const auto &c : cases) {
    const auto image = LoadPicture(Write(QStringLiteral("picture"), c.bytes), c.format);
    EXPECT_EQ(image.has_value(), c.size.isValid()) << c.name;
    if (image) {
      EXPECT_EQ(image->size(), c.size) << c.name;
    }
  }
}

TEST_F(PictureLoader, PixelsAreTheFilesOwn) {
  const auto gif = LoadPicture(Write("p.gif", test::Gif(QSize(16, 16))), PictureFormat::Gif);
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->pixelColor(3, 2), QColor(10, 0, 245)); // index 5
  const auto rle = LoadPicture(Write("p.bmp", Rle8Bmp()), PictureFormat::Bmp);
  ASSERT_TRUE(rle);
  EXPECT_EQ(rle->pixelColor(0, 1), QColor(Qt::red));
  EXPECT_EQ(rle->pixelColor(0, 0), QColor(Qt::blue));
  EXPECT_EQ(rle->pixelColor(1, 0), QColor(Qt::red));
  EXPECT_EQ(rle->pixelColor(3, 0), QColor(Qt::blue));
}

// Qt's readers refuse what passes their allocation limit, but say so on standard error: a picture
// larger than the program takes is refused before a reader sees its pixels.
TEST_F(PictureLoader, PicturesBeyondTheLimitAreRefusedQuietly) {
  const auto runs = [](std::uint32_t width, std::uint32_t height) {
    QByteArray bmp = Rle8Bmp();
    for (int i = 0; i < 4; ++i) {
      bmp[18 + i] = static_cast<char>(width >> (8 * i));
      bmp[22 + i] = static_cast<char>(height >> (8 * i));
    }
    return bmp;
  };
  const struct {
    std::uint32_t Width, Height;
    bool Loads;
  } cases[] = {{4096, 4096, true}, {4097, 4096, false}, {4096, 4097, false}, {16000, 16000, false}};
  const testcommon::QtMessages qt;
  for (const auto &c : cases) {
    const auto image = LoadPicture(Write("big.bmp", runs(c.Width, c.Height)), PictureFormat::Bmp);
    EXPECT_EQ(image.has_value(), c.Loads) << c.Width << "x" << c.Height;
  }
  EXPECT_TRUE(qt.Said().isEmpty()) << qt.Said().join('\n').toStdString();
}

#ifndef _WIN32 // links, FIFOs and device nodes as Linux has them
TEST_F(PictureLoader, OnlyRegularFilesAreRead) {
  const QString picture = Write("p.gif", test::Gif(QSize(2, 2)));
  const QString link = m_dir.filePath("link.gif");
  ASSERT_TRUE(QFile::link(picture, link));
  EXPECT_TRUE(LoadPicture(link, PictureFormat::Gif));
  // Opened for reading, a FIFO would wait for a writer for ever.
  const QString fifo = m_dir.filePath("fifo.gif");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  EXPECT_FALSE(LoadPicture(fifo, PictureFormat::Gif));
  EXPECT_FALSE(LoadPicture(m_dir.path(), PictureFormat::Gif));
  EXPECT_FALSE(LoadPicture("/dev/zero", PictureFormat::Bmp));
  EXPECT_FALSE(LoadPicture(m_dir.filePath("missing.gif"), PictureFormat::Gif));
}
#endif
