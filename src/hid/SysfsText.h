#pragma once

// Text formats of sysfs attributes and uevent files that the Linux HID binding reads, parsed
// apart from any I/O so that they are tested on their own. Every function takes untrusted text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hid::sysfs {

// A uevent file: one KEY=VALUE per line ("HID_ID=0003:00003A7E:00000A11"). Lines without '=' or
// with an empty key are skipped; the value runs to the end of the line (a trailing '\r' dropped).
std::vector<std::pair<std::string, std::string>> ParseUevent(std::string_view text);
// The value of the first line with that key.
std::optional<std::string> UeventValue(std::string_view text, std::string_view key);

// HID_ID "BBBB:VVVVVVVV:PPPPPPPP": bus, vendor and product in hex (the kernel prints
// "%04X:%08X:%08X"). Vendor and product must fit in 16 bits.
struct HidId {
  std::uint16_t Bus = 0;
  std::uint16_t Vendor = 0;
  std::uint16_t Product = 0;
  bool operator==(const HidId &) const = default;
};
std::optional<HidId> ParseHidId(std::string_view text);

// Bus numbers of HID_ID (linux/input.h).
inline constexpr std::uint16_t BusUsb = 0x03;
inline constexpr std::uint16_t BusBluetooth = 0x05;

// A one-value sysfs attribute ("0111\n" for bcdDevice): hex digits, surrounding white space
// allowed, at most 16 bits.
std::optional<std::uint16_t> ParseHex16(std::string_view text);
// A decimal attribute ("3\n" for busnum), at most 32 bits.
std::optional<std::uint32_t> ParseDecimal32(std::string_view text);

// A string attribute without its trailing newline(s) (product, manufacturer).
std::string TrimLine(std::string_view text);

// Interface paths: the hidraw node plus a 1-based collection suffix, "/dev/hidraw3#col01".
std::string CollectionPath(std::string_view devnode, std::size_t collectionIndex);
struct InterfacePath {
  std::string Devnode;
  std::size_t CollectionIndex = 0; // 0-based; a bare node path names collection 0
  bool operator==(const InterfacePath &) const = default;
};
std::optional<InterfacePath> ParseInterfacePath(std::string_view path);

// Windows-style hardware and compatible IDs of a HID collection, e.g.
// "HID\VID_3A7E&PID_0A11&REV_0111&Col01". The "&Colnn" forms appear only for a device with more
// than one top-level collection, as on Windows.
std::vector<std::string> HardwareIds(std::uint16_t vendor, std::uint16_t product,
                                     std::uint16_t version, std::size_t collectionIndex,
                                     std::size_t collectionCount);
std::vector<std::string> CompatibleIds(std::uint16_t usagePage, std::uint16_t usage);

} // namespace hid::sysfs
