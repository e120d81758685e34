#pragma once

#include "hid/HidBinding.h"

#include <memory>

namespace hid {

// The real binding of the platform the program is built for. The build compiles exactly one
// binding file, and that file defines this.
std::unique_ptr<HidBinding> MakePlatformHidBinding();

} // namespace hid
