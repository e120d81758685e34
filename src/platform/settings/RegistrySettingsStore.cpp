#include "platform/settings/RegistrySettingsStore.h"

#include "framework/files/WindowsPath.h"

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {
namespace {

using framework::FromWide;
using framework::ToWide;

// A value may change between asking its size and reading it.
constexpr int ReadTries = 3;

// A registry key closed on destruction; it holds one only after a call that succeeded, whatever
// a failed call left in its out-parameter.
class UniqueKey {
public:
  UniqueKey() = default;
  ~UniqueKey() {
    if (m_key) ::RegCloseKey(m_key);
  }
  UniqueKey(const UniqueKey &) = delete;
  UniqueKey &operator=(const UniqueKey &) = delete;

  HKEY get() const { return m_key; }

  bool open(HKEY root, const std::wstring &path, REGSAM access) {
    HKEY key = nullptr;
    const LSTATUS status = ::RegOpenKeyExW(root, path.c_str(), 0, access, &key);
    return take(status, key);
  }
  bool create(HKEY root, const std::wstring &path, REGSAM access) {
    HKEY key = nullptr;
    const LSTATUS status = ::RegCreateKeyExW(
        root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    return take(status, key);
  }

private:
  bool take(LSTATUS status, HKEY key) {
    if (status != ERROR_SUCCESS) return false;
    if (m_key) ::RegCloseKey(m_key);
    m_key = key;
    return true;
  }

  HKEY m_key = nullptr;
};

bool isString(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ;
}

// The stored units up to the first NUL: a writer need not store the terminating one.
std::string textOf(const std::vector<wchar_t> &units, DWORD bytes) {
  const std::wstring_view stored(units.data(), bytes / sizeof(wchar_t));
  return FromWide(stored.substr(0, stored.find(L'\0')));
}

} // namespace

std::optional<std::string> RegistrySettingsStore::ReadString(const std::string &key,
                                                             const std::string &value) {
  const std::optional<std::wstring> wideKey = ToWide(key);
  const std::optional<std::wstring> wideValue = ToWide(value);
  if (!wideKey || !wideValue) return std::nullopt;
  UniqueKey opened;
  if (!opened.open(m_root, *wideKey, KEY_QUERY_VALUE)) return std::nullopt;
  for (int attempt = 0; attempt < ReadTries; ++attempt) {
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    if (::RegQueryValueExW(opened.get(), wideValue->c_str(), nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        !isString(type) || bytes > MaxRegistryStringBytes)
      return std::nullopt;
    // A unit more than asked for, so that what is read always ends in a NUL.
    std::vector<wchar_t> units(bytes / sizeof(wchar_t) + 2, L'\0');
    DWORD room = static_cast<DWORD>((units.size() - 1) * sizeof(wchar_t));
    const LSTATUS status = ::RegQueryValueExW(opened.get(), wideValue->c_str(), nullptr, &type,
                                              reinterpret_cast<BYTE *>(units.data()), &room);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS || !isString(type)) return std::nullopt;
    return textOf(units, room);
  }
  return std::nullopt;
}

bool RegistrySettingsStore::WriteString(const std::string &key, const std::string &value,
                                        const std::string &data) {
  const std::optional<std::wstring> wideKey = ToWide(key);
  const std::optional<std::wstring> wideValue = ToWide(value);
  const std::optional<std::wstring> wideData = ToWide(data);
  if (!wideKey || !wideValue || !wideData) return false;
  // The terminating NUL is stored too, as readers that trust it expect. What could not be read
  // back is not written.
  const std::size_t bytes = (wideData->size() + 1) * sizeof(wchar_t);
  if (bytes > MaxRegistryStringBytes) return false;
  UniqueKey opened;
  if (!opened.open(m_root, *wideKey, KEY_SET_VALUE) &&
      !opened.create(m_root, *wideKey, KEY_SET_VALUE))
    return false;
  return ::RegSetValueExW(opened.get(), wideValue->c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE *>(wideData->c_str()),
                          static_cast<DWORD>(bytes)) == ERROR_SUCCESS;
}

std::unique_ptr<SettingsStore> MakeUserSettingsStore() {
  return std::make_unique<RegistrySettingsStore>();
}

} // namespace platform
