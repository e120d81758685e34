#pragma once

#include "skin/SkinTypes.h"

namespace skin {

class TsuiFileTheme;

// A control that takes both a theme file and a style: a skinned window that passes its look on
// to its children reaches exactly these.
class Skinned {
public:
  virtual ~Skinned() = default;
  virtual void SetFileTheme(TsuiFileTheme *theme) = 0;
  virtual void SetUIStyle(TsuiUIStyle style) = 0;
};

} // namespace skin
