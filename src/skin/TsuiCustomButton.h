#pragma once

#include "framework/Anchors.h"
#include "framework/Colors.h"
#include "framework/Fonts.h"
#include "framework/Inherited.h"
#include "framework/Rendered.h"
#include "framework/Timer.h"
#include "skin/SkinTypes.h"
#include "skin/Skinned.h"
#include "skin/ThemeLink.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPointer>

#include <memory>

namespace skin {

// A push button drawn from a three-state picture strip (normal, mouse over, pressed): the states,
// the mouse and keyboard handling, the painting order and the caption. Derived classes replace
// the drawing steps; TsuiButton draws the style's skin.
class TsuiCustomButton : public framework::RenderedControl,
                         public Skinned,
                         public framework::HintProperties<TsuiCustomButton> {
  Q_OBJECT
public:
  explicit TsuiCustomButton(QWidget *parent);
  ~TsuiCustomButton() override;

  const QString &Caption() const { return m_caption; }
  void SetCaption(const QString &value);
  // The font shown: the parent's until one is set.
  const framework::FontDesc &Font() const { return m_font; }
  void SetFont(const framework::FontDesc &value);
  bool ParentFont() const { return framework::FollowsParentFont(*this); }
  // True takes the parent's font again.
  void SetParentFont(bool value);
  // The fill behind an opaque button: the parent's colour until one is set.
  framework::TColor Color() const;
  void SetColor(framework::TColor value);
  bool ParentColor() const { return framework::FollowsParentColor(*this); }
  void SetParentColor(bool value);
  bool AutoSize() const { return m_autoSize; }
  void SetAutoSize(bool value);
  bool Visible() const { return framework::ShownByItself(*this); }
  void SetVisible(bool value) { setVisible(value); }
  bool Enabled() const { return isEnabled(); }
  void SetEnabled(bool value) { setEnabled(value); }
  bool TabStop() const { return m_tabStop; }
  void SetTabStop(bool value);
  int TabOrder() const { return m_tabOrder; }
  void SetTabOrder(int value) { m_tabOrder = value; }
  const QString &Hint() const { return m_hint; }
  void SetHint(const QString &value);
  Qt::LayoutDirection BiDiMode() const { return layoutDirection(); }
  void SetBiDiMode(Qt::LayoutDirection value) { setLayoutDirection(value); }
  bool ParentBiDiMode() const { return framework::FollowsParentBiDiMode(*this); }
  void SetParentBiDiMode(bool value) { framework::SetFollowsParentBiDiMode(*this, value); }
  // Shown on a right click; not owned.
  QMenu *PopupMenu() const { return m_popupMenu; }
  void SetPopupMenu(QMenu *value) { m_popupMenu = value; }
  framework::TAnchors Anchors() const { return m_anchoring->Anchors(); }
  void SetAnchors(framework::TAnchors value) { m_anchoring->SetAnchors(value); }
  // Kept for stored window descriptions: always 0, writes are ignored.
  int ResHandle() const { return 0; }
  void SetResHandle(int) {}

  const TNotifyEvent &OnEnter() const { return m_onEnter; }
  void SetOnEnter(TNotifyEvent h) { m_onEnter = std::move(h); }
  const TNotifyEvent &OnExit() const { return m_onExit; }
  void SetOnExit(TNotifyEvent h) { m_onExit = std::move(h); }

  // Ends the auto-repeat and the pressed look, hands ModalResult to the window (a dialog closes
  // with a result other than 0) and raises OnClick, or runs the action without one.
  virtual void Click();

  bool Pressed() const { return m_pressed; }
  bool MouseOver() const { return m_mouseOver; }
  // Whether Enter clicks this button now.
  bool ActiveDefault() const { return m_activeDefault; }
  // Exists only while the left mouse button holds the button down.
  framework::Timer *RepeatTimer() const { return m_repeat.get(); }

protected:
  // The state picture for the current state; a blank one when the style has none.
  QImage StateImage();

  // The steps a derived button replaces, in this order.
  virtual void AutoSizeChanged();
  virtual void CaptionChanged();
  virtual void FontChanged();
  virtual void TransparentChanged();
  virtual void EnabledChanged();
  virtual void UIStyleChanged();
  virtual void DrawSkin(framework::Canvas &canvas, const QImage &state);
  virtual void DrawCaption(framework::Canvas &canvas, const QString &caption);
  virtual void DrawFocus(framework::Canvas &canvas);
  virtual void GetNormalImage(QImage &bitmap);
  virtual void GetMouseOnImage(QImage &bitmap);
  virtual void GetPressedImage(QImage &bitmap);
  virtual void GetDisabledImage(QImage &bitmap);

  // Published by the derived buttons that have them.
  TsuiUIStyle UIStyle() const { return m_uiStyle; }
  void SetUIStyle(TsuiUIStyle value) override;
  // Not owned; its entries are read while UIStyle is FromThemeFile.
  TsuiFileTheme *FileTheme() const { return m_theme.Theme(); }
  void SetFileTheme(TsuiFileTheme *value) override;
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool value);
  bool Default() const { return m_default; }
  void SetDefault(bool value);
  bool Cancel() const { return m_cancel; }
  void SetCancel(bool value) { m_cancel = value; }
  int ModalResult() const { return m_modalResult; }
  void SetModalResult(int value) { m_modalResult = value; }
  int MouseContinuouslyDownInterval() const { return m_repeatInterval; }
  void SetMouseContinuouslyDownInterval(int value) { m_repeatInterval = value; }
  const TNotifyEvent &OnMouseContinuouslyDown() const { return m_onRepeat; }
  void SetOnMouseContinuouslyDown(TNotifyEvent h) { m_onRepeat = std::move(h); }
  // Set by DrawFocus for the next caption only.
  bool BoldCaptionRequest() const { return m_boldRequest; }
  void RequestBoldCaption() { m_boldRequest = true; }
  // Draws a caption in `r`, moved by (1, 1) while pressed; disabled, white at (+1, +1) under
  // grey.
  void DrawCaptionText(framework::Canvas &canvas, const framework::TRect &r, const QString &caption,
                       const framework::TextFormat &format);
  // The caption's accelerator character, lower case; none without "&".
  QChar Accelerator() const;
  // Supplies the caption, the enabled state and (see ActionImage) a glyph; runs on a click
  // without OnClick. Not owned.
  QAction *Action() const { return m_action; }
  void SetAction(QAction *value);
  // The action's picture, for a derived button that shows glyphs; null without one.
  QImage ActionImage() const;
  // Every notification names the button as Sender.
  const TNotifyEvent &OnClick() const { return m_onClick; }
  void SetOnClick(TNotifyEvent h) { m_onClick = std::move(h); }
  const TNotifyEvent &OnMouseMove() const { return m_onMouseMove; }
  void SetOnMouseMove(TNotifyEvent h) { m_onMouseMove = std::move(h); }
  const TNotifyEvent &OnMouseDown() const { return m_onMouseDown; }
  void SetOnMouseDown(TNotifyEvent h) { m_onMouseDown = std::move(h); }
  const TNotifyEvent &OnMouseUp() const { return m_onMouseUp; }
  void SetOnMouseUp(TNotifyEvent h) { m_onMouseUp = std::move(h); }
  const TNotifyEvent &OnKeyDown() const { return m_onKeyDown; }
  void SetOnKeyDown(TNotifyEvent h) { m_onKeyDown = std::move(h); }
  const TNotifyEvent &OnKeyUp() const { return m_onKeyUp; }
  void SetOnKeyUp(TNotifyEvent h) { m_onKeyUp = std::move(h); }
  const TNotifyEvent &OnKeyPress() const { return m_onKeyPress; }
  void SetOnKeyPress(TNotifyEvent h) { m_onKeyPress = std::move(h); }
  const TNotifyEvent &OnMouseEnter() const { return m_onMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent h) { m_onMouseEnter = std::move(h); }
  const TNotifyEvent &OnMouseExit() const { return m_onMouseExit; }
  void SetOnMouseExit(TNotifyEvent h) { m_onMouseExit = std::move(h); }

  void Render(framework::Canvas &canvas) override;
  bool event(QEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void enterEvent(QEnterEvent *event) override;
  void leaveEvent(QEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void keyReleaseEvent(QKeyEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;
  void changeEvent(QEvent *event) override;
  void contextMenuEvent(QContextMenuEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  bool CanFocus() const;
  void watchWindow();
  // Takes the parent's font while following it.
  void parentFontChanged();
  void focusMoved(QWidget *now);
  void stopRepeat();
  void repeatTick(framework::Timer *sender);
  void actionChanged();
  // Enter for the active default, Escape for Cancel, and the accelerator, wherever the focus is.
  bool DialogKey(const QKeyEvent &key);

  TsuiUIStyle m_uiStyle = TsuiUIStyle::DeepBlue;
  ThemeLink m_theme{*this, [this] { UIStyleChanged(); },
                    [this] { SetUIStyle(TsuiUIStyle::DeepBlue); }};
  QString m_caption;
  framework::FontDesc m_font;
  framework::OwnColor m_color{framework::clBtnFace};
  bool m_autoSize = false;
  bool m_tabStop = true;
  int m_tabOrder = -1;
  QString m_hint;
  QPointer<QMenu> m_popupMenu;
  framework::Anchoring *m_anchoring = new framework::Anchoring(*this);
  bool m_transparent = false;
  bool m_default = false;
  bool m_cancel = false;
  int m_modalResult = 0;
  int m_repeatInterval = 100;

  bool m_pressed = false;
  bool m_mouseOver = false;
  bool m_activeDefault = false;
  bool m_boldRequest = false;
  // A press that began on the button; its release over the button clicks.
  bool m_clickPending = false;
  std::unique_ptr<framework::Timer> m_repeat;
  QPointer<QWidget> m_watchedWindow;

  TNotifyEvent m_onEnter;
  TNotifyEvent m_onExit;
  TNotifyEvent m_onRepeat;
  TNotifyEvent m_onClick;
  TNotifyEvent m_onMouseMove;
  TNotifyEvent m_onMouseDown;
  TNotifyEvent m_onMouseUp;
  TNotifyEvent m_onKeyDown;
  TNotifyEvent m_onKeyUp;
  TNotifyEvent m_onKeyPress;
  TNotifyEvent m_onMouseEnter;
  TNotifyEvent m_onMouseExit;
  QPointer<QAction> m_action;
  QMetaObject::Connection m_actionChanged;
};

} // namespace skin
