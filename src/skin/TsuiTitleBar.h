#pragma once

#include "framework/Colors.h"
#include "framework/Fonts.h"
#include "framework/Rendered.h"
#include "skin/SkinTypes.h"

#include <QImage>
#include <QString>

#include <memory>
#include <vector>

namespace skin {

class TsuiTitleBar;

enum class TsuiTitleBarBtnType { suiMax, suiMin, suiClose, suiHelp, suiControlBox, suiCustom };
enum class TsuiTitleBarAlign { suiLeft, suiRight, suiClient };

// One picture button of the title bar. Every change repaints the bar.
class TsuiTitleBarButton {
public:
  explicit TsuiTitleBarButton(TsuiTitleBar &bar) : m_bar(bar) {}

  TsuiTitleBarBtnType ButtonType() const { return m_type; }
  void SetButtonType(TsuiTitleBarBtnType value);
  TsuiUIStyle UIStyle() const { return m_style; }
  void SetUIStyle(TsuiUIStyle value);
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool value);
  int Top() const { return m_top; }
  void SetTop(int value);
  bool Visible() const { return m_visible; }
  void SetVisible(bool value);
  // Each assignment copies the picture.
  const QImage &PicNormal() const { return m_picNormal; }
  void SetPicNormal(const QImage &value);
  const QImage &PicMouseOn() const { return m_picMouseOn; }
  void SetPicMouseOn(const QImage &value);
  const QImage &PicMouseDown() const { return m_picMouseDown; }
  void SetPicMouseDown(const QImage &value);

private:
  void changed();

  TsuiTitleBar &m_bar;
  TsuiTitleBarBtnType m_type = TsuiTitleBarBtnType::suiCustom;
  TsuiUIStyle m_style = TsuiUIStyle::DeepBlue;
  bool m_transparent = false;
  int m_top = 2;
  bool m_visible = true;
  QImage m_picNormal;
  QImage m_picMouseOn;
  QImage m_picMouseDown;
};

class TsuiTitleBarButtons {
public:
  explicit TsuiTitleBarButtons(TsuiTitleBar &bar) : m_bar(bar) {}

  TsuiTitleBarButton &Add();
  void Clear();
  int Count() const { return static_cast<int>(m_items.size()); }
  // Null for an index outside the collection.
  TsuiTitleBarButton *Items(int index) const;

private:
  TsuiTitleBar &m_bar;
  std::vector<std::unique_ptr<TsuiTitleBarButton>> m_items;
};

// One of the pictures the bar is composed of.
class TsuiTitleBarSection {
public:
  explicit TsuiTitleBarSection(TsuiTitleBar &bar) : m_bar(bar) {}

  bool AutoSize() const { return m_autoSize; }
  void SetAutoSize(bool value);
  int Width() const { return m_width; }
  void SetWidth(int value);
  TsuiTitleBarAlign Align() const { return m_align; }
  void SetAlign(TsuiTitleBarAlign value);
  const QImage &Picture() const { return m_picture; }
  void SetPicture(const QImage &value);
  bool Stretch() const { return m_stretch; }
  void SetStretch(bool value);

private:
  void changed();

  TsuiTitleBar &m_bar;
  bool m_autoSize = false;
  int m_width = 10;
  TsuiTitleBarAlign m_align = TsuiTitleBarAlign::suiLeft;
  QImage m_picture;
  bool m_stretch = false;
};

class TsuiTitleBarSections {
public:
  explicit TsuiTitleBarSections(TsuiTitleBar &bar) : m_bar(bar) {}

  TsuiTitleBarSection &Add();
  void Clear();
  int Count() const { return static_cast<int>(m_items.size()); }
  TsuiTitleBarSection *Items(int index) const;

private:
  TsuiTitleBar &m_bar;
  std::vector<std::unique_ptr<TsuiTitleBarSection>> m_items;
};

// The drawn caption row of a skinned window: section pictures, picture buttons and the caption.
// Pressing outside every button drags the window.
class TsuiTitleBar : public framework::RenderedControl {
  Q_OBJECT
public:
  using TsuiTitleBarButtonClickEvent = framework::Delegate<void(QObject *, int)>;

  // How far the bar's pictures reach into the window frame above and left of it, unless the
  // frame says otherwise.
  static constexpr int FrameOverlap = 3;

  explicit TsuiTitleBar(QWidget *parent);

  TsuiTitleBarButtons &Buttons() { return m_buttons; }
  TsuiTitleBarSections &Sections() { return m_sections; }
  const QString &Caption() const { return m_caption; }
  void SetCaption(const QString &value);
  const framework::FontDesc &Font() const { return m_font; }
  void SetFont(const framework::FontDesc &value);
  bool FormActive() const { return m_formActive; }
  void SetFormActive(bool value);
  int LeftBtnXOffset() const { return m_leftBtnXOffset; }
  void SetLeftBtnXOffset(int value);
  int RightBtnXOffset() const { return m_rightBtnXOffset; }
  void SetRightBtnXOffset(int value);
  int ButtonInterval() const { return m_buttonInterval; }
  void SetButtonInterval(int value);
  // The frame beside and above the bar, which its pictures continue into.
  int FrameLeft() const { return m_frameLeft; }
  int FrameTop() const { return m_frameTop; }
  void SetFrame(int left, int top);
  const TsuiTitleBarButtonClickEvent &OnCustomBtnsClick() const { return m_onCustomBtnsClick; }
  void SetOnCustomBtnsClick(TsuiTitleBarButtonClickEvent handler) {
    m_onCustomBtnsClick = std::move(handler);
  }

  // The button rectangle in bar coordinates as the last layout placed it; empty when hidden.
  QRect ButtonRect(int index) const;
  // Runs a button's action as a click released on it would: the same path as the mouse.
  void ClickButton(int index);
  // The button under the mouse, or -1; while pressed it shows its pressed picture.
  int HotButton() const { return m_hot; }
  bool Pressed() const { return m_pressed; }

  // Called by the collections.
  void Changed();

signals:
  // Any button or section changed; the window frame continues the section pictures.
  void changed();

protected:
  void Render(framework::Canvas &canvas) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void leaveEvent(QEvent *event) override;

private:
  struct Layout {
    std::vector<QRect> buttons; // per index, empty when not drawn
    int captionLeft = 0;
    int captionRight = 0;
  };
  Layout layout() const;
  int hitTest(const QPoint &pos) const;
  void setHot(int hot, bool pressed);
  void performAction(int index);

  TsuiTitleBarButtons m_buttons;
  TsuiTitleBarSections m_sections;
  QString m_caption;
  framework::FontDesc m_font{QStringLiteral("Tahoma"), -13, true, false, false, framework::clWhite};
  bool m_formActive = true;
  int m_leftBtnXOffset = 0;
  int m_rightBtnXOffset = -FrameOverlap;
  int m_buttonInterval = 0;
  int m_frameLeft = FrameOverlap;
  int m_frameTop = FrameOverlap;
  int m_hot = -1;
  bool m_pressed = false;
  TsuiTitleBarButtonClickEvent m_onCustomBtnsClick;
};

} // namespace skin
