#pragma once

#include "framework/Colors.h"
#include "framework/Fonts.h"
#include "framework/Rendered.h"
#include "skin/SkinTypes.h"

#include <QLineEdit>

namespace skin {

// A one-line edit box with a two-pixel frame: an outer line in BorderColor and an inner line in
// the box's Color, so the text area is 4 pixels narrower and lower than the control. The edit box
// paints its text; the frame is rendered and laid over it.
class TsuiEdit : public framework::Rendered<QLineEdit> {
public:
  explicit TsuiEdit(QWidget *parent);

  TsuiUIStyle UIStyle() const { return m_uiStyle; }
  // Takes the style's control border colour; a BorderColor stored afterwards wins.
  void SetUIStyle(TsuiUIStyle value);
  framework::TColor BorderColor() const { return m_borderColor; }
  void SetBorderColor(framework::TColor value);
  framework::TColor Color() const { return m_color; }
  void SetColor(framework::TColor value);
  const framework::FontDesc &Font() const { return m_font; }
  void SetFont(const framework::FontDesc &value);
  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool value) { setReadOnly(value); }
  QString Text() const { return text(); }
  void SetText(const QString &value) { setText(value); }
  bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
  void SetTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus); }
  int TabOrder() const { return m_tabOrder; }
  void SetTabOrder(int value) { m_tabOrder = value; }

protected:
  void Render(framework::Canvas &canvas) override;

private:
  TsuiUIStyle m_uiStyle = TsuiUIStyle::DeepBlue;
  framework::TColor m_borderColor = framework::clBlack;
  framework::TColor m_color = framework::clWindow;
  framework::FontDesc m_font;
  int m_tabOrder = -1;
};

} // namespace skin
