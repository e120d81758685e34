#include "skin/TsuiImagePanel.h"

#include "skin/style/DrawOps.h"

namespace skin {

TsuiImagePanel::TsuiImagePanel(QWidget *parent) : framework::RenderedControl(parent) {}

void TsuiImagePanel::SetPicture(const QImage &value) {
  m_picture = value.copy();
  pictureChanged();
}

bool TsuiImagePanel::LoadPicture(const QString &path, framework::PictureFormat format) {
  std::optional<QImage> image = framework::LoadPicture(path, format);
  if (!image) return false;
  m_picture = std::move(*image);
  pictureChanged();
  return true;
}

void TsuiImagePanel::pictureChanged() {
  if (!m_picture.isNull() && m_autoSize) resize(m_picture.size());
  Invalidate();
}

void TsuiImagePanel::SetDrawStyle(TsuiDrawStyle value) {
  m_drawStyle = value;
  Invalidate();
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
  Invalidate();
}

std::optional<framework::TColor> TsuiImagePanel::key() const {
  // A picture with its own transparency keeps it.
  if (!m_transparent || m_picture.hasAlphaChannel()) return std::nullopt;
  return style::BottomLeftKey(m_picture);
}

void TsuiImagePanel::Render(framework::Canvas &canvas) {
  const framework::TRect all{0, 0, width(), height()};
  if (m_picture.isNull()) {
    if (!m_transparent) {
      canvas.SetBrushColor(m_color);
      canvas.FillRect(all);
    }
    return;
  }
  switch (m_drawStyle) {
  case TsuiDrawStyle::suiStretch:
    canvas.StretchDraw(all, m_picture, key());
    break;
  case TsuiDrawStyle::suiTile:
    canvas.TileDraw(all, m_picture, key());
    break;
  case TsuiDrawStyle::suiNormal:
    canvas.Draw(0, 0, m_picture, key());
    break;
  }
}

} // namespace skin
