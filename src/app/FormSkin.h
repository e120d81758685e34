#pragma once

#include "app/FormComponents.h"
#include "skin/SkinTypes.h"

namespace skin {
class TsuiFileTheme;
}

namespace app {

// The skin the main window's description puts on its components: styles, border colours, the
// title bar's buttons and sections, the menu's colours. Applied after the layout.
namespace skinning {

// The frame's stored style: the frame is made in it.
inline constexpr skin::TsuiUIStyle FrameStyle = skin::TsuiUIStyle::Protein;

void sfrm1(skin::TsuiForm &frame);
void Button(skin::TsuiButton &button);
void Edit(skin::TsuiEdit &edit);
void edtVID(widgets::THexEdit &edit);
void PicturePanel(skin::TsuiImagePanel &panel, bool autoSize);
void lblMseBattery(widgets::TCnAALabel &label);
void pmnTray(skin::TsuiPopupMenu &menu);

void Apply(FormComponents &c);

// A look the user asked for on the command line, put over the description's the way a frame
// passing its look on to its children would: a built-in style, or FromThemeFile with `theme`.
void UserLook(FormComponents &c, skin::TsuiUIStyle style, skin::TsuiFileTheme *theme = nullptr);

} // namespace skinning
} // namespace app
