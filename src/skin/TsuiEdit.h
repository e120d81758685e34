#pragma once

#include "framework/Anchors.h"
#include "framework/Colors.h"
#include "framework/Constraints.h"
#include "framework/Fonts.h"
#include "framework/Inherited.h"
#include "framework/Rendered.h"
#include "framework/WindowlessControl.h"
#include "skin/SkinTypes.h"
#include "skin/Skinned.h"
#include "skin/ThemeLink.h"

#include <QLineEdit>
#include <QMenu>
#include <QPointer>

namespace skin {

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// Key handlers may change the key; 0 (a null character) swallows it.
using TKeyEvent = framework::Delegate<void(QObject *, int &, Qt::KeyboardModifiers)>;
using TKeyPressEvent = framework::Delegate<void(QObject *, QChar &)>;

// A one-line edit box with a flat two-pixel frame: an outer line in BorderColor and an inner line
// in the box's Color, so the text area is 4 pixels narrower and lower than the control. The edit
// box paints its text; the frame is rendered and laid over it.
class TsuiEdit : public framework::Rendered<QLineEdit>,
                 public Skinned,
                 public framework::HintProperties<TsuiEdit> {
public:
  // The frame's width on every side.
  static constexpr int FrameWidth = 2;

  explicit TsuiEdit(QWidget *parent);
  ~TsuiEdit() override;

  TsuiUIStyle UIStyle() const { return m_uiStyle; }
  // Takes the style's control border colour; a BorderColor stored afterwards wins.
  void SetUIStyle(TsuiUIStyle value) override;
  // Not owned; the style's entries come from it while UIStyle is FromThemeFile.
  TsuiFileTheme *FileTheme() const { return m_theme.Theme(); }
  void SetFileTheme(TsuiFileTheme *value) override;
  framework::TColor BorderColor() const { return m_borderColor; }
  void SetBorderColor(framework::TColor value);
  // The background and the frame's inner line; the parent's colour while ParentColor is set.
  framework::TColor Color() const;
  void SetColor(framework::TColor value);
  // Off at creation: the box is in clWindow.
  bool ParentColor() const { return framework::FollowsParentColor(*this); }
  void SetParentColor(bool value);
  // The parent's font until one is set.
  const framework::FontDesc &Font() const { return m_font; }
  void SetFont(const framework::FontDesc &value);
  bool ParentFont() const { return framework::FollowsParentFont(*this); }
  // True takes the parent's font again.
  void SetParentFont(bool value);
  // While set, the height follows the font: its line height and AutoSizeExtra, on every change
  // of font and when switched on. A height set afterwards stays until the next change.
  bool AutoSize() const { return m_autoSize; }
  void SetAutoSize(bool value);
  // The frame above and below, and 2 pixels of room between it and the text on each side.
  static constexpr int AutoSizeExtra = 2 * FrameWidth + 4;

  // Where the text goes: the control less its frame.
  QRect TextArea() const;

  bool AutoSelect() const { return m_autoSelect; }
  void SetAutoSelect(bool value) { m_autoSelect = value; }
  TEditCharCase CharCase() const { return m_charCase; }
  void SetCharCase(TEditCharCase value);
  int MaxLength() const { return m_maxLength; }
  // 0: no limit.
  void SetMaxLength(int value);
  // A null character shows the text; any other hides it.
  QChar PasswordChar() const { return m_passwordChar; }
  void SetPasswordChar(QChar value);
  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool value) { setReadOnly(value); }
  QString Text() const { return text(); }
  void SetText(const QString &value);
  bool Enabled() const { return isEnabled(); }
  void SetEnabled(bool value) { setEnabled(value); }
  bool Visible() const { return framework::ShownByItself(*this); }
  void SetVisible(bool value) { setVisible(value); }
  bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
  void SetTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus); }
  int TabOrder() const { return m_tabOrder; }
  void SetTabOrder(int value) { m_tabOrder = value; }
  const QString &Hint() const { return m_hint; }
  void SetHint(const QString &value);
  Qt::LayoutDirection BiDiMode() const { return layoutDirection(); }
  void SetBiDiMode(Qt::LayoutDirection value) { setLayoutDirection(value); }
  bool ParentBiDiMode() const { return framework::FollowsParentBiDiMode(*this); }
  void SetParentBiDiMode(bool value) { framework::SetFollowsParentBiDiMode(*this, value); }
  // Replaces the edit box's own context menu; not owned.
  QMenu *PopupMenu() const { return m_popupMenu; }
  void SetPopupMenu(QMenu *value);
  framework::TAnchors Anchors() const { return m_anchoring->Anchors(); }
  void SetAnchors(framework::TAnchors value) { m_anchoring->SetAnchors(value); }
  // Every later resize is held within them too.
  const framework::TSizeConstraints &Constraints() const { return m_constraints; }
  void SetConstraints(const framework::TSizeConstraints &value);
  // Whether the selection disappears while the box has no focus.
  bool HideSelection() const { return m_hideSelection; }
  void SetHideSelection(bool value);

  const TNotifyEvent &OnChange() const { return m_onChange; }
  void SetOnChange(TNotifyEvent h) { m_onChange = std::move(h); }
  const TNotifyEvent &OnClick() const { return m_onClick; }
  void SetOnClick(TNotifyEvent h) { m_onClick = std::move(h); }
  const TNotifyEvent &OnDblClick() const { return m_onDblClick; }
  void SetOnDblClick(TNotifyEvent h) { m_onDblClick = std::move(h); }
  const TNotifyEvent &OnEnter() const { return m_onEnter; }
  void SetOnEnter(TNotifyEvent h) { m_onEnter = std::move(h); }
  const TNotifyEvent &OnExit() const { return m_onExit; }
  void SetOnExit(TNotifyEvent h) { m_onExit = std::move(h); }
  const TKeyEvent &OnKeyDown() const { return m_onKeyDown; }
  void SetOnKeyDown(TKeyEvent h) { m_onKeyDown = std::move(h); }
  const TKeyEvent &OnKeyUp() const { return m_onKeyUp; }
  void SetOnKeyUp(TKeyEvent h) { m_onKeyUp = std::move(h); }
  const TKeyPressEvent &OnKeyPress() const { return m_onKeyPress; }
  void SetOnKeyPress(TKeyPressEvent h) { m_onKeyPress = std::move(h); }
  const framework::MouseButtonEvent &OnMouseDown() const { return m_onMouseDown; }
  void SetOnMouseDown(framework::MouseButtonEvent h) { m_onMouseDown = std::move(h); }
  const framework::MouseButtonEvent &OnMouseUp() const { return m_onMouseUp; }
  void SetOnMouseUp(framework::MouseButtonEvent h) { m_onMouseUp = std::move(h); }
  const framework::MouseMoveEvent &OnMouseMove() const { return m_onMouseMove; }
  void SetOnMouseMove(framework::MouseMoveEvent h) { m_onMouseMove = std::move(h); }

protected:
  // Called after every style change; derived boxes take what else they need from the style.
  virtual void StyleApplied() {}

  void Render(framework::Canvas &canvas) override;
  bool event(QEvent *event) override;
  void changeEvent(QEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void keyReleaseEvent(QKeyEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;

private:
  void styleChanged();
  // Shows the font and colour in effect, the parent's where followed.
  void applyFont();
  void applyColor();
  void adjustHeight();
  QString cased(const QString &text) const;

  TsuiUIStyle m_uiStyle = TsuiUIStyle::DeepBlue;
  ThemeLink m_theme{*this, [this] { styleChanged(); },
                    [this] { SetUIStyle(TsuiUIStyle::DeepBlue); }};
  framework::TColor m_borderColor = framework::clBlack;
  framework::OwnColor m_color{framework::clWindow};
  framework::FontDesc m_font;
  bool m_autoSelect = true;
  TEditCharCase m_charCase = TEditCharCase::ecNormal;
  int m_maxLength = 0;
  QChar m_passwordChar;
  framework::Anchoring *m_anchoring = new framework::Anchoring(*this);
  framework::TSizeConstraints m_constraints;
  bool m_hideSelection = true;
  int m_tabOrder = -1;
  bool m_autoSize = true;
  QString m_hint;
  QPointer<QMenu> m_popupMenu;
  bool m_clickPending = false;

  TNotifyEvent m_onChange;
  TNotifyEvent m_onClick;
  TNotifyEvent m_onDblClick;
  TNotifyEvent m_onEnter;
  TNotifyEvent m_onExit;
  TKeyEvent m_onKeyDown;
  TKeyEvent m_onKeyUp;
  TKeyPressEvent m_onKeyPress;
  framework::MouseButtonEvent m_onMouseDown;
  framework::MouseButtonEvent m_onMouseUp;
  framework::MouseMoveEvent m_onMouseMove;
};

} // namespace skin
