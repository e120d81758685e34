#include "skin/TsuiImagePanel.h"

#include <QImageReader>
#include <QPainter>

namespace skin {

TsuiImagePanel::TsuiImagePanel(QWidget *parent) : QWidget(parent) {}

void TsuiImagePanel::SetPicture(const QImage &value) {
  m_picture = value.copy();
  pictureChanged();
}

bool TsuiImagePanel::LoadPicture(const QString &path, const char *format) {
  QImageReader reader(path, format);
  // The extension names the reader; a file that reader cannot read fails rather than being
  // guessed at.
  reader.setAutoDetectImageFormat(false);
  QImage image;
  if (!reader.read(&image) || image.isNull()) return false;
  m_picture = std::move(image);
  pictureChanged();
  return true;
}

void TsuiImagePanel::pictureChanged() {
  m_shown = m_picture;
  if (m_transparent && !m_picture.isNull() && !m_picture.hasAlphaChannel()) {
    m_shown = m_picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = m_shown.pixel(0, m_shown.height() - 1);
    for (int y = 0; y < m_shown.height(); ++y) {
      auto *line = reinterpret_cast<QRgb *>(m_shown.scanLine(y));
      for (int x = 0; x < m_shown.width(); ++x)
        if (line[x] == key) line[x] = 0;
    }
  }
  if (!m_picture.isNull() && m_autoSize) resize(m_picture.size());
  update();
}

void TsuiImagePanel::SetDrawStyle(TsuiDrawStyle value) {
  m_drawStyle = value;
  update();
}

void TsuiImagePanel::SetAutoSize(bool value) {
  m_autoSize = value;
  if (m_autoSize && !m_picture.isNull()) resize(m_picture.size());
}

void TsuiImagePanel::SetTransparent(bool value) {
  m_transparent = value;
  pictureChanged();
}

void TsuiImagePanel::SetColor(framework::TColor value) {
  m_color = value;
  update();
}

QImage TsuiImagePanel::Render(const QImage &background) const {
  QImage image(size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  if (m_transparent && !background.isNull()) p.drawImage(0, 0, background);
  if (!m_shown.isNull()) {
    switch (m_drawStyle) {
    case TsuiDrawStyle::suiStretch:
      p.drawImage(rect(), m_shown);
      break;
    case TsuiDrawStyle::suiTile:
      for (int y = 0; y < height(); y += m_shown.height())
        for (int x = 0; x < width(); x += m_shown.width())
          p.drawImage(x, y, m_shown);
      break;
    case TsuiDrawStyle::suiNormal:
      p.drawImage(0, 0, m_shown);
      break;
    }
  } else if (!m_transparent) {
    p.fillRect(rect(), framework::ToQColor(m_color));
  }
  return image;
}

void TsuiImagePanel::paintEvent(QPaintEvent *) {
  // Transparent areas show the parent, which Qt has already painted beneath this child.
  QPainter(this).drawImage(0, 0, Render());
}

} // namespace skin
