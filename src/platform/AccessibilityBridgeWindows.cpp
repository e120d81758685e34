#include "platform/AccessibilityBridge.h"

namespace platform {

void GuardAccessibilityBridge() {}

} // namespace platform
