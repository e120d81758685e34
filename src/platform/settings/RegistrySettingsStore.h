#pragma once

#include "platform/settings/SettingsStore.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstddef>

namespace platform {

// Far above anything this program writes (a language name); a longer value is not ours.
inline constexpr std::size_t MaxRegistryStringBytes = 4096;

// The per-user settings in the registry: a key "Software\Org\App" under HKEY_CURRENT_USER (or the
// root given), values as strings (REG_SZ; REG_EXPAND_SZ read as it stands). Texts are UTF-8 here
// and UTF-16 in the registry.
//
// A value reads as none when it is missing, of another type, longer than MaxRegistryStringBytes
// or cannot be read; a string stored without its terminating NUL reads whole, one with a NUL
// inside ends there. A write opens the key, creating it only when it cannot be opened; text that
// is not well-formed UTF-8, holds a NUL or would be too long to read back is not written.
class RegistrySettingsStore final : public SettingsStore {
public:
  // `root` stays open for as long as the store is used; it is not closed here.
  explicit RegistrySettingsStore(HKEY root = HKEY_CURRENT_USER) : m_root(root) {}

  std::optional<std::string> ReadString(const std::string &key, const std::string &value) override;
  bool WriteString(const std::string &key, const std::string &value,
                   const std::string &data) override;

private:
  HKEY m_root;
};

} // namespace platform
