#include "skin/TsuiForm.h"

#include "framework/Inherited.h"
#include "skin/ErrorBox.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiTitleBarPopupMenu.h"
#include "skin/style/StyleReads.h"

#include <QApplication>
#include <QChildEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace skin {

using style::StyleEntry;
using style::StyleReader;

namespace {

constexpr QSize MinimumFormSize(125, 50);

// Theme menu-bar colours for a theme without one, by its control font colour.
constexpr framework::TColor ThemeMenuBarColour2 = 11295547;
constexpr framework::TColor ThemeMenuBarColour3 = 10053427;

} // namespace

// The application-wide key hook, an object of its own so that the window's events are not seen
// twice by the frame.
class TsuiForm::ApplicationKeys : public QObject {
public:
  explicit ApplicationKeys(TsuiForm &form) : m_form(form) { qApp->installEventFilter(this); }
  ~ApplicationKeys() override { qApp->removeEventFilter(this); }

protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    return event->type() == QEvent::KeyPress && m_form.applicationKey(watched, event);
  }

private:
  TsuiForm &m_form;
};

TsuiForm *TsuiForm::Create(QWidget *owner, TsuiUIStyle style) {
  if (owner && owner->findChild<TsuiForm *>(QString(), Qt::FindDirectChildrenOnly)) {
    ShowErrorBox(owner, QLatin1String(OnePerFormMessage));
    return nullptr;
  }
  return new TsuiForm(owner, style);
}

TsuiForm::TsuiForm(QWidget *owner, TsuiUIStyle style)
    : framework::RenderedControl(owner), m_titleBar(new TsuiTitleBar(this, style)),
      m_uiStyle(style) {
  m_titleBarMade = true;
  SetOpaque(true);
  m_frame.SetOpaque(true);
  m_menuBarColor = m_color;
  colorChanged();
  if (owner && owner->isWindow()) {
    m_form = owner;
    // A window being destroyed says so before it deletes this panel: nothing to give back then.
    connect(owner, &QObject::destroyed, this, [this] { m_form = nullptr; });
    takeOver();
  } else if (style != TsuiUIStyle::DeepBlue) {
    // A plain panel keeps its defaults; another style comes as if set.
    SetUIStyle(style);
  }
}

TsuiForm::~TsuiForm() {
  m_destroying = true;
  if (m_menu) disconnect(m_menu, nullptr, this, nullptr);
  giveBack();
}

void TsuiForm::takeOver() {
  // Only the window is held to the minimum: a panel wider than the client would cover the frame.
  m_form->setMinimumSize(MinimumFormSize);
  m_createdBounds = m_form->geometry();
  m_createdMaximized = m_form->isMaximized();
  m_normalBounds = m_createdBounds;
  m_wasMaximized = m_createdMaximized;

  // The title pictures continue in the frame; the title bar keeps the corner radii.
  connect(m_titleBar, &TsuiTitleBar::changed, this, [this] {
    layoutChildren();
    frameChanged();
  });
  connect(m_titleBar, &TsuiTitleBar::cornersChanged, this, &TsuiForm::applyWindowRegion);
  SetCaption(m_form->windowTitle());
  m_titleBar->show();

  // The window's own frame goes; the frame painted here replaces it.
  m_savedFlags = m_form->windowFlags();
  if (!m_savedFlags.testFlag(Qt::FramelessWindowHint)) {
    const bool visible = m_form->isVisible();
    m_form->setWindowFlags(m_savedFlags | Qt::FramelessWindowHint);
    m_flagsChanged = true;
    if (visible) m_form->show();
  }
  m_form->installEventFilter(this);
  m_applicationKeys = std::make_unique<ApplicationKeys>(*this);
  SetUIStyle(m_uiStyle);
}

void TsuiForm::giveBack() {
  if (!m_form) return;
  m_applicationKeys.reset();
  m_form->removeEventFilter(this);
  m_form->clearMask();
  if (m_flagsChanged) {
    const bool visible = m_form->isVisible();
    m_form->setWindowFlags(m_savedFlags);
    if (visible) m_form->show();
  }
  m_form->update();
}

FrameInsets TsuiForm::Insets() const {
  return ClientInsets(m_borderWidth, m_leftBorder.width(),
                      m_bottomBorder.isNull() ? 0 : m_bottomBorder.height());
}

void TsuiForm::SetFileTheme(style::ThemeEntries *value) {
  disconnect(m_themeGone);
  disconnect(m_themeReloaded);
  m_fileTheme = value;
  // A theme that is a component of its own may go away before this panel, or load a new file.
  if (auto *component = dynamic_cast<QObject *>(value))
    m_themeGone = connect(component, &QObject::destroyed, this, &TsuiForm::fromThemeRemoved);
  if (auto *file = dynamic_cast<TsuiFileTheme *>(value))
    m_themeReloaded = connect(file, &TsuiFileTheme::Reapply, this, [this] { applyStyle(); });
  applyStyle();
}

void TsuiForm::fromThemeRemoved() {
  m_fileTheme = nullptr;
  m_titleBar->SetFileTheme(nullptr);
  SetUIStyle(TsuiUIStyle::DeepBlue);
}

void TsuiForm::SetUIStyle(TsuiUIStyle value) {
  m_uiStyle = value;
  applyStyle();
}

void TsuiForm::applyStyle() {
  const StyleReader reader(m_fileTheme, m_uiStyle);
  if (reader.Resolved().UseTheme) {
    const auto colour = [&](StyleEntry entry, framework::TColor current) {
      const framework::TColor c = reader.Color(entry);
      return c == style::AbsentColor ? current : c;
    };
    m_borderColor = colour(StyleEntry::FormBorderColor, m_borderColor);
    m_borderWidth = std::max(0, reader.Int(StyleEntry::FormBorderWidthInt));
    m_color = colour(StyleEntry::FormBackgroundColor, m_color);
    m_menuBarColor = reader.Color(StyleEntry::MenuMenuBarColor);
    if (m_menuBarColor == style::AbsentColor) {
      const framework::TColor control = reader.Color(StyleEntry::ControlFontColor);
      m_menuBarColor = control == 0x20000   ? ThemeMenuBarColour2
                       : control == 0x30000 ? ThemeMenuBarColour3
                                            : m_color;
    }
    QImage left, bottom;
    reader.Image(StyleEntry::FormLeftBorderImage, left);
    reader.Image(StyleEntry::FormBottomBorderImage, bottom);
    m_leftBorder = left;
    m_rightBorder = left.mirrored(true, true);
    m_bottomBorder = bottom;
  } else {
    m_leftBorder = m_rightBorder = m_bottomBorder = QImage();
    m_titleBar->SetRoundCornerBottom(0);
    m_borderColor = reader.Color(StyleEntry::FormBorderColor);
    m_borderWidth = std::max(0, reader.Int(StyleEntry::FormBorderWidthInt));
    m_color = reader.Color(StyleEntry::FormBackgroundColor);
    m_titleBar->SetRoundCorner(std::max(0, reader.Int(StyleEntry::FormRoundCornerInt)));
    m_menuBarColor = m_color;
  }
  m_titleBar->SetFileTheme(dynamic_cast<TsuiFileTheme *>(m_fileTheme));
  m_titleBar->SetUIStyle(m_uiStyle);
  if (reader.Resolved().UseTheme) {
    // Any theme's corners, also those of a theme the title bar cannot read itself.
    m_titleBar->SetRoundCorner(std::max(0, reader.Int(StyleEntry::FormRoundCornerInt)));
    m_titleBar->SetRoundCornerBottom(std::max(0, reader.Int(StyleEntry::FormBottomRoundCornerInt)));
  }
  if (m_menu) {
    m_menu->SetFileTheme(m_fileTheme);
    m_menu->SetUIStyle(m_uiStyle);
  }
  if (m_menuBar) m_menuBar->SetColor(m_menuBarColor);
  if (m_autoUpdateSub) pushStyleToChildren();
  colorChanged();
  FormResized();
  Invalidate();
  frameChanged();
}

void TsuiForm::pushStyleToChildren() {
  for (QObject *child : children()) {
    if (child == m_titleBar || child == m_menuBar.get()) continue;
    if (auto *skinned = dynamic_cast<Skinned *>(child)) {
      skinned->SetFileTheme(dynamic_cast<TsuiFileTheme *>(m_fileTheme));
      skinned->SetUIStyle(m_uiStyle);
    }
  }
}

void TsuiForm::SetBorderColor(framework::TColor value) {
  m_borderColor = value;
  frameChanged();
}

void TsuiForm::SetBorderWidth(int value) {
  m_borderWidth = std::max(0, value);
  FormResized();
  frameChanged();
}

void TsuiForm::SetTitleBarVisible(bool value) {
  m_titleBarVisible = value;
  m_titleBar->setVisible(value);
  layoutChildren();
  applyWindowRegion();
  frameChanged();
}

void TsuiForm::SetColor(framework::TColor value) {
  m_color = value;
  colorChanged();
  Invalidate();
  frameChanged();
}

void TsuiForm::colorChanged() {
  // Through the palette the colour reaches the controls that follow their parent's.
  framework::SetWidgetColor(*this, m_color);
}

void TsuiForm::SetCaption(const QString &value) {
  m_titleBar->SetCaption(value);
  if (m_form) m_form->setWindowTitle(value);
}

void TsuiForm::SetFormPanel(QWidget *value) {
  if (value == this) {
    ShowErrorBox(window(), QLatin1String(FormPanelMessage));
    return;
  }
  m_formPanel = value;
  // A plain panel loses its own frame; it shows as part of this one.
  if (auto *frame = qobject_cast<QFrame *>(value)) frame->setFrameStyle(QFrame::NoFrame);
  layoutChildren();
}

void TsuiForm::SetMenu(TsuiMainMenu *value) {
  if (m_menu) disconnect(m_menu, &QObject::destroyed, this, nullptr);
  m_menu = value;
  m_menuBar.reset();
  if (m_menu) {
    // A menu that goes away takes its bar with it.
    connect(m_menu, &QObject::destroyed, this, [this] { SetMenu(nullptr); });
    m_menuBar = std::make_unique<TsuiMenuBar>(this);
    m_menuBar->SetColor(m_menuBarColor);
    m_menuBar->setGeometry(0, 0, width(), m_menuBarHeight);
    m_menuBar->SetButtonHeight(m_menuBarHeight);
    m_menuBar->SetMenu(m_menu);
    connect(m_menuBar.get(), &TsuiMenuBar::heightChanged, this, [this] {
      layoutChildren();
      frameChanged();
    });
    m_menuBar->show();
  }
  layoutChildren();
  frameChanged();
}

void TsuiForm::SetMenuBarColor(framework::TColor value) {
  m_menuBarColor = value;
  if (m_menuBar) m_menuBar->SetColor(value);
  frameChanged();
}

void TsuiForm::SetMenuBarHeight(int value) {
  m_menuBarHeight = std::max(0, value);
  if (m_menuBar) m_menuBar->SetButtonHeight(m_menuBarHeight);
  layoutChildren();
  frameChanged();
}

void TsuiForm::SetRoundCorner(int value) {
  m_titleBar->SetRoundCorner(std::max(0, value));
  applyWindowRegion();
  frameChanged();
}

void TsuiForm::SetRoundCornerBottom(int value) {
  m_titleBar->SetRoundCornerBottom(std::max(0, value));
  applyWindowRegion();
}

void TsuiForm::FormResized() {
  if (m_form) {
    const FrameInsets in = Insets();
    setGeometry(in.Left, in.Top, std::max(0, m_form->width() - in.Left - in.Right),
                std::max(0, m_form->height() - in.Top - in.Bottom));
  }
  layoutChildren();
  applyWindowRegion();
}

void TsuiForm::layoutChildren() {
  m_titleBar->setGeometry(0, 0, width(), m_titleBar->height());
  int top = m_titleBarVisible ? m_titleBar->height() : 0;
  if (m_menuBar) {
    m_menuBar->setGeometry(0, top, width(), m_menuBar->height());
    top += m_menuBar->height();
  }
  QWidget *panel = m_formPanel.data();
  if (panel && panel->parentWidget() == this)
    panel->setGeometry(0, top, width(), std::max(0, height() - top));
}

QRegion TsuiForm::WindowRegion() const {
  return skin::WindowRegion(m_form ? m_form->size() : size(), RoundCorner(), RoundCornerBottom());
}

void TsuiForm::applyWindowRegion() {
  if (!m_form || m_destroying) return;
  m_form->setMask(WindowRegion());
}

void TsuiForm::frameChanged() {
  m_frame.MarkStale();
  if (m_form) m_form->update();
}

void TsuiForm::PaintFrame(framework::Canvas &canvas) const {
  FrameLook look;
  look.BorderWidth = m_borderWidth;
  look.BorderColor = m_borderColor;
  look.Color = m_color;
  look.MenuBarColor = m_menuBarColor;
  look.TitleHeight = m_titleBarVisible ? m_titleBar->height() : 0;
  look.MenuBarHeight = m_menuBar ? m_menuBar->height() : 0;
  look.RoundCorner = RoundCorner();
  const TsuiTitleBarSections &sections = m_titleBar->Sections();
  if (sections.Count() == 3) {
    look.TitleLeft = sections.Items(0)->Picture();
    look.TitleRight = sections.Items(1)->Picture();
    look.TitleClient = sections.Items(2)->Picture();
  }
  look.LeftBorder = m_leftBorder;
  look.RightBorder = m_rightBorder;
  look.BottomBorder = m_bottomBorder;
  skin::PaintFrame(canvas, look);
}

void TsuiForm::formSized() {
  if (m_placing) return;
  const bool maximised = m_form->isMaximized();
  const bool minimised = m_form->isMinimized();
  // A window created maximised comes back to the bounds it was created with, once.
  if (m_createdMaximized && !maximised && !minimised) {
    m_createdMaximized = false;
    place(m_createdBounds);
  }
  if (maximised) {
    const QScreen *screen = m_form->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect bounds = screen ? MaximisedBounds(screen->availableGeometry()) : QRect();
    if (!bounds.isEmpty() && m_form->geometry() != bounds) place(bounds);
  } else if (m_wasMaximized && !minimised) {
    place(m_normalBounds);
  }
  if (maximised != m_wasMaximized && !minimised) {
    m_wasMaximized = maximised;
    m_titleBar->UpdateMaxButtonPictures();
  }
  FormResized();
  frameChanged();
}

void TsuiForm::place(const QRect &bounds) {
  // Placing a window ends its maximised state; it stays, only the bounds are ours.
  const Qt::WindowStates state = m_form->windowState();
  m_placing = true;
  m_form->setGeometry(bounds);
  if (m_form->windowState() != state) m_form->overrideWindowState(state);
  m_placing = false;
}

void TsuiForm::childEvent(QChildEvent *event) {
  framework::RenderedControl::childEvent(event);
  // The title bar is the frame's own and lies over the form's contents: a taller bar of another
  // look must cover a picture placed under a thin one, not be cut by it.
  if (m_titleBarMade && event->added() && event->child() != m_titleBar &&
      event->child()->isWidgetType())
    m_titleBar->raise();
}

bool TsuiForm::eventFilter(QObject *watched, QEvent *event) {
  if (m_destroying) return false;
  return watched == m_form && formEvent(event);
}

bool TsuiForm::formEvent(QEvent *event) {
  switch (event->type()) {
  case QEvent::Paint:
    if (m_form->isMinimized()) return false;
    if (const int ratio = framework::DrawingRatio(*m_form); !m_frame.FreshAt(m_form->size(), ratio))
      m_frame.Render(
          m_form->size(), [this](framework::Canvas &canvas) { PaintFrame(canvas); }, ratio);
    m_frame.CopyTo(*m_form, static_cast<QPaintEvent *>(event)->region());
    return true;
  case QEvent::Move:
  case QEvent::Resize:
    if (!m_placing && !m_form->isMaximized() && !m_form->isMinimized() && !m_wasMaximized)
      m_normalBounds = m_form->geometry();
    // The window system may still move a maximised window to the work area's corner.
    if (event->type() == QEvent::Resize || m_form->isMaximized()) formSized();
    break;
  case QEvent::WindowStateChange:
    formSized();
    break;
  case QEvent::WindowActivate:
  case QEvent::WindowDeactivate:
    m_titleBar->SetFormActive(event->type() == QEvent::WindowActivate);
    break;
  case QEvent::MouseButtonPress: {
    // A window that can change its size keeps its sizing edges in the painted frame.
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton || m_form->minimumSize() == m_form->maximumSize() ||
        m_form->isMaximized())
      break;
    const QPoint p = mouse->position().toPoint();
    const FrameInsets in = Insets();
    Qt::Edges edges;
    if (p.x() < in.Left) edges |= Qt::LeftEdge;
    if (p.x() >= m_form->width() - in.Right) edges |= Qt::RightEdge;
    if (p.y() < in.Top) edges |= Qt::TopEdge;
    if (p.y() >= m_form->height() - in.Bottom) edges |= Qt::BottomEdge;
    if (edges && m_form->windowHandle()) m_form->windowHandle()->startSystemResize(edges);
    break;
  }
  default:
    break;
  }
  return false;
}

bool TsuiForm::applicationKey(QObject *watched, QEvent *event) {
  if (m_destroying) return false;
  const auto *key = static_cast<QKeyEvent *>(event);
  // Only the window the key was typed in answers it.
  const auto *target = qobject_cast<QWidget *>(watched);
  if (!target || target->window() != m_form) return false;
  if (key->key() != Qt::Key_Space || key->modifiers() != Qt::AltModifier)
    return m_menu && m_menu->IsShortCut(*key);
  if (!m_titleBarVisible) return false;
  const QPoint at = m_form->geometry().topLeft() + QPoint(0, m_titleBar->height());
  m_titleBar->SystemMenu().UpdateItems();
  m_titleBar->SystemMenu().Popup(at.x(), at.y());
  return true;
}

void TsuiForm::Render(framework::Canvas &canvas) {
  // The textured styles tile their background picture; the others show the panel colour.
  const StyleReader reader(m_fileTheme, m_uiStyle);
  const QImage tile = reader.Bitmap("FORM_BACKGROUND");
  if (!tile.isNull()) {
    canvas.TileDraw({0, 0, width(), height()}, tile);
  } else {
    canvas.SetBrushColor(m_color);
    canvas.FillRect({0, 0, width(), height()});
  }
}

void TsuiForm::resizeEvent(QResizeEvent *event) {
  framework::RenderedControl::resizeEvent(event);
  layoutChildren();
}

} // namespace skin
