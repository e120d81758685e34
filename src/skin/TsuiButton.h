#pragma once

#include "framework/Colors.h"
#include "framework/Fonts.h"
#include "framework/Rendered.h"
#include "skin/SkinTypes.h"

class QShortcut;

namespace skin {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// A skinned push button: normal, mouse-over and pressed looks, a caption with an "&"
// accelerator, and a default role (Enter clicks it while no other button has the focus).
class TsuiButton : public framework::RenderedControl {
  Q_OBJECT
public:
  // Columns kept free between the focus margin and the caption.
  static constexpr int CaptionPadding = 2;

  explicit TsuiButton(QWidget *parent);

  TsuiUIStyle UIStyle() const { return m_uiStyle; }
  void SetUIStyle(TsuiUIStyle value);
  const QString &Caption() const { return m_caption; }
  void SetCaption(const QString &value);
  const framework::FontDesc &Font() const { return m_font; }
  void SetFont(const framework::FontDesc &value);
  bool Enabled() const { return isEnabled(); }
  void SetEnabled(bool value) { setEnabled(value); }
  bool Default() const { return m_default; }
  void SetDefault(bool value);
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool value);
  int ModalResult() const { return m_modalResult; }
  void SetModalResult(int value) { m_modalResult = value; }
  bool AutoSize() const { return m_autoSize; }
  void SetAutoSize(bool value) { m_autoSize = value; }
  int FocusedRectMargin() const { return m_focusedRectMargin; }
  void SetFocusedRectMargin(int value);
  TButtonLayout Layout() const { return m_layout; }
  void SetLayout(TButtonLayout value) { m_layout = value; }
  int Spacing() const { return m_spacing; }
  void SetSpacing(int value) { m_spacing = value; }
  int MouseContinuouslyDownInterval() const { return m_repeatInterval; }
  void SetMouseContinuouslyDownInterval(int value) { m_repeatInterval = value; }
  int TabOrder() const { return m_tabOrder; }
  void SetTabOrder(int value) { m_tabOrder = value; }
  const TNotifyEvent &OnClick() const { return m_onClick; }
  void SetOnClick(TNotifyEvent handler) { m_onClick = std::move(handler); }

  // Ends the pressed look and raises OnClick.
  void Click();
  bool Pressed() const { return m_pressed; }
  bool MouseOver() const { return m_mouseOver; }

protected:
  void Render(framework::Canvas &canvas) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void enterEvent(QEnterEvent *event) override;
  void leaveEvent(QEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void keyReleaseEvent(QKeyEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;
  void changeEvent(QEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  bool activeDefault() const;
  void updateShortcut();

  TsuiUIStyle m_uiStyle = TsuiUIStyle::DeepBlue;
  QString m_caption;
  framework::FontDesc m_font;
  bool m_default = false;
  bool m_transparent = false;
  int m_modalResult = 0;
  bool m_autoSize = false;
  int m_focusedRectMargin = 2;
  TButtonLayout m_layout = TButtonLayout::blGlyphLeft;
  int m_spacing = 4;
  int m_repeatInterval = 100;
  int m_tabOrder = -1;
  bool m_pressed = false;
  bool m_mouseOver = false;
  QShortcut *m_shortcut = nullptr;
  TNotifyEvent m_onClick;
};

} // namespace skin
