#pragma once

#include "framework/Anchors.h"
#include "framework/Colors.h"
#include "framework/PictureLoader.h"
#include "framework/WindowlessControl.h"
#include "skin/SkinTypes.h"

#include <QImage>

#include <functional>
#include <optional>

namespace skin {

// Where a control docks in its parent.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// A panel without bevels showing a picture (once, stretched or tiled), optionally over its
// parent's background and optionally sized to the picture, with a one-line caption on top.
class TsuiCustomPanel : public framework::WindowlessControl {
  Q_OBJECT
public:
  explicit TsuiCustomPanel(QWidget *parent);
  ~TsuiCustomPanel() override;

  // Decodes a picture given by its source first.
  const QImage &Picture() const;
  // Copies the picture.
  void SetPicture(const QImage &value);
  // A picture of `size` that `decode` makes when it is first drawn or asked for: a panel that is
  // never seen costs no decoding.
  void SetPictureSource(QSize size, std::function<QImage()> decode);
  // Loads a file into the picture; false, with the picture unchanged, when the file is missing,
  // unreadable, cut or damaged. A file's picture keeps only the transparency it brings itself.
  bool LoadPicture(const QString &path, framework::PictureFormat format);
  TsuiDrawStyle DrawStyle() const { return m_drawStyle; }
  void SetDrawStyle(TsuiDrawStyle value);
  bool AutoSize() const { return m_autoSize; }
  void SetAutoSize(bool value);
  // An opaque picture loses the colour of its bottom-left pixel and the parent shows there, as it
  // does wherever no picture covers the panel. Not a picture from a file: a logo of one colour
  // would vanish whole, a photograph lose every pixel of its corner's colour.
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool value);
  framework::TColor Color() const { return m_color; }
  void SetColor(framework::TColor value);
  const QString &Caption() const { return m_caption; }
  void SetCaption(const QString &value);
  framework::TAlignment Alignment() const { return m_alignment; }
  void SetAlignment(framework::TAlignment value);
  // Docked panels keep the side they dock to when sized to their picture. Docking follows the
  // parent's size; docked sibling panels share the parent in their creation order, each taking
  // its side of what the earlier ones left, the whole-client ones the rest.
  TAlign Align() const { return m_align; }
  void SetAlign(TAlign value);
  int TabOrder() const { return m_tabOrder; }
  void SetTabOrder(int value) { m_tabOrder = value; }
  // Undocked panels only; a docked one follows its side.
  framework::TAnchors Anchors() const { return m_anchoring->Anchors(); }
  void SetAnchors(framework::TAnchors value) { m_anchoring->SetAnchors(value); }
  // Where the caption was drawn last; empty before.
  const framework::TRect &CaptionRect() const { return m_captionRect; }

  const framework::NotifyEvent &OnResize() const { return m_onResize; }
  void SetOnResize(framework::NotifyEvent h) { m_onResize = std::move(h); }

protected:
  void Render(framework::Canvas &canvas) override;
  void resizeEvent(QResizeEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void pictureChanged();
  void sizeToPicture();
  void dock();
  void place(QRect &room);
  std::optional<framework::TColor> key() const;

  QSize pictureSize() const;

  mutable QImage m_picture;
  bool m_fromFile = false;
  // Pending until the picture is first needed.
  mutable std::function<QImage()> m_decode;
  QSize m_pendingSize;
  TsuiDrawStyle m_drawStyle = TsuiDrawStyle::suiNormal;
  bool m_autoSize = false;
  bool m_transparent = false;
  framework::TColor m_color = framework::clBtnFace;
  QString m_caption;
  framework::TAlignment m_alignment = framework::TAlignment::taCenter;
  TAlign m_align = TAlign::alNone;
  int m_tabOrder = -1;
  framework::Anchoring *m_anchoring = new framework::Anchoring(*this);
  bool m_docking = false;
  framework::TRect m_captionRect;
  framework::NotifyEvent m_onResize;
};

} // namespace skin
