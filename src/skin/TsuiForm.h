#pragma once

#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "framework/Fonts.h"
#include "framework/Rendered.h"
#include "skin/FormFrame.h"
#include "skin/SkinTypes.h"
#include "skin/Skinned.h"
#include "skin/TsuiMainMenu.h"
#include "skin/TsuiMenuBar.h"
#include "skin/TsuiTitleBar.h"

#include <QPointer>
#include <QRect>

#include <memory>

namespace skin {

// The skinned frame of a top-level window. Placed once on a window, it takes the window over:
// the window loses its own frame, this panel fills what the painted frame leaves, and it carries
// the drawn title bar. All other controls of the window are its children. Removing it gives the
// window its own frame back.
class TsuiForm : public framework::RenderedControl {
  Q_OBJECT
public:
  static constexpr const char *OnePerFormMessage =
      "Sorry, You can create only one TsuiForm component in one form!";
  static constexpr const char *FormPanelMessage =
      "Sorry, you can't select the Form assign to FormPanel property";

  // Null, after an error box, when `owner` already holds a TsuiForm. An owner that is not a
  // top-level window gets a plain panel that takes nothing over. Made in `style`: a window that
  // stores another style than the default reads no pictures of the default one.
  static TsuiForm *Create(QWidget *owner, TsuiUIStyle style = TsuiUIStyle::DeepBlue);
  ~TsuiForm() override;

  bool TitleBarCustom() const { return m_titleBar->Custom(); }
  void SetTitleBarCustom(bool value) { m_titleBar->SetCustom(value); }
  style::ThemeEntries *FileTheme() const { return m_fileTheme; }
  // Any theme's entries; children that take a theme file get it when it is one.
  void SetFileTheme(style::ThemeEntries *value);
  TsuiUIStyle UIStyle() const { return m_uiStyle; }
  void SetUIStyle(TsuiUIStyle value);
  bool UIStyleAutoUpdateSub() const { return m_autoUpdateSub; }
  void SetUIStyleAutoUpdateSub(bool value) { m_autoUpdateSub = value; }
  framework::TColor BorderColor() const { return m_borderColor; }
  void SetBorderColor(framework::TColor value);
  int BorderWidth() const { return m_borderWidth; }
  void SetBorderWidth(int value);
  bool TitleBarVisible() const { return m_titleBarVisible; }
  void SetTitleBarVisible(bool value);
  // The panel colour: background of the plain styles and of the frame's inner band.
  framework::TColor Color() const { return m_color; }
  void SetColor(framework::TColor value);
  // The title bar's caption font.
  const framework::FontDesc &Font() const { return m_titleBar->Font(); }
  void SetFont(const framework::FontDesc &value) { m_titleBar->SetFont(value); }
  // Sets the title bar's caption and the window's own title.
  const QString &Caption() const { return m_titleBar->Caption(); }
  void SetCaption(const QString &value);
  // A panel made to fill the client below the bars; the TsuiForm itself is refused.
  QWidget *FormPanel() const { return m_formPanel; }
  void SetFormPanel(QWidget *value);
  TsuiTitleBarButtons &TitleBarButtons() { return m_titleBar->Buttons(); }
  TsuiTitleBarSections &TitleBarSections() { return m_titleBar->Sections(); }
  bool TitleBarDrawAppIcon() const { return m_titleBar->DrawAppIcon(); }
  void SetTitleBarDrawAppIcon(bool value) { m_titleBar->SetDrawAppIcon(value); }
  // A main menu shown in the skinned menu bar below the title bar; null shows none.
  TsuiMainMenu *Menu() const { return m_menu; }
  void SetMenu(TsuiMainMenu *value);
  // Null while no menu is set.
  TsuiMenuBar *MenuBar() const { return m_menuBar.get(); }
  framework::TColor MenuBarColor() const { return m_menuBarColor; }
  void SetMenuBarColor(framework::TColor value);
  int MenuBarHeight() const { return m_menuBarHeight; }
  void SetMenuBarHeight(int value);
  // Radii of the window's top and bottom corners, kept by the title bar; 0 while it is hidden.
  int RoundCorner() const { return m_titleBarVisible ? m_titleBar->RoundCorner() : 0; }
  void SetRoundCorner(int value);
  int RoundCornerBottom() const { return m_titleBarVisible ? m_titleBar->RoundCornerBottom() : 0; }
  void SetRoundCornerBottom(int value);
  // Always "5.8"; writes are ignored.
  QString Version() const { return QStringLiteral("5.8"); }
  void SetVersion(const QString &) {}
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
  // Whether this panel took its window over.
  bool OwnsForm() const { return m_form != nullptr; }
  // Where the panel sits in the window, as the frame leaves it.
  FrameInsets Insets() const;
  // The width of the theme's left-border picture, 0 without one; the title bar asks before it
  // draws.
  int LeftBorderWidthQuery() const { return m_leftBorder.width(); }

  // Fits the panel to the window and rebuilds the region; the window does this itself after
  // every resize, so only a caller that changed the size without an event needs it.
  void FormResized();
  // The frame band of a window of the canvas's size.
  void PaintFrame(framework::Canvas &canvas) const;
  // The window's shape.
  QRegion WindowRegion() const;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
  void childEvent(QChildEvent *event) override;
  void Render(framework::Canvas &canvas) override;
  void resizeEvent(QResizeEvent *event) override;

private:
  TsuiForm(QWidget *owner, TsuiUIStyle style);
  class ApplicationKeys;

  void takeOver();
  void giveBack();
  bool formEvent(QEvent *event);
  bool applicationKey(QObject *watched, QEvent *event);
  void applyStyle();
  void pushStyleToChildren();
  void layoutChildren();
  void applyWindowRegion();
  void frameChanged();
  void colorChanged();
  void formSized();
  void place(const QRect &bounds);
  void fromThemeRemoved();

  // Null when nothing was taken over, or once the window starts tearing down.
  QWidget *m_form = nullptr;
  // Children arrive while the title bar itself is being made: only later ones go beneath it.
  // Declared first, so that it is false by then.
  bool m_titleBarMade = false;
  TsuiTitleBar *m_titleBar;
  bool m_destroying = false;
  Qt::WindowFlags m_savedFlags;
  bool m_flagsChanged = false;
  QRect m_createdBounds;
  bool m_createdMaximized = false;
  QRect m_normalBounds;
  bool m_wasMaximized = false;
  bool m_placing = false;
  std::unique_ptr<ApplicationKeys> m_applicationKeys;

  style::ThemeEntries *m_fileTheme = nullptr;
  QMetaObject::Connection m_themeGone;
  QMetaObject::Connection m_themeReloaded;
  TsuiUIStyle m_uiStyle = TsuiUIStyle::DeepBlue;
  bool m_autoUpdateSub = false;
  framework::TColor m_borderColor = framework::clBlack;
  int m_borderWidth = 1;
  bool m_titleBarVisible = true;
  framework::TColor m_color = framework::clBtnFace;
  QPointer<QWidget> m_formPanel;
  TsuiMainMenu *m_menu = nullptr; // cleared when the menu goes
  std::unique_ptr<TsuiMenuBar> m_menuBar;
  framework::TColor m_menuBarColor = framework::clBtnFace;
  int m_menuBarHeight = 22;
  // Only with a theme: its left-border picture, the copy turned for the right side, and its
  // bottom-border picture.
  QImage m_leftBorder;
  QImage m_rightBorder;
  QImage m_bottomBorder;
  framework::RenderBuffer m_frame;
};

} // namespace skin
