#pragma once

// The real binding on Windows: setupapi.dll and hid.dll, bound by name at run time.
//
// Binding: the device-setup library first, the HID library only when that worked; a library that
// cannot be loaded, or lacks one of the functions used, is released and leaves the binding
// unbound (UnboundReason() names it). Both are loaded from the system folder only.
//
// Interfaces: the present members of the HID interface class in the device-setup order; the path
// is the interface's device path, the instance its device node (DevInst).
//
// Opening: paths are device-namespace paths ("\\?\…" or "\\.\…"); any other path fails with
// ERROR_BAD_PATHNAME before the platform is asked. A device path that names nothing fails with
// the platform's answer, ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND. ReadWrite opens for
// reading and writing, QueryOnly with no access (attributes, caps and product string only; the
// platform refuses feature reports), OverlappedRead and OverlappedWrite for overlapped I/O.
// Read works on OverlappedRead handles only. Error codes are GetLastError() values.
//
// Hotplug: a message-only window on a thread of the binding's own, registered for arrivals and
// removals of HID interfaces, calls the device-tree listener from that thread.

#include "hid/HidBinding.h"

#include <memory>
#include <string>

namespace hid {

// The libraries to bind; other names only for tests of the failure paths.
struct WindowsHidLibraries {
  std::string SetupApi = "setupapi.dll";
  std::string Hid = "hid.dll";
};

// The class of the hotplug window, so that tests can find it.
inline constexpr char WindowsDeviceChangeWindowClass[] = "QuelvaneHidDeviceChange";

std::unique_ptr<HidBinding> MakeWindowsHidBinding(const WindowsHidLibraries &libraries = {});

} // namespace hid
