#pragma once

#include "widgets/TCnAAFontEffect.h"
#include "widgets/TCnAAGraphicControl.h"

#include <QImage>

namespace widgets {

// A label whose caption is drawn by the anti-aliasing engine. Transparent, it renders on every
// paint straight over what lies beneath it; opaque, it renders into an off-screen bitmap only when
// something changed, and a paint copies that bitmap.
class TCnAALabel : public TCnAAGraphicControl {
  Q_OBJECT
public:
  explicit TCnAALabel(QWidget *parent = nullptr);

  // Inner margin on every side, 0 and up.
  int Border() const { return m_border; }
  void SetBorder(int value);
  TCnAAFontEffect &Effect() { return m_effect; }
  const TCnAAFontEffect &Effect() const { return m_effect; }
  // Copies the settings and reports.
  void SetEffect(const TCnAAFontEffect &value);

  // A transparent label sizes itself to its caption while it is drawn, at every paint: drawn
  // ahead it could take its size from a caption about to change. Once, it measures its caption
  // instead, which loads the font it draws in.
  bool RenderIfStale() override;

  // What an opaque label shows; empty until its first refresh.
  const QImage &OffscreenBitmap() const { return m_bitmap; }

protected:
  void Render(framework::Canvas &canvas) override;
  void DoRefresh() override;
  void BeforePaint() override;

private:
  // The engine drawing on `canvas` in the label's font and colour.
  aa::TCnAAFontEx &engineOn(framework::Canvas &canvas);
  // Sets the canvas and the engine up for the caption, sizes the label to it and answers where
  // the caption goes.
  QPoint PlaceCaption(framework::Canvas &canvas);
  void RenderOpaque();
  void DrawBackground(framework::Canvas &canvas);

  TCnAAFontEffect m_effect{*this};
  QImage m_bitmap;
  int m_border = 0;
  bool m_rendering = false;
  bool m_fontPrepared = false;
};

} // namespace widgets
