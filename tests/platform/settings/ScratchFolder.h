#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

// A fresh folder for each test, removed afterwards, and its paths as the UTF-8 our file calls take.
class ScratchFolder : public ::testing::Test {
protected:
  void SetUp() override {
    m_folder = std::filesystem::temp_directory_path() /
               ("quelvane-files-" + std::to_string(std::random_device{}()));
    ASSERT_TRUE(std::filesystem::create_directory(m_folder));
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }

  static std::string utf8(const std::filesystem::path &path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
  }
  std::filesystem::path at(const std::u8string &name) const { return m_folder / name; }
  std::string write(const std::u8string &name, const std::string &text) const {
    std::ofstream(at(name), std::ios::binary | std::ios::trunc) << text;
    return utf8(at(name));
  }

  std::filesystem::path m_folder;
};
