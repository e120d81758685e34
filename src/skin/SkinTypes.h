#pragma once

#include "framework/Delegate.h"

class QObject;

namespace skin {

// The visual styles of the skin. The ordinals are fixed: window descriptions and theme tools store
// them, and the style table is indexed by them.
enum class TsuiUIStyle : int {
  FromThemeFile = 0,
  MacOS = 1,
  WinXP = 2,
  DeepBlue = 3,
  Protein = 4,
  BlueGlass = 5,
};

enum class TsuiDrawStyle { suiNormal, suiStretch, suiTile };

using TNotifyEvent = framework::Delegate<void(QObject *)>;

} // namespace skin
