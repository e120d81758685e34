#include "framework/PictureLoader.h"

#include "common/TestPictures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using framework::LoadPicture;
using framework::PictureFormat;

namespace {

// Links, FIFOs and device nodes as Linux has them.
class PictureLoaderFiles : public testing::Test {
protected:
  QString Write(const QString &name, const QByteArray &bytes) {
    QFile file(m_dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }
  QTemporaryDir m_dir;
};

TEST_F(PictureLoaderFiles, OnlyRegularFilesAreRead) {
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

} // namespace
