#pragma once

#include "framework/WindowlessControl.h"

#include <QString>

namespace widgets {

enum class TTextLayout { tlTop, tlCenter, tlBottom };

// The label's layout settings.
struct TCnAAFontEffect {
  bool Transparent = false;
  TTextLayout Layout = TTextLayout::tlTop;
  framework::TAlignment Alignment = framework::TAlignment::taLeftJustify;
};

// A windowless label that draws its caption in its font and font colour straight over whatever
// lies beneath it when transparent.
class TCnAALabel : public framework::WindowlessControl {
  Q_OBJECT
public:
  explicit TCnAALabel(QWidget *parent);

  const QString &Caption() const { return m_caption; }
  void SetCaption(const QString &value);
  bool AutoSize() const { return m_autoSize; }
  void SetAutoSize(bool value);
  int Border() const { return m_border; }
  void SetBorder(int value);
  const TCnAAFontEffect &Effect() const { return m_effect; }
  void SetEffect(const TCnAAFontEffect &value);
  // The background of an opaque label.
  framework::TColor Color() const { return m_color; }
  void SetColor(framework::TColor value);

  void Loaded() override;

protected:
  void Render(framework::Canvas &canvas) override;

private:
  void refresh();

  QString m_caption;
  bool m_autoSize = true;
  int m_border = 0;
  TCnAAFontEffect m_effect;
  framework::TColor m_color = framework::clBtnFace;
};

} // namespace widgets
