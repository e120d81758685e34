#pragma once

#include "receiver/Languages.h"

#include <QString>

class QAccessibleInterface;

namespace skin {
class TsuiTitleBar;
}

namespace app {

// The window's title bar as assistive technology sees it: a panel named by its caption that
// holds the buttons it shows, each a push button named in the window's language whose press
// action clicks it.
QAccessibleInterface *MakeTitleBarAccessible(skin::TsuiTitleBar *bar);

// The name of the bar's button `index` in `language`; the custom button is the one that hides
// the window. Empty for an index the bar does not have.
QString TitleBarButtonName(const skin::TsuiTitleBar &bar, int index, receiver::TLngID language);

} // namespace app
