#pragma once

#include "framework/Colors.h"
#include "framework/Rendered.h"

#include <QPointer>
#include <QRect>

#include <vector>

namespace skin {

class TsuiMainMenu;

// The skinned window's menu bar: a flat row of buttons, one per top-level item of its menu, that
// wraps onto further rows and is as high as its rows. A button opens its item's sub-items.
class TsuiMenuBar : public framework::RenderedControl {
  Q_OBJECT
public:
  explicit TsuiMenuBar(QWidget *parent);

  TsuiMainMenu *Menu() const { return m_menu; }
  // Rebuilds the buttons from the menu's top-level items.
  void SetMenu(TsuiMainMenu *value);
  framework::TColor Color() const { return m_color; }
  void SetColor(framework::TColor value);
  // The height of every button, and so of each row.
  int ButtonHeight() const { return m_buttonHeight; }
  void SetButtonHeight(int value);

  // Button rectangles by top-level item, as the last layout placed them (hidden items: empty).
  const std::vector<QRect> &Buttons() const { return m_buttons; }
  int HotItem() const { return m_hot; }
  // Opens the sub-items of top-level item `index` below its button, as a click does.
  void OpenItem(int index);

signals:
  // The bar's height changed with its rows.
  void heightChanged();

protected:
  void Render(framework::Canvas &canvas) override;
  void resizeEvent(QResizeEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void leaveEvent(QEvent *event) override;

private:
  void relayout();
  int hitTest(QPoint at) const;
  void setHot(int index);

  TsuiMainMenu *m_menu = nullptr; // cleared when the menu goes
  framework::TColor m_color = framework::clBtnFace;
  int m_buttonHeight = 22;
  std::vector<QRect> m_buttons;
  int m_hot = -1;
  int m_open = -1;
};

} // namespace skin
