#include "hid/SysfsText.h"

#include <gtest/gtest.h>

using namespace hid::sysfs;

namespace {

// A hid device's uevent as the kernel writes it (uhid receiver in the QEMU check).
const char Uevent[] = "DRIVER=hid-generic\n"
                      "HID_ID=0003:00003A7E:00000A11\n"
                      "HID_NAME=Virtual Receiver\n"
                      "HID_PHYS=uhid-vm/input0\n"
                      "HID_UNIQ=SN0001\n"
                      "MODALIAS=hid:b0003g0001v00003A7Ep00000A11\n";

} // namespace

TEST(SysfsText, ParsesUeventLines) {
  const auto kv = ParseUevent(Uevent);
  ASSERT_EQ(kv.size(), 6u);
  EXPECT_EQ(kv[0].first, "DRIVER");
  EXPECT_EQ(kv[0].second, "hid-generic");
  EXPECT_EQ(kv[2].second, "Virtual Receiver");
  EXPECT_EQ(UeventValue(Uevent, "HID_PHYS"), "uhid-vm/input0");
  EXPECT_EQ(UeventValue(Uevent, "HID_UNIQ"), "SN0001");
  EXPECT_FALSE(UeventValue(Uevent, "HID"));
  EXPECT_FALSE(UeventValue(Uevent, "MISSING"));
}

TEST(SysfsText, UeventEdgeCases) {
  EXPECT_TRUE(ParseUevent("").empty());
  EXPECT_TRUE(ParseUevent("\n\n").empty());
  // No trailing newline, CRLF, a line without '=', an empty key, '=' inside the value, empty value.
  const auto kv = ParseUevent("garbage\n=x\nA=1\r\nB=x=y\nC=\nD=last");
  ASSERT_EQ(kv.size(), 4u);
  EXPECT_EQ(kv[0], (std::pair<std::string, std::string>{"A", "1"}));
  EXPECT_EQ(kv[1], (std::pair<std::string, std::string>{"B", "x=y"}));
  EXPECT_EQ(kv[2], (std::pair<std::string, std::string>{"C", ""}));
  EXPECT_EQ(kv[3], (std::pair<std::string, std::string>{"D", "last"}));
  // The first of duplicate keys wins.
  EXPECT_EQ(UeventValue("K=1\nK=2\n", "K"), "1");
}

TEST(SysfsText, ParsesHidId) {
  EXPECT_EQ(ParseHidId("0003:00003A7E:00000A11"), (HidId{0x03, 0x3A7E, 0x0A11}));
  EXPECT_EQ(ParseHidId("0005:00002C19:00000B22\n"), (HidId{0x05, 0x2C19, 0x0B22}));
  EXPECT_EQ(ParseHidId("0003:00003a7e:00000a11"), (HidId{0x03, 0x3A7E, 0x0A11})); // lower case
  EXPECT_EQ(ParseHidId("0018:0000FFFF:0000FFFF"), (HidId{0x18, 0xFFFF, 0xFFFF}));
}

TEST(SysfsText, RejectsBadHidId) {
  EXPECT_FALSE(ParseHidId(""));
  EXPECT_FALSE(ParseHidId("0003"));
  EXPECT_FALSE(ParseHidId("0003:00003A7E"));
  EXPECT_FALSE(ParseHidId("0003:00003A7E:"));
  EXPECT_FALSE(ParseHidId(":00003A7E:00000A11"));
  EXPECT_FALSE(ParseHidId("0003:00013A7E:00000A11")); // vendor above 16 bits
  EXPECT_FALSE(ParseHidId("0003:00003A7E:00000A11:1"));
  EXPECT_FALSE(ParseHidId("0003:0x3A7E:00000A11"));
  EXPECT_FALSE(ParseHidId("0003:-0003A7E:00000A11"));
  EXPECT_FALSE(ParseHidId("0003:00003A7E:FFFFFFFFFFFFFFFFFFFF"));
}

TEST(SysfsText, ParsesHexAndDecimalAttributes) {
  EXPECT_EQ(ParseHex16("0111\n"), 0x0111);
  EXPECT_EQ(ParseHex16("ffff"), 0xFFFF);
  EXPECT_EQ(ParseHex16("  2a "), 0x2A);
  EXPECT_FALSE(ParseHex16("10000"));
  EXPECT_FALSE(ParseHex16(""));
  EXPECT_FALSE(ParseHex16("\n"));
  EXPECT_FALSE(ParseHex16("12g4"));
  EXPECT_EQ(ParseDecimal32("3\n"), 3u);
  EXPECT_EQ(ParseDecimal32("4294967295"), 4294967295u);
  EXPECT_FALSE(ParseDecimal32("4294967296"));
  EXPECT_FALSE(ParseDecimal32("-1"));
  EXPECT_FALSE(ParseDecimal32(""));
}

TEST(SysfsText, TrimsStringAttributes) {
  EXPECT_EQ(TrimLine("USB Receiver\n"), "USB Receiver");
  EXPECT_EQ(TrimLine("  spaces kept  \r\n"), "  spaces kept  ");
  EXPECT_EQ(TrimLine(""), "");
}

TEST(SysfsText, CollectionPaths) {
  EXPECT_EQ(CollectionPath("/dev/hidraw3", 0), "/dev/hidraw3#col01");
  EXPECT_EQ(CollectionPath("/dev/hidraw3", 11), "/dev/hidraw3#col12");
  EXPECT_EQ(ParseInterfacePath("/dev/hidraw3#col01"), (InterfacePath{"/dev/hidraw3", 0}));
  EXPECT_EQ(ParseInterfacePath("/dev/hidraw3#col12"), (InterfacePath{"/dev/hidraw3", 11}));
  EXPECT_EQ(ParseInterfacePath("/dev/hidraw3"), (InterfacePath{"/dev/hidraw3", 0}));
  EXPECT_FALSE(ParseInterfacePath(""));
  EXPECT_FALSE(ParseInterfacePath("#col01"));
  EXPECT_FALSE(ParseInterfacePath("/dev/hidraw3#col00"));
  EXPECT_FALSE(ParseInterfacePath("/dev/hidraw3#col"));
  EXPECT_FALSE(ParseInterfacePath("/dev/hidraw3#colx1"));
  EXPECT_FALSE(ParseInterfacePath("/dev/hidraw3#col1234"));
  EXPECT_FALSE(ParseInterfacePath("/dev/hidraw3#x"));
  EXPECT_FALSE(ParseInterfacePath("/dev/hid#raw3#col01"));
}

TEST(SysfsText, HardwareIdsOfOneAndSeveralCollections) {
  EXPECT_EQ(
      HardwareIds(0x3A7E, 0x0A11, 0x0111, 0, 1),
      (std::vector<std::string>{"HID\\VID_3A7E&PID_0A11&REV_0111", "HID\\VID_3A7E&PID_0A11"}));
  EXPECT_EQ(HardwareIds(0x3A7E, 0x0A11, 0, 1, 4),
            (std::vector<std::string>{
                "HID\\VID_3A7E&PID_0A11&REV_0000&Col02", "HID\\VID_3A7E&PID_0A11&Col02",
                "HID\\VID_3A7E&PID_0A11&REV_0000", "HID\\VID_3A7E&PID_0A11"}));
}

TEST(SysfsText, CompatibleIds) {
  EXPECT_EQ(CompatibleIds(0x01, 0x02),
            (std::vector<std::string>{"HID_DEVICE_SYSTEM_MOUSE", "HID_DEVICE_UP:0001_U:0002",
                                      "HID_DEVICE"}));
  EXPECT_EQ(CompatibleIds(0xFF00, 0x01),
            (std::vector<std::string>{"HID_DEVICE_UP:FF00_U:0001", "HID_DEVICE"}));
}
