#include "platform/settings/FileSettingsStore.h"

#include "platform/settings/IniText.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace platform {
namespace {

bool isAbsolute(const char *path) {
  return path != nullptr && path[0] == '/';
}

std::string homeFolder() {
  if (const char *home = std::getenv("HOME"); isAbsolute(home)) return home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd *found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      isAbsolute(found->pw_dir))
    return found->pw_dir;
  return {};
}

bool isPlainFileName(const std::string &name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}

} // namespace

std::string FileSettingsStore::UserConfigFolder() {
  if (const char *config = std::getenv("XDG_CONFIG_HOME"); isAbsolute(config)) return config;
  const std::string home = homeFolder();
  return home.empty() ? std::string() : home + "/.config";
}

std::string FileSettingsStore::Location(const std::string &key) const {
  std::vector<std::string> parts;
  std::size_t begin = 0;
  while (begin <= key.size()) {
    std::size_t end = key.find('\\', begin);
    if (end == std::string::npos) end = key.size();
    if (end > begin) parts.push_back(key.substr(begin, end - begin));
    begin = end + 1;
  }
  if (m_configFolder.empty() || parts.size() < 2) return {};
  const std::string &org = parts[parts.size() - 2];
  const std::string &app = parts.back();
  if (!isPlainFileName(org) || !isPlainFileName(app)) return {};
  return m_configFolder + "/" + org + "/" + app + ".conf";
}

framework::FileContents &FileSettingsStore::contents(const std::string &path) {
  auto found = m_files.find(path);
  if (found == m_files.end())
    found = m_files.emplace(path, framework::ReadRegularFile(path, MaxSettingsFileBytes)).first;
  return found->second;
}

std::optional<std::string> FileSettingsStore::ReadString(const std::string &key,
                                                         const std::string &value) {
  const std::string path = Location(key);
  if (path.empty()) return std::nullopt;
  const framework::FileContents &file = contents(path);
  if (file.State != framework::FileContents::Status::Read) return std::nullopt;
  return ini::ReadTopLevelString(file.Text, value);
}

bool FileSettingsStore::WriteString(const std::string &key, const std::string &value,
                                    const std::string &data) {
  const std::string path = Location(key);
  if (path.empty() || !MakeParentFolders(path)) return false;
  const auto lock = SettingsLock::TryTake(path + ".lock");
  if (!lock) return false;
  framework::FileContents &file = contents(path);
  // Another instance may have saved since; its lines are kept too.
  if (framework::StampOf(path) != file.Stamp)
    file = framework::ReadRegularFile(path, MaxSettingsFileBytes);
  using Status = framework::FileContents::Status;
  if (file.State != Status::Read && file.State != Status::Missing) return false;
  std::string text = ini::WithTopLevelString(file.Text, value, data);
  // A file past the limit would be refused at the next start and never saved again.
  if (text.size() > MaxSettingsFileBytes) return false;
  if (!ReplaceSettingsFile(path, text)) {
    m_files.erase(path); // whatever the failed save left is read again when next needed
    return false;
  }
  file = {Status::Read, 0, std::move(text), framework::StampOf(path)};
  return true;
}

std::unique_ptr<SettingsStore> MakeUserSettingsStore() {
  return std::make_unique<FileSettingsStore>(FileSettingsStore::UserConfigFolder());
}

} // namespace platform
