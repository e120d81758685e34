#include "skin/TsuiCustomPanel.h"

#include "framework/Inherited.h"
#include "skin/style/DrawOps.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace skin {

TsuiCustomPanel::TsuiCustomPanel(QWidget *parent) : framework::WindowlessControl(parent) {
  // Through the palette the colour reaches the controls that follow their parent's.
  framework::SetWidgetColor(*this, m_color);
}

TsuiCustomPanel::~TsuiCustomPanel() = default;

const QImage &TsuiCustomPanel::Picture() const {
  if (m_decode) {
    m_picture = std::exchange(m_decode, nullptr)();
  }
  return m_picture;
}

QSize TsuiCustomPanel::pictureSize() const {
  return m_decode ? m_pendingSize : m_picture.size();
}

void TsuiCustomPanel::SetPicture(const QImage &value) {
  m_decode = nullptr;
  m_picture = value.copy();
  m_fromFile = false;
  pictureChanged();
}

void TsuiCustomPanel::SetPictureSource(QSize size, std::function<QImage()> decode) {
  m_picture = QImage();
  m_fromFile = false;
  m_pendingSize = decode ? size : QSize();
  m_decode = std::move(decode);
  pictureChanged();
}

bool TsuiCustomPanel::LoadPicture(const QString &path, framework::PictureFormat format) {
  std::optional<QImage> image = framework::LoadPicture(path, format);
  if (!image) return false;
  m_decode = nullptr;
  m_picture = std::move(*image);
  m_fromFile = true;
  pictureChanged();
  return true;
}

void TsuiCustomPanel::pictureChanged() {
  if (!pictureSize().isEmpty() && m_autoSize) sizeToPicture();
  // Also without a picture: the old one must go from the screen.
  Invalidate();
}

void TsuiCustomPanel::sizeToPicture() {
  const bool keepWidth =
      m_align == TAlign::alTop || m_align == TAlign::alBottom || m_align == TAlign::alClient;
  const bool keepHeight =
      m_align == TAlign::alLeft || m_align == TAlign::alRight || m_align == TAlign::alClient;
  const QSize picture = pictureSize();
  resize(keepWidth ? width() : picture.width(), keepHeight ? height() : picture.height());
  dock();
}

void TsuiCustomPanel::SetDrawStyle(TsuiDrawStyle value) {
  m_drawStyle = value;
  Invalidate();
}

void TsuiCustomPanel::SetAutoSize(bool value) {
  m_autoSize = value;
  if (m_autoSize && !pictureSize().isEmpty()) sizeToPicture();
}

void TsuiCustomPanel::SetTransparent(bool value) {
  m_transparent = value;
  Invalidate();
}

void TsuiCustomPanel::SetColor(framework::TColor value) {
  m_color = value;
  framework::SetWidgetColor(*this, value);
  Invalidate();
}

void TsuiCustomPanel::SetCaption(const QString &value) {
  m_caption = value;
  Invalidate();
}

void TsuiCustomPanel::SetAlignment(framework::TAlignment value) {
  m_alignment = value;
  Invalidate();
}

void TsuiCustomPanel::SetAlign(TAlign value) {
  if (QWidget *parent = parentWidget()) {
    if (m_align == TAlign::alNone && value != TAlign::alNone) parent->installEventFilter(this);
    if (m_align != TAlign::alNone && value == TAlign::alNone) parent->removeEventFilter(this);
  }
  m_align = value;
  m_anchoring->SetActive(value == TAlign::alNone);
  dock();
}

void TsuiCustomPanel::dock() {
  QWidget *parent = parentWidget();
  if (!parent) return;
  // All docked siblings are placed again: a panel that grows or leaves moves the later ones.
  QRect room = parent->contentsRect();
  std::vector<TsuiCustomPanel *> docked;
  for (QObject *child : parent->children()) {
    auto *panel = qobject_cast<TsuiCustomPanel *>(child);
    if (panel && panel->m_align != TAlign::alNone && panel->isVisibleTo(parent))
      docked.push_back(panel);
  }
  // The whole-client ones take what the sides leave.
  std::stable_partition(docked.begin(), docked.end(),
                        [](const TsuiCustomPanel *p) { return p->m_align != TAlign::alClient; });
  for (TsuiCustomPanel *panel : docked)
    panel->place(room);
}

void TsuiCustomPanel::place(QRect &room) {
  if (m_docking) return;
  m_docking = true;
  QRect place;
  switch (m_align) {
  case TAlign::alTop:
    place = QRect(room.left(), room.top(), room.width(), height());
    room.setTop(place.bottom() + 1);
    break;
  case TAlign::alBottom:
    place = QRect(room.left(), room.bottom() + 1 - height(), room.width(), height());
    room.setBottom(place.top() - 1);
    break;
  case TAlign::alLeft:
    place = QRect(room.left(), room.top(), width(), room.height());
    room.setLeft(place.right() + 1);
    break;
  case TAlign::alRight:
    place = QRect(room.right() + 1 - width(), room.top(), width(), room.height());
    room.setRight(place.left() - 1);
    break;
  case TAlign::alClient:
  case TAlign::alNone:
    place = room;
    break;
  }
  setGeometry(place);
  m_docking = false;
}

bool TsuiCustomPanel::eventFilter(QObject *watched, QEvent *event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) dock();
  return framework::WindowlessControl::eventFilter(watched, event);
}

void TsuiCustomPanel::resizeEvent(QResizeEvent *event) {
  framework::WindowlessControl::resizeEvent(event);
  if (m_onResize) m_onResize(this);
}

std::optional<framework::TColor> TsuiCustomPanel::key() const {
  // A picture with its own transparency keeps it.
  if (!m_transparent || m_fromFile || Picture().hasAlphaChannel()) return std::nullopt;
  return style::BottomLeftKey(Picture());
}

void TsuiCustomPanel::Render(framework::Canvas &canvas) {
  const framework::TRect all{0, 0, width(), height()};
  if (m_transparent) PaintParentBackground(canvas);
  const QImage &picture = Picture();
  if (!picture.isNull()) {
    switch (m_drawStyle) {
    case TsuiDrawStyle::suiStretch:
      canvas.StretchDraw(all, picture, key());
      break;
    case TsuiDrawStyle::suiTile:
      canvas.TileDraw(all, picture, key());
      break;
    case TsuiDrawStyle::suiNormal:
      canvas.Draw(0, 0, picture, key());
      break;
    }
  } else if (!m_transparent) {
    canvas.SetBrushColor(m_color);
    canvas.FillRect(all);
  }
  if (m_caption.trimmed().isEmpty()) return;
  canvas.SetFont(framework::MakeFont(Font()));
  canvas.SetFontColor(Font().Color);
  const framework::TextAlign align =
      m_alignment == framework::TAlignment::taLeftJustify    ? framework::TextAlign::Left
      : m_alignment == framework::TAlignment::taRightJustify ? framework::TextAlign::Right
                                                             : framework::TextAlign::Center;
  m_captionRect = canvas.TextRect(all, m_caption, {align, framework::TextLayout::Center});
}

} // namespace skin
