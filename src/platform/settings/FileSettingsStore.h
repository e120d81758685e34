#pragma once

#include "platform/settings/SettingsFile.h"
#include "platform/settings/SettingsStore.h"

#include <cstddef>
#include <map>
#include <string>
#include <utility>

namespace platform {

// Far above anything this program writes (one value); a larger file is not read and not
// replaced, so that whatever it holds is kept for the user to look at.
inline constexpr std::size_t MaxSettingsFileBytes = 64 * 1024;

// The per-user settings in files: a key "Software\Org\App" is the file <config>/Org/App.conf, in
// the INI form earlier versions wrote through QSettings, its values in the "[General]" section.
//
// Each file is read once, when first used. A write takes the file's lock without waiting, reads
// the file again only when another process changed it, keeps every line it does not set and
// replaces the file whole. A file it could not read completely (not a regular file, too large,
// unreadable) reads as holding nothing and is never written, nor is a file whose new text would
// pass the limit: the value then lasts as long as the process, in the caller's hands.
class FileSettingsStore final : public SettingsStore {
public:
  explicit FileSettingsStore(std::string configFolder) : m_configFolder(std::move(configFolder)) {}

  // $XDG_CONFIG_HOME when it is an absolute path, else the home folder's ".config"; empty when
  // no home folder is known.
  static std::string UserConfigFolder();

  // The file of `key`; empty for a key without org and app parts or with parts that are not
  // plain file names.
  std::string Location(const std::string &key) const;

  std::optional<std::string> ReadString(const std::string &key, const std::string &value) override;
  bool WriteString(const std::string &key, const std::string &value,
                   const std::string &data) override;

private:
  framework::FileContents &contents(const std::string &path);

  std::string m_configFolder;
  std::map<std::string, framework::FileContents> m_files;
};

} // namespace platform
