#pragma once

#include <memory>
#include <optional>
#include <string>

namespace platform {

// The per-user settings store (the registry on Windows). `key` is a registry-style path such as
// "Software\\KESTRAVO\\TELVARIN"; `value` names one value under it.
class SettingsStore {
public:
  virtual ~SettingsStore() = default;

  // None when the key or value is missing, holds something other than a string, or cannot be
  // read.
  virtual std::optional<std::string> ReadString(const std::string &key,
                                                const std::string &value) = 0;
  // Creates the key when needed; false when the write did not reach the store.
  virtual bool WriteString(const std::string &key, const std::string &value,
                           const std::string &data) = 0;
};

// The user's own store: the registry on Windows, the settings files in the user's configuration
// folder elsewhere.
std::unique_ptr<SettingsStore> MakeUserSettingsStore();

} // namespace platform
