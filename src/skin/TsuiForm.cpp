#include "skin/TsuiForm.h"

#include "skin/style/StyleReads.h"

#include <QEvent>
#include <QRegion>

#include <algorithm>

namespace skin {

TsuiForm::TsuiForm(QWidget *form)
    : framework::RenderedControl(form), m_form(form), m_titleBar(new TsuiTitleBar(this)) {
  SetOpaque(true);
  m_frame.SetOpaque(true);
  m_form->setMinimumSize(125, 50);
  m_form->installEventFilter(this);
  connect(m_titleBar, &TsuiTitleBar::changed, this, &TsuiForm::frameChanged);
  connect(m_titleBar, &TsuiTitleBar::cornersChanged, this, &TsuiForm::applyWindowRegion);
  SetCaption(m_form->windowTitle());
  placeInForm();
}

TsuiForm::~TsuiForm() {
  m_form->removeEventFilter(this);
}

void TsuiForm::SetUIStyle(TsuiUIStyle value) {
  m_uiStyle = value;
  m_titleBar->SetUIStyle(value);
  Invalidate();
  frameChanged();
}

void TsuiForm::SetBorderColor(framework::TColor value) {
  m_borderColor = value;
  frameChanged();
}

void TsuiForm::SetBorderWidth(int value) {
  m_borderWidth = std::max(0, value);
  placeInForm();
  frameChanged();
}

void TsuiForm::SetColor(framework::TColor value) {
  m_color = value;
  Invalidate();
  frameChanged();
}

void TsuiForm::SetCaption(const QString &value) {
  m_titleBar->SetCaption(value);
  m_form->setWindowTitle(value);
}

void TsuiForm::frameChanged() {
  m_frame.MarkStale();
  placeTitleBar();
  Invalidate();
  m_form->update();
}

void TsuiForm::FormResized() {
  placeInForm();
  applyWindowRegion();
  m_titleBar->UpdateMaxButtonPictures();
}

void TsuiForm::placeInForm() {
  // A wider border keeps one band column inside it.
  const int side = std::max(SideFrame, m_borderWidth + 1);
  const int bottom = std::max(1, m_borderWidth);
  setGeometry(side, TopFrame, std::max(0, m_form->width() - 2 * side),
              std::max(0, m_form->height() - TopFrame - bottom));
  placeTitleBar();
}

void TsuiForm::placeTitleBar() {
  // The bar's pictures start where the window does: it sits as far inside the panel as its
  // origin reaches out of it.
  const int side = std::max(SideFrame, m_borderWidth + 1);
  const QPoint origin = m_titleBar->SectionOrigin();
  const int dx = -origin.x() - side, dy = -origin.y() - TopFrame;
  m_titleBar->setGeometry(dx, dy, std::max(0, width() - 2 * dx), m_titleBar->height());
}

void TsuiForm::applyWindowRegion() {
  const int w = m_form->width(), h = m_form->height();
  const int roundCorner = std::max(0, RoundCorner());
  const int roundCornerBottom = std::max(0, RoundCornerBottom());
  if (roundCorner == 0 && roundCornerBottom == 0) {
    m_form->clearMask();
    return;
  }
  const int m = h / 2;
  QRegion top(0, 0, w, m + 1, QRegion::Rectangle);
  if (roundCorner > 0) {
    const int r = roundCorner;
    top = QRegion(0, r, w, m + 1 - r) + QRegion(r, 0, w - 2 * r, r) +
          QRegion(0, 0, 2 * r, 2 * r, QRegion::Ellipse) +
          QRegion(w - 2 * r, 0, 2 * r, 2 * r, QRegion::Ellipse);
  }
  QRegion bottom(0, m, w, h - m, QRegion::Rectangle);
  if (roundCornerBottom > 0) {
    const int r = roundCornerBottom;
    bottom = QRegion(0, m, w, h - m - r) + QRegion(r, h - r, w - 2 * r, r) +
             QRegion(0, h - 2 * r, 2 * r, 2 * r, QRegion::Ellipse) +
             QRegion(w - 2 * r, h - 2 * r, 2 * r, 2 * r, QRegion::Ellipse);
  }
  m_form->setMask(top + bottom);
}

void TsuiForm::PaintFrame(framework::Canvas &canvas) const {
  const int w = canvas.Width(), h = canvas.Height();
  canvas.SetBrushColor(m_color);
  canvas.FillRect({0, 0, w, h});

  // The title pictures continue into the frame beside and above the title bar.
  const TsuiTitleBarSection *left = m_titleBar->Sections().Items(0);
  const TsuiTitleBarSection *right = m_titleBar->Sections().Items(1);
  const TsuiTitleBarSection *client = m_titleBar->Sections().Items(2);
  if (left && right && client && !left->Picture().isNull() && !right->Picture().isNull() &&
      !client->Picture().isNull()) {
    const int lw = left->Picture().width(), rw = right->Picture().width();
    const int titleHeight = left->Picture().height();
    if (w - lw - rw > 0) canvas.StretchDraw({lw, 0, w - rw, titleHeight}, client->Picture());
    canvas.Draw(0, 0, left->Picture());
    canvas.Draw(w - rw, 0, right->Picture());
  }
  const int bw = m_borderWidth;
  if (bw > 0) {
    canvas.SetBrushColor(m_borderColor);
    canvas.FillRect({0, 0, bw, h});
    canvas.FillRect({0, h - bw, w, h});
    canvas.FillRect({w - bw, 0, w, h});
  }
}

bool TsuiForm::eventFilter(QObject *watched, QEvent *event) {
  if (watched == m_form) {
    switch (event->type()) {
    case QEvent::Paint:
      if (m_frame.Stale() || m_frame.Image().size() != m_form->size())
        m_frame.Render(m_form->size(), [this](framework::Canvas &canvas) { PaintFrame(canvas); });
      m_frame.CopyTo(*m_form);
      return true;
    case QEvent::Resize:
      m_frame.MarkStale();
      FormResized();
      break;
    case QEvent::WindowActivate:
      m_titleBar->SetFormActive(true);
      break;
    case QEvent::WindowDeactivate:
      m_titleBar->SetFormActive(false);
      break;
    default:
      break;
    }
  }
  return framework::RenderedControl::eventFilter(watched, event);
}

void TsuiForm::Render(framework::Canvas &canvas) {
  // Styles with a background picture tile it; the others show the form colour.
  const QImage tile = style::StyleReader(nullptr, m_uiStyle).Bitmap("FORM_BACKGROUND");
  if (!tile.isNull()) {
    canvas.TileDraw({0, 0, width(), height()}, tile);
  } else {
    canvas.SetBrushColor(m_color);
    canvas.FillRect({0, 0, width(), height()});
  }
  // Around the title bar the title pictures show as they do in the frame.
  const int side = std::max(SideFrame, m_borderWidth + 1);
  m_titleBar->DrawSections(canvas, -side, -TopFrame, width());
}

void TsuiForm::resizeEvent(QResizeEvent *event) {
  framework::RenderedControl::resizeEvent(event);
  placeTitleBar();
}

} // namespace skin
