#include "widgets/TCnAALabel.h"

#include <QFontMetrics>

namespace widgets {

TCnAALabel::TCnAALabel(QWidget *parent) : framework::WindowlessControl(parent) {
  SetBounds(Left(), Top(), 46, 12);
}

void TCnAALabel::SetCaption(const QString &value) {
  m_caption = value;
  refresh();
}

void TCnAALabel::SetAutoSize(bool value) {
  m_autoSize = value;
  refresh();
}

void TCnAALabel::SetBorder(int value) {
  m_border = std::max(0, value);
  refresh();
}

void TCnAALabel::SetEffect(const TCnAAFontEffect &value) {
  m_effect = value;
  SetOpaque(!m_effect.Transparent);
  refresh();
}

void TCnAALabel::SetColor(framework::TColor value) {
  m_color = value;
  refresh();
}

void TCnAALabel::Loaded() {
  WindowlessControl::Loaded();
  refresh();
}

void TCnAALabel::refresh() {
  // While the description is still being applied, the first paint after loading does the work.
  if (Loading()) return;
  if (m_autoSize) {
    const QSize text = QFontMetrics(framework::MakeFont(Font())).size(0, m_caption);
    SetBounds(Left(), Top(), 2 * m_border + text.width(), 2 * m_border + text.height());
  }
  Invalidate();
}

void TCnAALabel::Render(framework::Canvas &canvas) {
  if (!m_effect.Transparent) {
    canvas.SetBrushColor(m_color);
    canvas.FillRect({0, 0, canvas.Width(), canvas.Height()});
  }
  canvas.SetFont(framework::MakeFont(Font(), true));
  canvas.SetFontColor(Font().Color);
  const QSize text = canvas.TextExtent(m_caption);
  int x = m_border;
  if (m_effect.Alignment == framework::TAlignment::taRightJustify)
    x = canvas.Width() - m_border - text.width();
  else if (m_effect.Alignment == framework::TAlignment::taCenter)
    x = (canvas.Width() - text.width()) / 2;
  int y = m_border;
  if (m_effect.Layout == TTextLayout::tlCenter)
    y = (canvas.Height() - text.height()) / 2;
  else if (m_effect.Layout == TTextLayout::tlBottom)
    y = canvas.Height() - m_border - text.height();
  canvas.TextOut(x, y, m_caption);
}

} // namespace widgets
