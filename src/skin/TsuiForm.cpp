#include "skin/TsuiForm.h"

#include <QEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>

namespace skin {
namespace {

// Light horizontal stripes: three white rows and one grey row, repeated.
QImage proteinBackground() {
  QImage tile(8, 8, QImage::Format_RGB32);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      tile.setPixel(x, y, (y % 4 == 3) ? qRgb(0xEE, 0xEE, 0xEE) : qRgb(0xFF, 0xFF, 0xFF));
  return tile;
}

} // namespace

TsuiForm::TsuiForm(QWidget *form)
    : QWidget(form), m_form(form), m_titleBar(new TsuiTitleBar(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_form->setMinimumSize(125, 50);
  m_form->installEventFilter(this);
  m_titleBar->setGeometry(0, 0, width(), TitleBarHeight);
  SetCaption(m_form->windowTitle());
  placeInForm();
}

TsuiForm::~TsuiForm() {
  m_form->removeEventFilter(this);
}

void TsuiForm::SetUIStyle(TsuiUIStyle value) {
  m_uiStyle = value;
  update();
  m_form->update();
}

void TsuiForm::SetBorderColor(framework::TColor value) {
  m_borderColor = value;
  m_form->update();
}

void TsuiForm::SetBorderWidth(int value) {
  m_borderWidth = std::max(0, value);
  placeInForm();
  m_form->update();
}

void TsuiForm::SetColor(framework::TColor value) {
  m_color = value;
  update();
  m_form->update();
}

void TsuiForm::SetCaption(const QString &value) {
  m_titleBar->SetCaption(value);
  m_form->setWindowTitle(value);
}

void TsuiForm::SetRoundCorner(int value) {
  m_roundCorner = std::max(0, value);
  applyWindowRegion();
}

void TsuiForm::SetRoundCornerBottom(int value) {
  m_roundCornerBottom = std::max(0, value);
  applyWindowRegion();
}

void TsuiForm::FormResized() {
  placeInForm();
  applyWindowRegion();
}

void TsuiForm::placeInForm() {
  // A wider border keeps one band column inside it.
  const int side = std::max(SideFrame, m_borderWidth + 1);
  const int bottom = std::max(1, m_borderWidth);
  setGeometry(side, TopFrame, std::max(0, m_form->width() - 2 * side),
              std::max(0, m_form->height() - TopFrame - bottom));
  m_titleBar->SetFrame(side, TopFrame);
  m_titleBar->setGeometry(0, 0, width(), TitleBarHeight);
}

void TsuiForm::applyWindowRegion() {
  const int w = m_form->width(), h = m_form->height();
  if (m_roundCorner == 0 && m_roundCornerBottom == 0) {
    m_form->clearMask();
    return;
  }
  const int m = h / 2;
  QRegion top(0, 0, w, m + 1, QRegion::Rectangle);
  if (m_roundCorner > 0) {
    const int r = m_roundCorner;
    top = QRegion(0, r, w, m + 1 - r) + QRegion(r, 0, w - 2 * r, r) +
          QRegion(0, 0, 2 * r, 2 * r, QRegion::Ellipse) +
          QRegion(w - 2 * r, 0, 2 * r, 2 * r, QRegion::Ellipse);
  }
  QRegion bottom(0, m, w, h - m, QRegion::Rectangle);
  if (m_roundCornerBottom > 0) {
    const int r = m_roundCornerBottom;
    bottom = QRegion(0, m, w, h - m - r) + QRegion(r, h - r, w - 2 * r, r) +
             QRegion(0, h - 2 * r, 2 * r, 2 * r, QRegion::Ellipse) +
             QRegion(w - 2 * r, h - 2 * r, 2 * r, 2 * r, QRegion::Ellipse);
  }
  m_form->setMask(top + bottom);
}

void TsuiForm::PaintFrame(QPainter &painter, const QSize &size) const {
  const int w = size.width(), h = size.height();
  const QColor border = framework::ToQColor(m_borderColor);
  painter.fillRect(0, 0, w, h, framework::ToQColor(m_color));

  // The title pictures continue into the frame beside and above the title bar.
  const TsuiTitleBarSection *left = m_titleBar->Sections().Items(0);
  const TsuiTitleBarSection *right = m_titleBar->Sections().Items(1);
  const TsuiTitleBarSection *client = m_titleBar->Sections().Items(2);
  if (left && right && client && !left->Picture().isNull() && !right->Picture().isNull() &&
      !client->Picture().isNull()) {
    const int lw = left->Picture().width(), rw = right->Picture().width();
    const int titleHeight = left->Picture().height();
    if (w - lw - rw > 0)
      painter.drawImage(QRect(lw, 0, w - lw - rw, titleHeight), client->Picture());
    painter.drawImage(0, 0, left->Picture());
    painter.drawImage(w - rw, 0, right->Picture());
  }
  const int bw = m_borderWidth;
  if (bw > 0) {
    painter.fillRect(0, 0, bw, h, border);
    painter.fillRect(0, h - bw, w, bw, border);
    painter.fillRect(w - bw, 0, bw, h, border);
  }
}

bool TsuiForm::eventFilter(QObject *watched, QEvent *event) {
  if (watched == m_form) {
    switch (event->type()) {
    case QEvent::Paint: {
      QPainter painter(m_form);
      PaintFrame(painter, m_form->size());
      return true;
    }
    case QEvent::Resize:
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
  return QWidget::eventFilter(watched, event);
}

void TsuiForm::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  if (m_uiStyle == TsuiUIStyle::Protein) {
    static const QImage tile = proteinBackground();
    painter.drawTiledPixmap(rect(), QPixmap::fromImage(tile));
  } else {
    painter.fillRect(rect(), framework::ToQColor(m_color));
  }
}

void TsuiForm::resizeEvent(QResizeEvent *) {
  m_titleBar->setGeometry(0, 0, width(), TitleBarHeight);
}

} // namespace skin
