#pragma once

#include "platform/settings/SettingsStore.h"

#include <QSettings>
#include <memory>

namespace platform {

// The per-user settings over QSettings' native format: the registry key
// HKCU\Software\<Org>\<App> on Windows, ~/.config/<Org>/<App>.conf on Linux. A key path
// "Software\Org\App" names the store; its values live at the top level.
class QtSettingsStore final : public platform::SettingsStore {
public:
  std::optional<std::string> ReadString(const std::string &key, const std::string &value) override;
  bool WriteString(const std::string &key, const std::string &value,
                   const std::string &data) override;

  // The file or registry location the key maps to; empty for a key without org and app parts.
  static QString Location(const std::string &key);

private:
  static std::unique_ptr<QSettings> open(const std::string &key);
};

} // namespace platform
