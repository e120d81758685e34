#pragma once

#include "framework/Colors.h"
#include "framework/Fonts.h"
#include "skin/SkinTypes.h"

#include <QLineEdit>
#include <QPainter>

namespace skin {

// A one-line edit box with a two-pixel frame: an outer line in BorderColor and an inner line in
// the box's Color, so the text area is 4 pixels narrower and lower than the control.
// Header-only so that edit boxes of other layers can derive from it.
class TsuiEdit : public QLineEdit {
public:
  explicit TsuiEdit(QWidget *parent) : QLineEdit(parent) {
    setFrame(false);
    setAutoFillBackground(true);
    setTextMargins(2, 2, 2, 2);
    SetColor(framework::clWindow);
  }

  TsuiUIStyle UIStyle() const { return m_uiStyle; }
  void SetUIStyle(TsuiUIStyle value) {
    m_uiStyle = value;
    // The control border colour of the style; a stored BorderColor set afterwards wins.
    m_borderColor = value == TsuiUIStyle::MacOS ? 0x7F7F7F : 0x8D7A68;
    update();
  }
  framework::TColor BorderColor() const { return m_borderColor; }
  void SetBorderColor(framework::TColor value) {
    m_borderColor = value;
    update();
  }
  framework::TColor Color() const { return m_color; }
  void SetColor(framework::TColor value) {
    m_color = value;
    QPalette p = palette();
    p.setColor(QPalette::Base, framework::ToQColor(value));
    setPalette(p);
    update();
  }
  const framework::FontDesc &Font() const { return m_font; }
  void SetFont(const framework::FontDesc &value) {
    m_font = value;
    setFont(framework::MakeFont(value));
    QPalette p = palette();
    p.setColor(QPalette::Text, framework::ToQColor(value.Color));
    setPalette(p);
  }
  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool value) { setReadOnly(value); }
  QString Text() const { return text(); }
  void SetText(const QString &value) { setText(value); }
  bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
  void SetTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus); }
  int TabOrder() const { return m_tabOrder; }
  void SetTabOrder(int value) { m_tabOrder = value; }

protected:
  void paintEvent(QPaintEvent *event) override {
    QLineEdit::paintEvent(event);
    QPainter p(this);
    p.setPen(framework::ToQColor(m_borderColor));
    p.drawRect(0, 0, width() - 1, height() - 1);
    p.setPen(framework::ToQColor(m_color));
    p.drawRect(1, 1, width() - 3, height() - 3);
  }

private:
  TsuiUIStyle m_uiStyle = TsuiUIStyle::DeepBlue;
  framework::TColor m_borderColor = 0x8D7A68;
  framework::TColor m_color = framework::clWindow;
  framework::FontDesc m_font;
  int m_tabOrder = -1;
};

} // namespace skin
