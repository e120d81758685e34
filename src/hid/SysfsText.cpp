#include "hid/SysfsText.h"

#include "framework/text/Hex.h"

#include <cstdio>

namespace hid::sysfs {

using framework::text::Hex4;

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back()))
    s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hex digits only, no sign or prefix, value at most `max`.
std::optional<std::uint32_t> ParseHexField(std::string_view s, std::uint32_t max) {
  if (s.empty()) return std::nullopt;
  std::uint64_t v = 0;
  for (char c : s) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    v = v * 16 + static_cast<std::uint64_t>(d);
    if (v > max) return std::nullopt;
  }
  return static_cast<std::uint32_t>(v);
}

} // namespace

std::vector<std::pair<std::string, std::string>> ParseUevent(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> out;
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || eq == 0) continue;
    out.emplace_back(std::string(line.substr(0, eq)), std::string(line.substr(eq + 1)));
  }
  return out;
}

std::optional<std::string> UeventValue(std::string_view text, std::string_view key) {
  for (auto &[k, v] : ParseUevent(text))
    if (k == key) return std::move(v);
  return std::nullopt;
}

std::optional<HidId> ParseHidId(std::string_view text) {
  text = Trim(text);
  const std::size_t c1 = text.find(':');
  if (c1 == std::string_view::npos) return std::nullopt;
  const std::size_t c2 = text.find(':', c1 + 1);
  if (c2 == std::string_view::npos) return std::nullopt;
  const auto bus = ParseHexField(text.substr(0, c1), 0xFFFF);
  const auto vendor = ParseHexField(text.substr(c1 + 1, c2 - c1 - 1), 0xFFFF);
  const auto product = ParseHexField(text.substr(c2 + 1), 0xFFFF);
  if (!bus || !vendor || !product) return std::nullopt;
  return HidId{static_cast<std::uint16_t>(*bus), static_cast<std::uint16_t>(*vendor),
               static_cast<std::uint16_t>(*product)};
}

std::optional<std::uint16_t> ParseHex16(std::string_view text) {
  const auto v = ParseHexField(Trim(text), 0xFFFF);
  if (!v) return std::nullopt;
  return static_cast<std::uint16_t>(*v);
}

std::optional<std::uint32_t> ParseDecimal32(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  std::uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<std::uint64_t>(c - '0');
    if (v > 0xFFFFFFFFull) return std::nullopt;
  }
  return static_cast<std::uint32_t>(v);
}

std::string TrimLine(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
    text.remove_suffix(1);
  return std::string(text);
}

std::string CollectionPath(std::string_view devnode, std::size_t collectionIndex) {
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, "#col%02zu", collectionIndex + 1);
  return std::string(devnode) + suffix;
}

std::optional<InterfacePath> ParseInterfacePath(std::string_view path) {
  const std::size_t hash = path.rfind("#col");
  if (hash == std::string_view::npos) {
    if (path.empty() || path.find('#') != std::string_view::npos) return std::nullopt;
    return InterfacePath{std::string(path), 0};
  }
  const std::string_view digits = path.substr(hash + 4);
  if (hash == 0 || digits.empty() || digits.size() > 3) return std::nullopt;
  std::size_t n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  if (n == 0) return std::nullopt;
  const std::string_view node = path.substr(0, hash);
  if (node.find('#') != std::string_view::npos) return std::nullopt;
  return InterfacePath{std::string(node), n - 1};
}

std::vector<std::string> HardwareIds(std::uint16_t vendor, std::uint16_t product,
                                     std::uint16_t version, std::size_t collectionIndex,
                                     std::size_t collectionCount) {
  const std::string base = "HID\\VID_" + Hex4(vendor) + "&PID_" + Hex4(product);
  const std::string rev = "&REV_" + Hex4(version);
  std::vector<std::string> ids;
  if (collectionCount > 1) {
    char col[16];
    std::snprintf(col, sizeof col, "&Col%02zu", collectionIndex + 1);
    ids.push_back(base + rev + col);
    ids.push_back(base + col);
  }
  ids.push_back(base + rev);
  ids.push_back(base);
  return ids;
}

std::vector<std::string> CompatibleIds(std::uint16_t usagePage, std::uint16_t usage) {
  std::vector<std::string> ids;
  if (usagePage == 0x01 && usage == 0x02)
    ids.emplace_back("HID_DEVICE_SYSTEM_MOUSE");
  else if (usagePage == 0x01 && usage == 0x06)
    ids.emplace_back("HID_DEVICE_SYSTEM_KEYBOARD");
  ids.push_back("HID_DEVICE_UP:" + Hex4(usagePage) + "_U:" + Hex4(usage));
  ids.emplace_back("HID_DEVICE");
  return ids;
}

} // namespace hid::sysfs
