#pragma once

#include "framework/Colors.h"
#include "framework/Fonts.h"
#include "framework/Rendered.h"
#include "skin/SkinTypes.h"
#include "skin/ThemeLink.h"
#include "skin/TsuiTitleBarItems.h"

#include <QImage>
#include <QPoint>
#include <QString>

#include <optional>
#include <vector>

namespace skin {

class TsuiForm;
class TsuiTitleBarPopupMenu;

// The drawn caption row of a skinned window: section pictures, picture buttons and the caption.
// Pressing outside every button drags the window; releasing on a button acts.
class TsuiTitleBar : public framework::RenderedControl {
  Q_OBJECT
public:
  using TsuiTitleBarButtonClickEvent = framework::Delegate<void(QObject *, int)>;

  // How far the pictures reach above the bar on a skinned frame, into the window frame.
  static constexpr int FormTopOverlap = 3;
  // The frame's left width when the frame has no picture of its own.
  static constexpr int DefaultLeftBorder = 3;

  explicit TsuiTitleBar(QWidget *parent, TsuiUIStyle style = TsuiUIStyle::DeepBlue);
  ~TsuiTitleBar() override;

  // With Custom a style change only stores the style.
  bool Custom() const { return m_custom; }
  void SetCustom(bool value) { m_custom = value; }
  TsuiUIStyle UIStyle() const { return m_uiStyle; }
  // Applies the style: sections, button offsets and top, the form's minimum width and corners,
  // the buttons' pictures, the system menu, the caption colour and the height.
  void SetUIStyle(TsuiUIStyle value);
  TsuiFileTheme *FileTheme() const { return m_fileTheme.Theme(); }
  // Re-applies the style, keeping the caption colour, and again whenever the theme loads a
  // file or goes away (FromThemeFile then draws as DeepBlue).
  void SetFileTheme(TsuiFileTheme *value);

  TsuiTitleBarButtons &Buttons() { return m_buttons; }
  const TsuiTitleBarButtons &Buttons() const { return m_buttons; }
  TsuiTitleBarSections &Sections() { return m_sections; }
  const TsuiTitleBarSections &Sections() const { return m_sections; }
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
  bool DrawAppIcon() const { return m_drawAppIcon; }
  void SetDrawAppIcon(bool value);
  bool RightToLeft() const { return m_rightToLeft; }
  void SetRightToLeft(bool value);
  int RoundCorner() const { return m_roundCorner; }
  void SetRoundCorner(int value);
  int RoundCornerBottom() const { return m_roundCornerBottom; }
  void SetRoundCornerBottom(int value);
  // The y of every button and the height the caption is centred on.
  int ButtonTop() const { return m_buttonTop; }
  int ButtonPictureHeight() const { return m_buttonPictureHeight; }

  const TsuiTitleBarButtonClickEvent &OnCustomBtnsClick() const { return m_onCustomBtnsClick; }
  void SetOnCustomBtnsClick(TsuiTitleBarButtonClickEvent handler) {
    m_onCustomBtnsClick = std::move(handler);
  }
  const TsuiTitleBarButtonClickEvent &OnHelpBtnClick() const { return m_onHelpBtnClick; }
  void SetOnHelpBtnClick(TsuiTitleBarButtonClickEvent handler) {
    m_onHelpBtnClick = std::move(handler);
  }

  TsuiTitleBarPopupMenu &SystemMenu() { return *m_systemMenu; }
  // Pops the system menu up at the bar's bottom-left corner.
  void PopupSystemMenu();

  // The button rectangle in bar coordinates as drawn now; empty when the button is not drawn.
  QRect ButtonRect(int index) const;
  // The caption as drawn now, shortened to its space.
  QString ShownCaption() const;
  // Runs a button's action and event as a release on it would; nothing for a hidden button.
  void ClickButton(int index);
  // The button's own action (maximise/restore, minimise, close, control-box menu).
  void PerformAction(int index);
  // The button under the mouse at the last paint, or -1.
  int HotButton() const { return m_hot; }
  bool Pressed() const { return m_pressed; }

  // The maximise buttons show restore pictures while the window is maximised.
  void UpdateMaxButtonPictures();
  // Where the section pictures start, relative to the bar: into the frame on a skinned form.
  QPoint SectionOrigin() const;
  // Draws the sections with their origin at (x0, y0) across a bar `width` wide.
  void DrawSections(framework::Canvas &canvas, int x0, int y0, int width) const;

  // Called by the collections.
  void Changed();

signals:
  // Any button or section changed; the window frame continues the section pictures.
  void changed();
  // The corners of the window changed.
  void cornersChanged();
  // A press outside every button asks the window system to move the window.
  void dragStarted();

protected:
  void Render(framework::Canvas &canvas) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void leaveEvent(QEvent *event) override;

private:
  struct Layout {
    std::vector<QRect> buttons; // per index; empty when not drawn
    int controlBox = -1;        // index of the drawn control box
    QRect controlBoxRect;       // its picture, or the application icon
    bool appIcon = false;
    int captionLeft = 0;
    int captionRight = 0; // the leftmost button's x
  };
  TsuiForm *form() const;
  int leftBorderWidth() const;
  Layout layout() const;
  int hitTest(const std::optional<QPoint> &pos) const;
  const QImage &pictureFor(int index, bool hot) const;
  void track(const std::optional<QPoint> &pos);
  void buttonAction(int index);

  TsuiTitleBarButtons m_buttons;
  TsuiTitleBarSections m_sections;
  TsuiTitleBarPopupMenu *m_systemMenu; // owned through Qt parenting
  bool m_custom = false;
  TsuiUIStyle m_uiStyle = TsuiUIStyle::DeepBlue;
  ThemeLink m_fileTheme;
  bool m_keepCaptionColor = false;
  QString m_caption;
  framework::FontDesc m_font{QStringLiteral("Tahoma"), -13, true, false, false, framework::clWhite};
  bool m_formActive = true;
  int m_leftBtnXOffset = 0;
  int m_rightBtnXOffset = 0;
  int m_buttonInterval = 0;
  bool m_drawAppIcon = false;
  bool m_rightToLeft = false;
  int m_roundCorner = 0;
  int m_roundCornerBottom = 0;
  int m_buttonTop = 2;
  int m_buttonPictureHeight = 0;
  std::optional<QPoint> m_mouse; // last position over the bar
  int m_hot = -1;
  bool m_pressed = false;
  // The release ending a double click that already acted does not act again.
  bool m_doubleClickActed = false;
  // Where the bar was grabbed, while the window is moved by hand.
  std::optional<QPoint> m_dragOffset;
  TsuiTitleBarButtonClickEvent m_onCustomBtnsClick;
  TsuiTitleBarButtonClickEvent m_onHelpBtnClick;
};

} // namespace skin
