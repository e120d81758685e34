#include "platform/CodePage.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace platform {

int AnsiCodePage() {
  return static_cast<int>(::GetACP());
}

} // namespace platform
