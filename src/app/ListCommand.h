#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace hid {
class HidBinding;
class HidTrace;
class TJvHidDeviceController;
} // namespace hid

namespace app {

// What `--list` shows of one HID interface.
struct InterfaceListing {
  std::string Path;
  std::uint16_t VendorID = 0;
  std::uint16_t ProductID = 0;
  std::uint16_t UsagePage = 0;
  std::uint16_t Usage = 0;
  std::uint16_t InputLength = 0;
  std::uint16_t OutputLength = 0;
  std::uint16_t FeatureLength = 0;
  std::u16string ProductName;
  std::string Access; // "rw", "query", or "none" when the path cannot be opened at all
  bool Supported = false;
};

// Checks every listed device out, reads what the listing shows and checks it in again.
std::vector<InterfaceListing> CollectInterfaces(hid::TJvHidDeviceController &controller);

// One line per interface, tab-separated: path, VVVV:PPPP, usage page:usage (hex),
// input/output/feature lengths, product name, access, "supported" or "unsupported".
std::string FormatListingText(const std::vector<InterfaceListing> &interfaces);
// One JSON array on one line, without a line end; vendor and product as four hexadecimal digits.
std::string FormatListingJson(const std::vector<InterfaceListing> &interfaces);

// Standard output's descriptor, on POSIX and in the Windows C runtime alike.
inline constexpr int StandardOutputFd = 1;

struct ListOptions {
  bool Watch = false;
  bool Json = false;
  // The descriptor behind `out`, when known: a pipe whose reader has left ends the watch at once
  // rather than at the next change.
  int OutputFd = -1;
};

// Runs `--list` in the running application's event loop: prints after the first scan and, when
// watching, after every scan that changed the list, until the application quits or the output
// is gone (status 1). Answers the exit status; errors go to `err`.
int RunListCommand(hid::HidBinding &binding, hid::HidTrace *trace, const ListOptions &options,
                   std::ostream &out, std::ostream &err);

} // namespace app
