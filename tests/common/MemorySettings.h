#pragma once

#include "platform/settings/SettingsStore.h"
#include "receiver/Languages.h"

#include <map>
#include <string>
#include <vector>

namespace fakes {

// The per-user settings in memory, with every write kept.
class MemorySettings : public platform::SettingsStore {
public:
  std::optional<std::string> ReadString(const std::string &key, const std::string &value) override {
    const auto found = Values.find(key + "|" + value);
    if (found == Values.end()) return std::nullopt;
    return found->second;
  }
  bool WriteString(const std::string &key, const std::string &value,
                   const std::string &data) override {
    Writes.push_back(data);
    if (RefuseWrites) return false;
    Values[key + "|" + value] = data;
    return true;
  }

  void StoreLanguage(const std::string &data) { Values[languageKey()] = data; }
  std::optional<std::string> Language() {
    return ReadString(receiver::Languages::RegistryKey, receiver::Languages::RegistryValue);
  }

  std::map<std::string, std::string> Values;
  std::vector<std::string> Writes;
  bool RefuseWrites = false;

private:
  static std::string languageKey() {
    return std::string(receiver::Languages::RegistryKey) + "|" + receiver::Languages::RegistryValue;
  }
};

} // namespace fakes
