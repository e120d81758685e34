#include "widgets/TCnAALabel.h"

#include "widgets/aa/AAForeground.h"

#include <algorithm>

namespace widgets {

TCnAALabel::TCnAALabel(QWidget *parent) : TCnAAGraphicControl(parent) {
  // Both paths cover every pixel: beneath-and-text, or the off-screen bitmap.
  SetOpaque(true);
  m_effect.SetOnChanged([this] { RefreshIfReady(); });
  SetBounds(Left(), Top(), 46, 12);
}

void TCnAALabel::SetBorder(int value) {
  // Twice the border must still fit a widget's size.
  value = std::clamp(value, 0, QWIDGETSIZE_MAX / 2);
  if (value == m_border) return;
  m_border = value;
  RefreshIfReady();
}

void TCnAALabel::SetEffect(const TCnAAFontEffect &value) {
  m_effect.Assign(value);
  RefreshIfReady();
}

aa::TCnAAFontEx &TCnAALabel::engineOn(framework::Canvas &canvas) {
  canvas.SetFont(framework::MakeFont(Font()));
  canvas.SetFontColor(Font().Color);
  AAFont().SetCanvas(&canvas);
  return AAFont();
}

QPoint TCnAALabel::PlaceCaption(framework::Canvas &canvas) {
  aa::TCnAAFontEx &engine = engineOn(canvas);
  const int h = engine.MeasureHeight(Caption());
  const int w = engine.MeasureWidth(Caption());
  if (AutoSize()) {
    int width = Width();
    int height = Height();
    if (Align() == TAlign::alNone || Align() == TAlign::alLeft || Align() == TAlign::alRight)
      width = 2 * m_border + w;
    if (Align() == TAlign::alNone || Align() == TAlign::alTop || Align() == TAlign::alBottom)
      height = 2 * m_border + h;
    if (width != Width() || height != Height()) SetBounds(Left(), Top(), width, height);
  }
  int x = m_border;
  if (m_effect.Alignment() == TAlignment::taRightJustify)
    x = Width() - m_border - w;
  else if (m_effect.Alignment() == TAlignment::taCenter)
    x = (Width() - w) / 2;
  int y = m_border;
  if (m_effect.Layout() == TTextLayout::tlCenter)
    y = (Height() - h) / 2;
  else if (m_effect.Layout() == TTextLayout::tlBottom)
    y = Height() - m_border - h;
  return {x, y};
}

bool TCnAALabel::RenderIfStale() {
  if (!m_effect.Transparent()) return TCnAAGraphicControl::RenderIfStale();
  if (m_fontPrepared || !framework::ShownByItself(*this)) return false;
  m_fontPrepared = true;
  QImage sizing(1, 1, QImage::Format_RGB32);
  framework::Canvas measure(sizing);
  engineOn(measure).MeasureWidth(Caption());
  AAFont().SetCanvas(nullptr);
  return true;
}

void TCnAALabel::BeforePaint() {
  // What lies beneath may have changed since the last paint.
  if (m_effect.Transparent()) MarkStale();
}

void TCnAALabel::Render(framework::Canvas &canvas) {
  if (!m_effect.Transparent()) {
    // Moved to a screen of another ratio: the text is masked again at the new size.
    if (!m_bitmap.isNull() && framework::ImageRatio(m_bitmap) != canvas.Ratio()) RenderOpaque();
    canvas.SetBrushColor(Color());
    canvas.FillRect({0, 0, canvas.Width(), canvas.Height()});
    canvas.Draw(0, 0, m_bitmap);
    return;
  }
  PaintBeneath(canvas);
  const QPoint at = PlaceCaption(canvas);
  canvas.SetBrushColor(Color());
  AAFont().SetBrushClear(true);
  AAFont().RenderText(at.x(), at.y(), Caption());
  AAFont().SetCanvas(nullptr);
}

void TCnAALabel::DoRefresh() {
  if (!m_effect.Transparent()) RenderOpaque();
  Invalidate();
}

void TCnAALabel::RenderOpaque() {
  // Sizing the label to its caption refreshes it again; this rendering finishes the job.
  if (m_rendering) return;
  m_rendering = true;
  const std::unique_ptr<bool, void (*)(bool *)> done(&m_rendering, [](bool *p) { *p = false; });

  QImage sizing(1, 1, QImage::Format_RGB32);
  framework::Canvas measure(sizing);
  const QPoint at = PlaceCaption(measure);
  AAFont().SetCanvas(nullptr);

  const int ratio = framework::DrawingRatio(*this);
  m_bitmap =
      QImage(std::max(Width(), 0) * ratio, std::max(Height(), 0) * ratio, QImage::Format_RGB32);
  if (m_bitmap.isNull()) return;
  m_bitmap.setDevicePixelRatio(ratio);
  framework::Canvas canvas(m_bitmap);
  DrawBackground(canvas);
  engineOn(canvas).SetBrushClear(true);
  AAFont().RenderText(at.x(), at.y(), Caption());
  AAFont().SetCanvas(nullptr);
}

void TCnAALabel::DrawBackground(framework::Canvas &canvas) {
  const framework::TRect all{0, 0, canvas.Width(), canvas.Height()};
  canvas.SetBrushColor(Color());
  canvas.FillRect(all);
  if (m_effect.BackGround().isNull()) return;
  // A picture with transparency (an icon) shows the label's colour through it.
  const QImage picture = aa::OpaquePicture(m_effect.BackGround(), Color());
  switch (m_effect.BackGroundMode()) {
  case TBackGroundMode::bmTiled:
    canvas.TileDraw(all, picture);
    break;
  case TBackGroundMode::bmStretched:
    canvas.StretchDraw(all, picture);
    break;
  case TBackGroundMode::bmCenter:
    canvas.Draw((all.Width() - picture.width()) / 2, (all.Height() - picture.height()) / 2,
                picture);
    break;
  case TBackGroundMode::bmNormal:
    canvas.Draw(0, 0, picture);
    break;
  }
}

} // namespace widgets
