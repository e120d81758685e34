#pragma once

#include "skin/SkinTypes.h"

class QObject;

namespace skin {

// The style a new control starts with: that of the skinned frame (TsuiForm) on the form that owns
// it, DeepBlue when that form has none. The frame itself and its title-bar buttons start DeepBlue.
TsuiUIStyle DefaultStyle(const QObject *owner);

} // namespace skin
