#pragma once

// Pictures compared pixel for pixel with a reference in the sources. QUELVANE_UPDATE_GOLDENS=1
// writes the reference anew instead (scripts/update-goldens.sh); a mismatch leaves the actual
// picture and a difference picture in `failures`.

#include <QDir>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

namespace testcommon {

// Where the pixels differ: red over a faded copy of the reference.
inline QImage DifferencePicture(const QImage &golden, const QImage &actual) {
  const QSize size = golden.size().expandedTo(actual.size());
  QImage diff(size, QImage::Format_ARGB32);
  diff.fill(Qt::red);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x) {
      const bool inBoth = golden.rect().contains(x, y) && actual.rect().contains(x, y);
      if (!inBoth || golden.pixel(x, y) != actual.pixel(x, y)) continue;
      const int grey = 160 + qGray(golden.pixel(x, y)) * 95 / 255;
      diff.setPixel(x, y, qRgb(grey, grey, grey));
    }
  return diff;
}

// Fails the test unless `picture` is the reference `goldenPath`; `name` names the leftovers.
inline void ExpectGoldenPicture(const QImage &picture, const QString &goldenPath,
                                const QString &failures, const QString &name) {
  const QImage actual = picture.convertToFormat(QImage::Format_ARGB32);
  ASSERT_FALSE(actual.isNull()) << "no picture for " << name.toStdString();
  if (qEnvironmentVariableIntValue("QUELVANE_UPDATE_GOLDENS") == 1) {
    ASSERT_TRUE(actual.save(goldenPath, "PNG"));
    return;
  }
  const QImage golden = QImage(goldenPath).convertToFormat(QImage::Format_ARGB32);
  ASSERT_FALSE(golden.isNull()) << "no golden picture " << goldenPath.toStdString()
                                << "; scripts/update-goldens.sh makes it";
  if (golden == actual) return;

  QDir().mkpath(failures);
  const QString stem = failures + QLatin1Char('/') + name;
  actual.save(stem + QStringLiteral(".actual.png"), "PNG");
  DifferencePicture(golden, actual).save(stem + QStringLiteral(".diff.png"), "PNG");
  int differing = 0;
  if (golden.size() == actual.size())
    for (int y = 0; y < golden.height(); ++y)
      for (int x = 0; x < golden.width(); ++x)
        differing += golden.pixel(x, y) != actual.pixel(x, y);
  ADD_FAILURE() << name.toStdString() << ": " << differing << " pixels differ (sizes "
                << golden.width() << "x" << golden.height() << " and " << actual.width() << "x"
                << actual.height() << "); see " << stem.toStdString()
                << ".actual.png and .diff.png";
}

} // namespace testcommon
