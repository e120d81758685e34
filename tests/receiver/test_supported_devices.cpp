#include "receiver/SupportedDevices.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <utility>

namespace receiver {
namespace {

using Ids = std::pair<std::uint32_t, std::uint32_t>;

std::string Hex(const Ids &ids) {
  char text[16];
  std::snprintf(text, sizeof text, "%04X:%04X", ids.first, ids.second);
  return text;
}

// The IDs the udev rule grants access to. A line that matches a hid device in any other form
// fails, so that a typo (lower-case hex, a missing tag) cannot hide a receiver.
std::set<Ids> RuleIds() {
  std::ifstream rule(QUELVANE_UDEV_RULE);
  EXPECT_TRUE(rule.is_open()) << QUELVANE_UDEV_RULE;
  static const std::regex grant(
      R"re(SUBSYSTEMS=="hid", KERNELS=="\*:([0-9A-F]{4}):([0-9A-F]{4})\.\*", TAG\+="uaccess")re");
  std::set<Ids> ids;
  std::string line;
  for (int number = 1; std::getline(rule, line); ++number) {
    if (line.starts_with('#') || line.find("KERNELS") == std::string::npos) continue;
    std::smatch match;
    if (!std::regex_match(line, match, grant)) {
      ADD_FAILURE() << "line " << number << " is not a grant for one receiver: " << line;
      continue;
    }
    const Ids found(std::stoul(match[1], nullptr, 16), std::stoul(match[2], nullptr, 16));
    EXPECT_TRUE(ids.insert(found).second) << "line " << number << " repeats " << Hex(found);
  }
  return ids;
}

TEST(SupportedDeviceTable, TheUdevRuleGrantsExactlyTheTablesReceivers) {
  const std::set<Ids> rule = RuleIds();
  ASSERT_FALSE(rule.empty());
  std::set<Ids> table;
  for (const SupportedDevice &row : SupportedDevices)
    table.emplace(row.VendorID, row.ProductID);
  for (const Ids &ids : table)
    EXPECT_TRUE(rule.contains(ids)) << Hex(ids) << " is in the table but not in the rule";
  for (const Ids &ids : rule)
    EXPECT_TRUE(table.contains(ids)) << Hex(ids) << " is in the rule but not in the table";
}

TEST(SupportedDeviceTable, RowsAreUniqueAndFoundByTheirIds) {
  std::set<Ids> ids;
  for (const SupportedDevice &row : SupportedDevices)
    EXPECT_TRUE(ids.emplace(row.VendorID, row.ProductID).second);
  EXPECT_EQ(FindSupportedRow(0x3A7E, 0x0A11), 0u);
  EXPECT_EQ(FindSupportedRow(0x2C19, 0x0B21), 2u);
  EXPECT_EQ(SupportedDevices[2].Third, 14u);
  EXPECT_EQ(FindSupportedRow(0x3A7E, 0x0A16), 5u);
  EXPECT_FALSE(FindSupportedRow(0x0A11, 0x3A7E));
  EXPECT_FALSE(FindSupportedRow(0x3A7E, 0x0A13));
}

} // namespace
} // namespace receiver
