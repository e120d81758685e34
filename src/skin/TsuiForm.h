#pragma once

#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "framework/Fonts.h"
#include "framework/Rendered.h"
#include "skin/SkinTypes.h"
#include "skin/TsuiTitleBar.h"

namespace skin {

// The skinned frame of a frameless top-level window: it covers the window's client area, paints
// the frame band around itself on the window and carries the drawn title bar. All controls of
// the window are its children.
class TsuiForm : public framework::RenderedControl {
  Q_OBJECT
public:
  // The frame the window keeps around the panel: two columns beside it (border and band), one
  // row above it (the title pictures continue there) and the border below. A 220 x 270 window
  // thus has the 216 x 268 client its controls were laid out for.
  static constexpr int SideFrame = 2;
  static constexpr int TopFrame = 1;

  // `form` is the top-level window taken over.
  explicit TsuiForm(QWidget *form);
  ~TsuiForm() override;

  TsuiUIStyle UIStyle() const { return m_uiStyle; }
  void SetUIStyle(TsuiUIStyle value);
  bool UIStyleAutoUpdateSub() const { return m_autoUpdateSub; }
  void SetUIStyleAutoUpdateSub(bool value) { m_autoUpdateSub = value; }
  bool TitleBarCustom() const { return m_titleBar->Custom(); }
  void SetTitleBarCustom(bool value) { m_titleBar->SetCustom(value); }
  framework::TColor BorderColor() const { return m_borderColor; }
  void SetBorderColor(framework::TColor value);
  int BorderWidth() const { return m_borderWidth; }
  void SetBorderWidth(int value);
  framework::TColor Color() const { return m_color; }
  void SetColor(framework::TColor value);
  // Sets the title bar's caption and the window's own title.
  const QString &Caption() const { return m_titleBar->Caption(); }
  void SetCaption(const QString &value);
  // The title bar's caption font.
  const framework::FontDesc &Font() const { return m_titleBar->Font(); }
  void SetFont(const framework::FontDesc &value) { m_titleBar->SetFont(value); }
  bool TitleBarDrawAppIcon() const { return m_titleBar->DrawAppIcon(); }
  void SetTitleBarDrawAppIcon(bool value) { m_titleBar->SetDrawAppIcon(value); }
  framework::TColor MenuBarColor() const { return m_menuBarColor; }
  void SetMenuBarColor(framework::TColor value) { m_menuBarColor = value; }
  int MenuBarHeight() const { return m_menuBarHeight; }
  void SetMenuBarHeight(int value) { m_menuBarHeight = value; }
  // Kept by the title bar, whose style sets them.
  int RoundCorner() const { return m_titleBar->RoundCorner(); }
  void SetRoundCorner(int value) { m_titleBar->SetRoundCorner(value); }
  int RoundCornerBottom() const { return m_titleBar->RoundCornerBottom(); }
  void SetRoundCornerBottom(int value) { m_titleBar->SetRoundCornerBottom(value); }
  // Always "5.8"; writes are ignored.
  QString Version() const { return QStringLiteral("5.8"); }
  void SetVersion(const QString &) {}

  TsuiTitleBarButtons &TitleBarButtons() { return m_titleBar->Buttons(); }
  TsuiTitleBarSections &TitleBarSections() { return m_titleBar->Sections(); }
  const TsuiTitleBar::TsuiTitleBarButtonClickEvent &OnTitleBarCustomBtnsClick() const {
    return m_titleBar->OnCustomBtnsClick();
  }
  void SetOnTitleBarCustomBtnsClick(TsuiTitleBar::TsuiTitleBarButtonClickEvent handler) {
    m_titleBar->SetOnCustomBtnsClick(std::move(handler));
  }
  const TsuiTitleBar::TsuiTitleBarButtonClickEvent &OnTitleBarHelpBtnClick() const {
    return m_titleBar->OnHelpBtnClick();
  }
  void SetOnTitleBarHelpBtnClick(TsuiTitleBar::TsuiTitleBarButtonClickEvent handler) {
    m_titleBar->SetOnHelpBtnClick(std::move(handler));
  }
  TsuiTitleBar &TitleBar() { return *m_titleBar; }

  // The width of the frame's left-border picture; 0 without one (no theme frame pictures yet).
  int LeftBorderWidthQuery() const { return 0; }

  // Fits the frame to the window again; the window calls it after every change of its size
  // (a hidden window gets its resize events only when shown).
  void FormResized();

  // Renders the frame band of a window of the canvas's size; the window shows it from a buffer
  // of its own, like every drawn control.
  void PaintFrame(framework::Canvas &canvas) const;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
  void Render(framework::Canvas &canvas) override;
  void resizeEvent(QResizeEvent *event) override;

private:
  void placeInForm();
  void placeTitleBar();
  void applyWindowRegion();
  void frameChanged();

  QWidget *m_form;
  TsuiTitleBar *m_titleBar;
  TsuiUIStyle m_uiStyle = TsuiUIStyle::DeepBlue;
  bool m_autoUpdateSub = false;
  framework::TColor m_borderColor = framework::clBlack;
  int m_borderWidth = 1;
  framework::TColor m_color = framework::clBtnFace;
  framework::TColor m_menuBarColor = framework::clBtnFace;
  int m_menuBarHeight = 22;
  framework::RenderBuffer m_frame;
};

} // namespace skin
