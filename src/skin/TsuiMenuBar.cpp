#include "skin/TsuiMenuBar.h"

#include "skin/TsuiMainMenu.h"
#include "skin/style/StyleReads.h"

#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>

namespace skin {

using style::StyleEntry;

namespace {

// Space beside a caption inside its button.
constexpr int CaptionMargin = 7;
constexpr framework::TColor DisabledFontColor = 8421504;

void AddItems(QMenu &menu, const TMenuItem &parent) {
  for (int i = 0; i < parent.Count(); ++i) {
    TMenuItem *item = parent.Items(i);
    if (!item || !item->Visible()) continue;
    if (item->IsLine()) {
      menu.addSeparator();
      continue;
    }
    if (item->Count() > 0) {
      QMenu *sub = menu.addMenu(item->Caption());
      sub->setEnabled(item->Enabled());
      AddItems(*sub, *item);
      continue;
    }
    QAction *action = menu.addAction(item->Caption());
    action->setEnabled(item->Enabled());
    action->setCheckable(item->Checked());
    action->setChecked(item->Checked());
    action->setShortcut(QKeySequence(item->ShortCut(), QKeySequence::PortableText));
    QPointer<TMenuItem> target(item); // may go while the menu is open
    QObject::connect(action, &QAction::triggered, &menu, [target] {
      if (target) target->Click();
    });
  }
}

} // namespace

TsuiMenuBar::TsuiMenuBar(QWidget *parent) : framework::RenderedControl(parent) {
  SetOpaque(true);
  setMouseTracking(true);
}

void TsuiMenuBar::SetMenu(TsuiMainMenu *value) {
  if (m_menu) disconnect(m_menu, nullptr, this, nullptr);
  m_menu = value;
  if (m_menu) {
    connect(m_menu, &TsuiMainMenu::changed, this, &TsuiMenuBar::relayout);
    connect(m_menu, &QObject::destroyed, this, [this] {
      m_menu = nullptr;
      relayout();
    });
  }
  relayout();
}

void TsuiMenuBar::SetColor(framework::TColor value) {
  m_color = value;
  Invalidate();
}

void TsuiMenuBar::SetButtonHeight(int value) {
  m_buttonHeight = std::max(0, value);
  relayout();
}

void TsuiMenuBar::relayout() {
  m_buttons.clear();
  int rows = 1;
  if (m_menu) {
    const QFontMetrics metrics(m_menu->BarFont());
    int x = 0, y = 0;
    const TMenuItem &items = m_menu->Items();
    for (int i = 0; i < items.Count(); ++i) {
      const TMenuItem *item = items.Items(i);
      if (!item || !item->Visible()) {
        m_buttons.emplace_back();
        continue;
      }
      QString caption = item->Caption();
      caption.remove(QLatin1Char('&'));
      const int w = metrics.horizontalAdvance(caption) + 2 * CaptionMargin;
      // Wraps onto a new row rather than running past the bar.
      if (x > 0 && x + w > width()) {
        x = 0;
        y += m_buttonHeight;
        ++rows;
      }
      m_buttons.emplace_back(x, y, w, m_buttonHeight);
      x += w;
    }
  }
  const int h = rows * m_buttonHeight;
  if (h != height()) {
    resize(width(), h);
    emit heightChanged();
  }
  Invalidate();
}

void TsuiMenuBar::resizeEvent(QResizeEvent *event) {
  framework::RenderedControl::resizeEvent(event);
  if (event->oldSize().width() != width()) relayout();
}

void TsuiMenuBar::Render(framework::Canvas &canvas) {
  const style::StyleReader reader(m_menu ? m_menu->FileTheme() : nullptr,
                                  m_menu ? m_menu->UIStyle() : TsuiUIStyle::DeepBlue);
  const QImage background = reader.Bitmap("MENU_BAR");
  if (!canvas.StretchDraw({0, 0, width(), height()}, background)) {
    canvas.SetBrushColor(m_color);
    canvas.FillRect({0, 0, width(), height()});
  }
  if (!m_menu) return;
  canvas.SetFont(m_menu->BarFont());
  const QImage selected = reader.Bitmap("MENU_SELECT");
  const TMenuItem &items = m_menu->Items();
  for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
    const QRect &r = m_buttons[static_cast<std::size_t>(i)];
    const TMenuItem *item = items.Items(i);
    if (r.isNull() || !item) continue;
    const framework::TRect box{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    const bool hot = i == m_hot || i == m_open;
    framework::TColor font =
        item->Enabled() ? reader.Color(StyleEntry::MenuFontColor) : DisabledFontColor;
    if (hot) {
      font = reader.Color(StyleEntry::MenuSelectedFontColor);
      if (!canvas.StretchDraw(box, selected)) {
        canvas.SetBrushColor(reader.Color(StyleEntry::MenuSelectedBackgroundColor));
        canvas.FillRect(box);
        canvas.SetPenColor(reader.Color(StyleEntry::MenuSelectedBorderColor));
        canvas.FrameRect(box);
      }
    }
    canvas.SetFontColor(font);
    canvas.TextRect(box, item->Caption(),
                    {framework::TextAlign::Center, framework::TextLayout::Center, false,
                     framework::Mnemonic::Underline});
  }
}

int TsuiMenuBar::hitTest(QPoint at) const {
  for (std::size_t i = 0; i < m_buttons.size(); ++i)
    if (m_buttons[i].contains(at)) return static_cast<int>(i);
  return -1;
}

void TsuiMenuBar::setHot(int index) {
  if (index == m_hot) return;
  m_hot = index;
  Invalidate();
}

void TsuiMenuBar::mouseMoveEvent(QMouseEvent *event) {
  setHot(hitTest(event->position().toPoint()));
}

void TsuiMenuBar::leaveEvent(QEvent *) {
  setHot(-1);
}

void TsuiMenuBar::mousePressEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton) OpenItem(hitTest(event->position().toPoint()));
}

void TsuiMenuBar::OpenItem(int index) {
  if (!m_menu || index < 0 || index >= static_cast<int>(m_buttons.size())) return;
  TMenuItem *item = m_menu->Items().Items(index);
  const QRect r = m_buttons[static_cast<std::size_t>(index)];
  if (!item || r.isNull() || !item->Enabled()) return;
  if (item->Count() == 0) {
    item->Click();
    return;
  }
  QMenu menu;
  menu.setFont(m_menu->BarFont());
  AddItems(menu, *item);
  QPointer<TsuiMenuBar> self(this);
  m_open = index;
  Invalidate();
  menu.exec(mapToGlobal(r.bottomLeft() + QPoint(0, 1)));
  if (!self) return;
  m_open = -1;
  Invalidate();
}

} // namespace skin
