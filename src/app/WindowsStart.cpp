// What a Windows start needs before main() and before Qt or the C++ streams are first used.

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool hasHandle(DWORD which) {
  const HANDLE handle = ::GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

struct WindowsStart {
  WindowsStart() {
    // Drawn with the FreeType engine, as on Linux: the skin's text then comes out the same.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
      _putenv_s("QT_QPA_PLATFORM", "windows:fontengine=freetype");
    // A window program has no console of its own: started from one, with its output not
    // redirected, it prints (--list, --status, --help, its messages) to that console.
    if (hasHandle(STD_OUTPUT_HANDLE) && hasHandle(STD_ERROR_HANDLE)) return;
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return; // started from the desktop
    FILE *stream = nullptr;
    if (!hasHandle(STD_OUTPUT_HANDLE)) freopen_s(&stream, "CONOUT$", "w", stdout);
    if (!hasHandle(STD_ERROR_HANDLE)) freopen_s(&stream, "CONOUT$", "w", stderr);
  }
};

const WindowsStart started;

} // namespace
