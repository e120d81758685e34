#pragma once

#include "framework/Colors.h"
#include "framework/PictureLoader.h"
#include "framework/Rendered.h"
#include "skin/SkinTypes.h"

#include <QImage>

#include <optional>

namespace skin {

// A panel showing a picture: stretched, tiled or once at the top-left corner. With Transparent,
// an opaque picture loses the colour of its bottom-left pixel and the parent shows there.
class TsuiImagePanel : public framework::RenderedControl {
  Q_OBJECT
public:
  explicit TsuiImagePanel(QWidget *parent);

  const QImage &Picture() const { return m_picture; }
  // Copies the picture; with AutoSize the panel takes its size.
  void SetPicture(const QImage &value);
  // Loads a file into the picture; false, with the picture unchanged, when the file is missing,
  // unreadable, cut or damaged.
  bool LoadPicture(const QString &path, framework::PictureFormat format);
  TsuiDrawStyle DrawStyle() const { return m_drawStyle; }
  void SetDrawStyle(TsuiDrawStyle value);
  bool AutoSize() const { return m_autoSize; }
  void SetAutoSize(bool value);
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool value);
  framework::TColor Color() const { return m_color; }
  void SetColor(framework::TColor value);
  int TabOrder() const { return m_tabOrder; }
  void SetTabOrder(int value) { m_tabOrder = value; }

protected:
  void Render(framework::Canvas &canvas) override;

private:
  void pictureChanged();
  std::optional<framework::TColor> key() const;

  QImage m_picture;
  TsuiDrawStyle m_drawStyle = TsuiDrawStyle::suiNormal;
  bool m_autoSize = false;
  bool m_transparent = false;
  framework::TColor m_color = framework::clBtnFace;
  int m_tabOrder = -1;
};

} // namespace skin
