#pragma once

#include "skin/TsuiCustomPanel.h"

namespace skin {

// The picture panel windows place: everything of the custom panel, nothing more.
class TsuiImagePanel : public TsuiCustomPanel {
  Q_OBJECT
public:
  using TsuiCustomPanel::TsuiCustomPanel;
};

} // namespace skin
