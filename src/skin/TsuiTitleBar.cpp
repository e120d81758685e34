#include "skin/TsuiTitleBar.h"

#include "skin/TsuiForm.h"
#include "skin/TsuiTitleBarPopupMenu.h"
#include "skin/style/DrawOps.h"
#include "skin/style/StyleFacts.h"
#include "skin/style/StyleReads.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace skin {

namespace {

using style::StyleEntry;

// Theme control-font colours that come with dark captions.
bool darkCaptionTheme(framework::TColor controlFont) {
  return controlFont == 0x10000 || controlFont == 0x30000 || controlFont == 0x40000 ||
         controlFont == 0x50000;
}

// The system menu opens this much further right in right-to-left reading.
constexpr int RightToLeftMenuShift = 176;

} // namespace

TsuiTitleBar::TsuiTitleBar(QWidget *parent, TsuiUIStyle style)
    : framework::RenderedControl(parent), m_buttons(*this), m_sections(*this),
      m_systemMenu(new TsuiTitleBarPopupMenu(*this)),
      // A new file keeps the caption colour; a theme that goes away restyles whole.
      m_fileTheme(
          *this,
          [this] {
            m_keepCaptionColor = true;
            SetUIStyle(m_uiStyle);
          },
          [this] { SetUIStyle(TsuiUIStyle::DeepBlue); }) {
  setMouseTracking(true);
  SetOpaque(true);
  for (const TsuiTitleBarBtnType type :
       {TsuiTitleBarBtnType::suiControlBox, TsuiTitleBarBtnType::suiClose,
        TsuiTitleBarBtnType::suiMax, TsuiTitleBarBtnType::suiMin})
    m_buttons.Add().SetButtonType(type);
  SetUIStyle(style);
}

TsuiTitleBar::~TsuiTitleBar() = default;

TsuiForm *TsuiTitleBar::form() const {
  return qobject_cast<TsuiForm *>(parentWidget());
}

int TsuiTitleBar::leftBorderWidth() const {
  const TsuiForm *frame = form();
  if (!frame) return 0;
  const int width = frame->LeftBorderWidthQuery();
  return width == 0 ? DefaultLeftBorder : width;
}

void TsuiTitleBar::Changed() {
  Invalidate();
  emit changed();
}

void TsuiTitleBar::SetUIStyle(TsuiUIStyle value) {
  m_uiStyle = value;
  const bool keepCaptionColor = std::exchange(m_keepCaptionColor, false);
  if (m_custom) return;
  const style::StyleReader reader(FileTheme(), value);
  const bool onForm = form() != nullptr;

  m_sections.Clear();
  const auto addSection = [&](StyleEntry entry) -> TsuiTitleBarSection & {
    TsuiTitleBarSection &section = m_sections.Add();
    QImage picture;
    reader.Image(entry, picture);
    section.SetPicture(picture);
    return section;
  };
  addSection(StyleEntry::TitleBarLeftImage).SetAutoSize(true);
  TsuiTitleBarSection &right = addSection(StyleEntry::TitleBarRightImage);
  right.SetAutoSize(true);
  right.SetAlign(TsuiTitleBarAlign::suiRight);
  addSection(StyleEntry::TitleBarClientImage).SetAlign(TsuiTitleBarAlign::suiClient);

  m_leftBtnXOffset = reader.Int(StyleEntry::TitleBarButtonLeftOffsetInt);
  m_rightBtnXOffset = reader.Int(StyleEntry::TitleBarButtonRightOffsetInt);
  QImage strip;
  reader.Image(StyleEntry::TitleBarButtonImage, strip);
  m_buttonPictureHeight = strip.height();
  m_buttonTop = reader.Int(StyleEntry::TitleBarButtonTopInt) - (onForm ? FormTopOverlap : 0);

  const int minWidth = reader.Int(StyleEntry::FormMinWidthInt);
  if (QWidget *owner = window(); owner != this && minWidth >= 0) owner->setMinimumWidth(minWidth);
  m_roundCorner = reader.Int(StyleEntry::FormRoundCornerInt);
  m_roundCornerBottom =
      reader.Resolved().UseTheme ? reader.Int(StyleEntry::FormBottomRoundCornerInt) : 0;
  emit cornersChanged();

  for (int i = 0; i < m_buttons.Count(); ++i)
    m_buttons.Items(i)->SetUIStyle(value);
  m_systemMenu->SetFileTheme(FileTheme());
  m_systemMenu->SetUIStyle(value);

  if (!keepCaptionColor) {
    if (!reader.Resolved().UseTheme) {
      m_font.Color = style::Facts(reader.Resolved().Style).TitleCaptionColor;
    } else {
      const framework::TColor color = reader.Color(StyleEntry::TitleBarFontColor);
      m_font.Color = color != style::AbsentColor ? color
                     : darkCaptionTheme(reader.Color(StyleEntry::ControlFontColor))
                         ? framework::clBlack
                         : framework::clWhite;
    }
  }

  if (const TsuiTitleBarSection *first = m_sections.Items(0))
    resize(width(), first->Picture().height() - (onForm ? FormTopOverlap : 0));
  Changed();
}

void TsuiTitleBar::SetFileTheme(TsuiFileTheme *value) {
  m_fileTheme.Set(value);
  m_keepCaptionColor = true;
  SetUIStyle(m_uiStyle);
}

void TsuiTitleBar::SetCaption(const QString &value) {
  m_caption = value;
  Invalidate();
}
void TsuiTitleBar::SetFont(const framework::FontDesc &value) {
  m_font = value;
  Invalidate();
}
void TsuiTitleBar::SetFormActive(bool value) {
  m_formActive = value;
  Invalidate();
}
void TsuiTitleBar::SetLeftBtnXOffset(int value) {
  m_leftBtnXOffset = value;
  Invalidate();
}
void TsuiTitleBar::SetRightBtnXOffset(int value) {
  m_rightBtnXOffset = value;
  Invalidate();
}
void TsuiTitleBar::SetButtonInterval(int value) {
  m_buttonInterval = value;
  Invalidate();
}
void TsuiTitleBar::SetDrawAppIcon(bool value) {
  m_drawAppIcon = value;
  Invalidate();
}
void TsuiTitleBar::SetRightToLeft(bool value) {
  m_rightToLeft = value;
  m_systemMenu->SetRightToLeft(value);
  Invalidate();
}
void TsuiTitleBar::SetRoundCorner(int value) {
  m_roundCorner = value;
  emit cornersChanged();
}
void TsuiTitleBar::SetRoundCornerBottom(int value) {
  m_roundCornerBottom = value;
  emit cornersChanged();
}

void TsuiTitleBar::UpdateMaxButtonPictures() {
  if (m_custom) return;
  for (int i = 0; i < m_buttons.Count(); ++i)
    if (m_buttons.Items(i)->ButtonType() == TsuiTitleBarBtnType::suiMax)
      m_buttons.Items(i)->LoadStylePictures();
}

QPoint TsuiTitleBar::SectionOrigin() const {
  if (!form()) return {0, 0};
  return {-leftBorderWidth(), -FormTopOverlap};
}

void TsuiTitleBar::DrawSections(framework::Canvas &canvas, int x0, int y0, int width) const {
  const TsuiTitleBarSection *left = m_sections.Items(0);
  const TsuiTitleBarSection *right = m_sections.Items(1);
  const TsuiTitleBarSection *client = m_sections.Items(2);
  // By position in the collection; the alignment does not move a section.
  const int rightX = right ? width - right->Picture().width() - x0 : width - x0;
  if (left) canvas.Draw(x0, y0, left->Picture());
  if (right) canvas.Draw(rightX, y0, right->Picture());
  if (client && !client->Picture().isNull()) {
    const int from = x0 + (left ? left->Picture().width() : 0);
    if (rightX > from)
      canvas.StretchDraw({from, y0, rightX, y0 + client->Picture().height()}, client->Picture());
  }
}

TsuiTitleBar::Layout TsuiTitleBar::layout() const {
  Layout result;
  result.buttons.resize(static_cast<std::size_t>(m_buttons.Count()));
  const int k = leftBorderWidth();
  const int w = width();
  int x = w + m_rightBtnXOffset + k;
  for (int i = 0; i < m_buttons.Count(); ++i) {
    const TsuiTitleBarButton &button = *m_buttons.Items(i);
    if (!button.Visible()) continue;
    if (button.ButtonType() == TsuiTitleBarBtnType::suiControlBox) {
      if (result.controlBox < 0) result.controlBox = i;
      continue;
    }
    const QSize size = button.PicNormal().size();
    x -= size.width() + m_buttonInterval + 1;
    if (x > w - size.width() - 1) x = w - size.width() - 1;
    // A button without a picture only takes its spacing.
    if (!size.isEmpty())
      result.buttons[static_cast<std::size_t>(i)] = QRect(QPoint(x, m_buttonTop), size);
  }
  int c = std::max(0, m_leftBtnXOffset + 1 - k);
  if (result.controlBox >= 0) {
    if (m_drawAppIcon) {
      result.appIcon = true;
      result.controlBoxRect = QRect(c + 3, m_buttonTop, 16, 16);
      c += 21;
    } else {
      const QSize size = m_buttons.Items(result.controlBox)->PicNormal().size();
      result.controlBoxRect = QRect(QPoint(c, m_buttonTop - 1), size);
      c += size.width() + 5;
    }
  }
  if (c == 0) c = 6;
  result.captionLeft = c;
  result.captionRight = x;
  return result;
}

QRect TsuiTitleBar::ButtonRect(int index) const {
  const Layout l = layout();
  if (index == l.controlBox) return l.controlBoxRect;
  if (index < 0 || index >= static_cast<int>(l.buttons.size())) return {};
  return l.buttons[static_cast<std::size_t>(index)];
}

int TsuiTitleBar::hitTest(const std::optional<QPoint> &pos) const {
  if (!pos) return -1;
  const Layout l = layout();
  // Edges included: the column and row just past the picture count.
  const auto inside = [&](const QRect &r) {
    return !r.isEmpty() && pos->x() >= r.left() && pos->x() <= r.right() + 1 &&
           pos->y() >= r.top() && pos->y() <= r.bottom() + 1;
  };
  int hot = -1;
  for (std::size_t i = 0; i < l.buttons.size(); ++i)
    if (inside(l.buttons[i])) hot = static_cast<int>(i);
  if (l.controlBox >= 0 && inside(l.controlBoxRect)) hot = l.controlBox;
  return hot;
}

const QImage &TsuiTitleBar::pictureFor(int index, bool hot) const {
  const TsuiTitleBarButton &button = *m_buttons.Items(index);
  if (!hot) return button.PicNormal();
  return m_pressed ? button.PicMouseDown() : button.PicMouseOn();
}

QString TsuiTitleBar::ShownCaption() const {
  const Layout l = layout();
  const QFontMetrics metrics(framework::MakeFont(m_font));
  const int room = l.captionRight - l.captionLeft;
  if (metrics.horizontalAdvance(m_caption) <= room) return m_caption;
  const QString dots = QStringLiteral("...");
  QString text = m_caption;
  // Stops when no character is left; then the dots alone are shown.
  while (!text.isEmpty() && metrics.horizontalAdvance(text + dots) > room)
    text.chop(1);
  return text + dots;
}

void TsuiTitleBar::Render(framework::Canvas &canvas) {
  canvas.SetBrushColor(framework::clBlack);
  canvas.FillRect({0, 0, width(), height()});
  const QPoint origin = SectionOrigin();
  DrawSections(canvas, origin.x(), origin.y(), width());

  const Layout l = layout();
  m_hot = hitTest(m_mouse);
  const auto drawButton = [&](int index, QPoint at) {
    const TsuiTitleBarButton &button = *m_buttons.Items(index);
    // The state picture is shown in the size of the normal one.
    QImage scratch(button.PicNormal().size(), QImage::Format_RGB32);
    scratch.fill(Qt::black);
    framework::Canvas(scratch).Draw(0, 0, pictureFor(index, index == m_hot));
    canvas.Draw(at.x(), at.y(), scratch,
                button.Transparent() ? style::BottomLeftKey(scratch) : std::nullopt);
  };
  for (std::size_t i = 0; i < l.buttons.size(); ++i)
    if (!l.buttons[i].isEmpty()) drawButton(static_cast<int>(i), l.buttons[i].topLeft());
  if (l.controlBox >= 0) {
    if (l.appIcon) {
      const QImage icon = QApplication::windowIcon().pixmap(16, 16).toImage();
      canvas.StretchDraw({l.controlBoxRect.left(), l.controlBoxRect.top(),
                          l.controlBoxRect.left() + 16, l.controlBoxRect.top() + 16},
                         icon);
    } else if (!l.controlBoxRect.isEmpty()) {
      drawButton(l.controlBox, l.controlBoxRect.topLeft());
    }
  }

  canvas.SetFont(framework::MakeFont(m_font));
  canvas.SetFontColor(m_formActive ? m_font.Color : framework::clInactiveCaption);
  const QString caption = ShownCaption();
  const QSize extent = canvas.TextExtent(caption);
  const int y = m_buttonTop + (m_buttonPictureHeight - extent.height()) / 2;
  canvas.TextOut(m_rightToLeft ? l.captionRight - extent.width() - 10 : l.captionLeft, y, caption);
}

void TsuiTitleBar::track(const std::optional<QPoint> &pos) {
  m_mouse = pos;
  Invalidate();
}

void TsuiTitleBar::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return;
  m_doubleClickActed = false;
  m_mouse = event->position().toPoint();
  m_pressed = true;
  m_hot = hitTest(m_mouse);
  Invalidate();
  if (m_hot < 0 && !window()->isMaximized()) {
    // The window system moves the window while the button stays down; without a window manager
    // that can, the window follows the mouse here.
    m_pressed = false;
    emit dragStarted();
    QWindow *handle = window()->windowHandle();
    if (!handle || !handle->startSystemMove())
      m_dragOffset = event->globalPosition().toPoint() - window()->pos();
  }
}

void TsuiTitleBar::mouseMoveEvent(QMouseEvent *event) {
  if (m_dragOffset && event->buttons().testFlag(Qt::LeftButton)) {
    window()->move(event->globalPosition().toPoint() - *m_dragOffset);
    return;
  }
  track(event->position().toPoint());
}

void TsuiTitleBar::leaveEvent(QEvent *) {
  track(std::nullopt);
}

void TsuiTitleBar::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return;
  m_dragOffset.reset();
  m_mouse = event->position().toPoint();
  // The button under the mouse now acts, whichever was pressed.
  const int hot = hitTest(m_mouse);
  const QPointer<TsuiTitleBar> alive(this);
  if (hot >= 0 && !std::exchange(m_doubleClickActed, false)) buttonAction(hot);
  if (!alive) return;
  m_pressed = false;
  Invalidate();
}

void TsuiTitleBar::mouseDoubleClickEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return;
  const int hot = hitTest(event->position().toPoint());
  if (hot < 0) {
    for (int i = 0; i < m_buttons.Count(); ++i) {
      const TsuiTitleBarButton &button = *m_buttons.Items(i);
      if (button.Visible() && button.ButtonType() == TsuiTitleBarBtnType::suiMax) {
        PerformAction(i);
        return;
      }
    }
    return;
  }
  if (m_buttons.Items(hot)->ButtonType() == TsuiTitleBarBtnType::suiControlBox) {
    m_doubleClickActed = true;
    window()->close();
  }
}

void TsuiTitleBar::ClickButton(int index) {
  const TsuiTitleBarButton *button = m_buttons.Items(index);
  if (!button || !button->Visible()) return;
  buttonAction(index);
}

void TsuiTitleBar::buttonAction(int index) {
  const TsuiTitleBarButton &button = *m_buttons.Items(index);
  const TsuiTitleBarBtnType type = button.ButtonType();
  if (type == TsuiTitleBarBtnType::suiControlBox && !button.ControlBoxMenu()) {
    PopupSystemMenu();
    return;
  }
  PerformAction(index);
  if (type == TsuiTitleBarBtnType::suiCustom && m_onCustomBtnsClick)
    m_onCustomBtnsClick(this, index);
  else if (type == TsuiTitleBarBtnType::suiHelp && m_onHelpBtnClick)
    m_onHelpBtnClick(this, index);
}

void TsuiTitleBar::PerformAction(int index) {
  const TsuiTitleBarButton *button = m_buttons.Items(index);
  if (!button) return;
  QWidget *owner = window();
  switch (button->ButtonType()) {
  case TsuiTitleBarBtnType::suiMax:
    if (owner->isMaximized()) {
      owner->showNormal();
    } else {
      owner->showMaximized();
      // Without a skinned frame to do it, the frame is pushed off the screen's edges.
      const QScreen *screen = owner->screen();
      if (!form() && screen)
        owner->setGeometry(screen->availableGeometry().adjusted(-2, -2, 2, -1));
    }
    UpdateMaxButtonPictures();
    break;
  case TsuiTitleBarBtnType::suiMin:
    owner->showMinimized();
    break;
  case TsuiTitleBarBtnType::suiClose:
    owner->close();
    break;
  case TsuiTitleBarBtnType::suiControlBox:
    if (TsuiPopupMenu *menu = button->ControlBoxMenu()) {
      QPoint at = mapToGlobal(QPoint(m_rightToLeft ? RightToLeftMenuShift : 0, height()));
      at.setX(std::max(0, at.x()));
      menu->Popup(at.x(), at.y());
    }
    break;
  case TsuiTitleBarBtnType::suiHelp:
  case TsuiTitleBarBtnType::suiCustom:
    break;
  }
}

void TsuiTitleBar::PopupSystemMenu() {
  m_systemMenu->UpdateItems();
  QPoint at = mapToGlobal(QPoint(0, height()));
  if (m_rightToLeft) at.rx() += RightToLeftMenuShift;
  m_systemMenu->Popup(at.x(), at.y());
}

} // namespace skin
