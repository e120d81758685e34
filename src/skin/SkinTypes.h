#pragma once

#include "framework/Delegate.h"

class QObject;

namespace skin {

// The visual styles of the skin.
enum class TsuiUIStyle { FromThemeFile, MacOS, WinXP, DeepBlue, Protein, BlueGlass };

enum class TsuiDrawStyle { suiNormal, suiStretch, suiTile };

using TNotifyEvent = framework::Delegate<void(QObject *)>;

} // namespace skin
