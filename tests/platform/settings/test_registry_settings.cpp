#include "platform/settings/RegistrySettingsStore.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

using platform::MaxRegistryStringBytes;
using platform::RegistrySettingsStore;
using namespace std::string_literals;

namespace {

const std::string Key = "Software\\KESTRAVO\\TELVARIN";
const std::wstring WideKey = L"Software\\KESTRAVO\\TELVARIN";
const std::string Value = "LngSection";

} // namespace

// A scratch key under HKEY_CURRENT_USER stands for the root, so that the user's own settings are
// never touched; it goes with everything below it.
class Registry : public ::testing::Test {
protected:
  void SetUp() override {
    m_path = L"Software\\QuelvaneTests\\" + std::to_wstring(std::random_device{}());
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &m_root, nullptr),
              ERROR_SUCCESS);
    m_store = std::make_unique<RegistrySettingsStore>(m_root);
  }
  void TearDown() override {
    if (m_root) ::RegCloseKey(m_root);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
  }

  // Stores the value as another program (or damage) might have left it.
  void putRaw(DWORD type, const std::string &bytes) const {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(m_root, WideKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExW(key, L"LngSection", 0, type,
                               reinterpret_cast<const BYTE *>(bytes.data()),
                               static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
  }
  // The value's type and bytes as the registry holds them; none when it is not there.
  std::optional<std::pair<DWORD, std::string>> raw() const {
    DWORD type = 0;
    std::string bytes(MaxRegistryStringBytes * 2, '\0');
    DWORD size = static_cast<DWORD>(bytes.size());
    if (::RegGetValueW(m_root, WideKey.c_str(), L"LngSection", RRF_RT_ANY | RRF_NOEXPAND, &type,
                       bytes.data(), &size) != ERROR_SUCCESS)
      return std::nullopt;
    bytes.resize(size);
    return std::pair{type, bytes};
  }
  bool keyExists() const {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(m_root, WideKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
  }
  static std::string utf16(const std::wstring &text, bool withNul = true) {
    return {reinterpret_cast<const char *>(text.c_str()),
            (text.size() + (withNul ? 1 : 0)) * sizeof(wchar_t)};
  }

  std::wstring m_path;
  HKEY m_root = nullptr;
  std::unique_ptr<RegistrySettingsStore> m_store;
};

TEST_F(Registry, AFirstStartFindsNothing) {
  EXPECT_EQ(m_store->ReadString(Key, Value), std::nullopt);
  putRaw(REG_SZ, utf16(L"Cht"));
  EXPECT_EQ(m_store->ReadString(Key, "OtherValue"), std::nullopt);
  EXPECT_EQ(m_store->ReadString("Software\\KESTRAVO\\OTHER", Value), std::nullopt);
}

TEST_F(Registry, ReadsBackWhatItSavedAsAUnicodeString) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"Cht", L"Cht"},
      {"", L""},
      {"\xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x90\xAD", L"\u4E2D\u6587 \U0001F42D"},
      {std::string(MaxRegistryStringBytes / 2 - 1, 'x'),
       std::wstring(MaxRegistryStringBytes / 2 - 1, L'x')},
  };
  for (const auto &[text, stored] : cases) {
    ASSERT_TRUE(m_store->WriteString(Key, Value, text)) << text;
    EXPECT_EQ(RegistrySettingsStore(m_root).ReadString(Key, Value), text);
    EXPECT_EQ(raw(), std::pair(DWORD{REG_SZ}, utf16(stored))) << text;
  }
}

TEST_F(Registry, ForeignOrDamagedValuesReadAsNothing) {
  const std::pair<DWORD, std::string> cases[] = {
      {REG_DWORD, "\x01\0\0\0"s},
      {REG_BINARY, "Cht"},
      {REG_BINARY, utf16(L"Cht")},
      {REG_MULTI_SZ, utf16(L"Cht") + "\0\0"s},
      {REG_NONE, utf16(L"Cht")},
      {REG_SZ, utf16(std::wstring(MaxRegistryStringBytes / 2, L'x'))},
      {REG_SZ, utf16(std::wstring(1 << 20, L'x'))},
  };
  for (const auto &[type, bytes] : cases) {
    putRaw(type, bytes);
    EXPECT_EQ(m_store->ReadString(Key, Value), std::nullopt) << type << " " << bytes.size();
  }
}

TEST_F(Registry, StringsStoredLooselyReadAsTheirText) {
  const std::tuple<DWORD, std::string, std::string> cases[] = {
      {REG_SZ, utf16(L"Cht", false), "Cht"},     {REG_SZ, utf16(L"Cht", false) + "\x41", "Cht"},
      {REG_SZ, utf16(L"Cht\0Chs"s), "Cht"},      {REG_SZ, "", ""},
      {REG_EXPAND_SZ, utf16(L"%Chs%"), "%Chs%"},
  };
  for (const auto &[type, bytes, text] : cases) {
    putRaw(type, bytes);
    EXPECT_EQ(m_store->ReadString(Key, Value), text) << text;
  }
}

TEST_F(Registry, WritingCreatesTheKeyOnlyWhenItIsMissing) {
  ASSERT_TRUE(m_store->WriteString(Key, Value, "Chs"));
  EXPECT_EQ(m_store->ReadString(Key, Value), "Chs");
  // The key now exists: a second write goes into it and leaves its other values.
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(m_root, WideKey.c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
  const DWORD one = 1;
  ::RegSetValueExW(key, L"Other", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&one), sizeof one);
  ::RegCloseKey(key);
  ASSERT_TRUE(m_store->WriteString(Key, Value, "Eng"));
  EXPECT_EQ(m_store->ReadString(Key, Value), "Eng");
  DWORD kept = 0;
  DWORD size = sizeof kept;
  EXPECT_EQ(
      ::RegGetValueW(m_root, WideKey.c_str(), L"Other", RRF_RT_REG_DWORD, nullptr, &kept, &size),
      ERROR_SUCCESS);
  EXPECT_EQ(kept, 1u);
}

TEST_F(Registry, WhatCouldNotBeReadBackIsNotWritten) {
  const std::pair<std::string, std::string> cases[] = {
      {Value, "Ch\xFF"},
      {Value, "Cht\0Chs"s},
      {Value, std::string(MaxRegistryStringBytes / 2, 'x')},
      {"Lng\xC3", "Cht"},
  };
  for (const auto &[value, text] : cases) {
    EXPECT_FALSE(m_store->WriteString(Key, value, text)) << text.size();
    EXPECT_FALSE(keyExists()) << text.size();
  }
}
