#include "skin/theme/ThemeFileSearch.h"

#include <sys/stat.h>

namespace skin::theme {

namespace {

bool Exists(const std::string &path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

} // namespace

std::optional<std::string> FindThemeFile(const std::string &name,
                                         const std::string &programFolder) {
  if (name.empty()) return std::nullopt;
  if (Exists(name)) return name;
  const std::size_t slash = name.rfind('/');
  const std::string fileName = slash == std::string::npos ? name : name.substr(slash + 1);
  if (fileName.empty() || programFolder.empty()) return std::nullopt;
  std::string beside = programFolder;
  if (beside.back() != '/') beside += '/';
  beside += fileName;
  if (Exists(beside)) return beside;
  return std::nullopt;
}

} // namespace skin::theme
