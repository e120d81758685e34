#pragma once

// Picture files written by hand, for the readers' tests: Qt writes no GIF.

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace test {

// A GIF of `size` with a 128-colour table (entry i is red 2i, green 0, blue 255 - 2i) whose
// pixel (x, y) has index (x + y) % 128, or `onlyIndex` everywhere when that is given. The LZW
// codes stay 8 bits wide (a clear code every 100 pixels), so every pixel is one byte of the
// image data.
inline QByteArray Gif(QSize size, int onlyIndex = -1) {
  QByteArray out("GIF89a");
  const auto word = [&out](int value) {
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
  };
  word(size.width());
  word(size.height());
  out.append("\x86\x00\x00", 3);
  for (int i = 0; i < 128; ++i)
    for (const int channel : {2 * i, 0, 255 - 2 * i})
      out.append(char(channel));
  out.append('\x2C');
  word(0);
  word(0);
  word(size.width());
  word(size.height());
  out.append('\x00');
  out.append('\x07'); // code size: 128 literals, clear 128, end 129
  QByteArray codes;
  for (int i = 0; i < size.width() * size.height(); ++i) {
    if (i % 100 == 0) codes.append(char(128));
    codes.append(char(onlyIndex >= 0 ? onlyIndex : (i % size.width() + i / size.width()) % 128));
  }
  codes.append(char(129));
  for (qsizetype at = 0; at < codes.size(); at += 255) {
    const QByteArray block = codes.mid(at, 255);
    out.append(char(block.size()));
    out.append(block);
  }
  out.append('\x00');
  out.append('\x3B');
  return out;
}

inline QByteArray Bmp(const QImage &image) {
  QByteArray out;
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  return out;
}

inline QImage Filled(QSize size, QColor color, QImage::Format format = QImage::Format_RGB888) {
  QImage image(size, format);
  image.fill(color);
  return image;
}

} // namespace test
