#include "app/FormSkin.h"

#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiImagePanel.h"
#include "skin/TsuiPopupMenu.h"
#include "skin/style/StyleReads.h"
#include "widgets/TCnAALabel.h"
#include "widgets/THexEdit.h"

namespace app::skinning {
namespace {

using namespace framework;
using skin::TsuiUIStyle;

// The description stores the Protein style's own title pictures: the button states are parts of
// its title-button strip, the sections its title pictures.
QImage titleButtonPart(int part) {
  QImage picture;
  skin::style::GetStyleImagePart(TsuiUIStyle::Protein, skin::style::StyleEntry::TitleBarButtonImage,
                                 picture, part, 18);
  return picture;
}

void titleBarButtons(skin::TsuiForm &frame) {
  struct StoredButton {
    skin::TsuiTitleBarBtnType type;
    bool visible;
    int lastPart; // of the normal, mouse-on and mouse-down parts; 0 for no pictures
  };
  const StoredButton storedButtons[] = {
      {skin::TsuiTitleBarBtnType::suiControlBox, false, 3},
      {skin::TsuiTitleBarBtnType::suiClose, true, 18},
      {skin::TsuiTitleBarBtnType::suiMax, false, 9},
      {skin::TsuiTitleBarBtnType::suiMin, false, 15},
      {skin::TsuiTitleBarBtnType::suiCustom, true, 0},
  };
  frame.TitleBarButtons().Clear();
  for (const StoredButton &stored : storedButtons) {
    skin::TsuiTitleBarButton &button = frame.TitleBarButtons().Add();
    button.SetUIStyle(TsuiUIStyle::Protein);
    button.SetButtonType(stored.type);
    button.SetTransparent(true);
    button.SetTop(2);
    button.SetVisible(stored.visible);
    if (stored.lastPart > 0) {
      button.SetPicNormal(titleButtonPart(stored.lastPart - 2));
      button.SetPicMouseOn(titleButtonPart(stored.lastPart - 1));
      button.SetPicMouseDown(titleButtonPart(stored.lastPart));
    }
  }
}

void titleBarSections(skin::TsuiForm &frame) {
  using skin::style::StyleEntry;
  struct StoredSection {
    bool autoSize;
    int width;
    skin::TsuiTitleBarAlign align;
    StyleEntry picture;
    bool stretch;
  };
  const StoredSection storedSections[] = {
      {true, 441, skin::TsuiTitleBarAlign::suiLeft, StyleEntry::TitleBarLeftImage, false},
      {true, 1, skin::TsuiTitleBarAlign::suiRight, StyleEntry::TitleBarRightImage, false},
      {false, 10, skin::TsuiTitleBarAlign::suiClient, StyleEntry::TitleBarClientImage, true},
  };
  frame.TitleBarSections().Clear();
  for (const StoredSection &stored : storedSections) {
    skin::TsuiTitleBarSection &section = frame.TitleBarSections().Add();
    section.SetAutoSize(stored.autoSize);
    section.SetWidth(stored.width);
    section.SetAlign(stored.align);
    QImage picture;
    skin::style::GetStyleImage(TsuiUIStyle::Protein, stored.picture, picture);
    section.SetPicture(picture);
    section.SetStretch(stored.stretch);
  }
}

} // namespace

void sfrm1(skin::TsuiForm &frame) {
  // The style first: the stored values below replace what it brought.
  frame.SetUIStyle(FrameStyle);
  frame.SetUIStyleAutoUpdateSub(false);
  frame.SetTitleBarCustom(false);
  frame.SetColor(0xFBFBFB);
  frame.SetBorderColor(clBlack);
  frame.SetBorderWidth(1);
  frame.SetFont(FontDesc{QStringLiteral("Tahoma"), -13, true, false, false, clWhite});
  frame.SetTitleBarDrawAppIcon(false);
  frame.SetMenuBarColor(0xFBFBFB);
  frame.SetMenuBarHeight(22);
  frame.SetRoundCorner(0);
  frame.SetRoundCornerBottom(0);
  frame.SetVersion(QStringLiteral("5.8"));
  titleBarButtons(frame);
  titleBarSections(frame);
}

void Button(skin::TsuiButton &button) {
  button.SetUIStyle(TsuiUIStyle::MacOS);
  button.SetTransparent(true);
  button.SetAutoSize(false);
  button.SetModalResult(0);
  button.SetFocusedRectMargin(2);
  button.SetLayout(skin::TButtonLayout::blGlyphLeft);
  button.SetSpacing(4);
  button.SetMouseContinuouslyDownInterval(100);
}

void Edit(skin::TsuiEdit &edit) {
  edit.SetUIStyle(TsuiUIStyle::MacOS);
  edit.SetBorderColor(0x7F7F7F);
}

void edtVID(widgets::THexEdit &edit) {
  Edit(edit);
  edit.SetAlignment(TAlignment::taLeftJustify);
}

void PicturePanel(skin::TsuiImagePanel &panel, bool autoSize) {
  panel.SetTransparent(true);
  panel.SetDrawStyle(skin::TsuiDrawStyle::suiStretch);
  panel.SetAutoSize(autoSize);
}

void lblMseBattery(widgets::TCnAALabel &label) {
  label.Effect().SetTransparent(true);
}

void pmnTray(skin::TsuiPopupMenu &menu) {
  menu.SetUIStyle(TsuiUIStyle::WinXP);
  menu.SetOwnerDraw(true);
  menu.SetMenuItemHeight(21);
  menu.SetSeparatorHeight(5);
  menu.SetBarWidth(20);
  menu.SetBarColor(0xCED3D6);
  menu.SetColor(0xCED3D6);
  menu.SetSeparatorColor(0x848284);
  menu.SetSelectedBorderColor(0xC66931);
  menu.SetSelectedColor(0xEFD3C6);
  menu.SetSelectedFontColor(clBlack);
  menu.SetFontColor(clBlack);
  menu.SetBorderColor(clBlack);
  menu.SetFlatMenu(false);
  menu.SetFontName(QStringLiteral("MS Sans Serif"));
  menu.SetFontSize(8);
  menu.SetUseSystemFont(true);
}

void Apply(FormComponents &c) {
  sfrm1(*c.sfrm1);
  for (skin::TsuiButton *button :
       {c.btnCombo_Cmd_Soft_Bind_SW, c.btnSystemStatus, c.btnBattery, c.btnCPI})
    Button(*button);
  Edit(*c.edtCPI);
  edtVID(*c.edtVID);
  Edit(*c.edtPID);
  PicturePanel(*c.imgLogo, false);
  PicturePanel(*c.imgMouse, true);
  lblMseBattery(*c.lblMseBattery);
  pmnTray(*c.pmnTray);
}

void UserLook(FormComponents &c, TsuiUIStyle style, skin::TsuiFileTheme *theme) {
  c.sfrm1->SetUIStyleAutoUpdateSub(true);
  // The theme before the style: FromThemeFile without a theme would draw as DeepBlue first.
  if (theme) c.sfrm1->SetFileTheme(theme);
  c.sfrm1->SetUIStyle(style);
  c.sfrm1->SetUIStyleAutoUpdateSub(false);
  // The tray menu belongs to the window, not to the frame, and takes the look as well.
  c.pmnTray->SetFileTheme(theme);
  c.pmnTray->SetUIStyle(style);
}

} // namespace app::skinning
