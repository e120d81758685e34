// The real binding on whatever machine runs the tests: no hardware and no root assumed. The
// check against the kernel's HID stack with a virtual device is tests/uhid/.
#include "hid/LinuxHidBinding.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <set>

using hid::MakeLinuxHidBinding;
using hid::OpenMode;

TEST(LinuxHidBinding, BindsAndEnumeratesWithoutCrashing) {
  auto binding = MakeLinuxHidBinding();
  ASSERT_TRUE(binding);
  ASSERT_TRUE(binding->Bound()); // udev_new() needs nothing but memory
  const auto list = binding->Enumerate();
  ASSERT_TRUE(list); // a readable /sys: an empty list on a machine without HID devices
  std::set<std::uint32_t> instances;
  std::set<std::string> paths;
  for (const auto &r : *list) {
    EXPECT_EQ(r.DevicePath.rfind("/dev/", 0), 0u) << r.DevicePath;
    EXPECT_EQ(r.Properties.ClassName, "HIDClass");
    EXPECT_NE(r.DeviceInstance, 0u);
    instances.insert(r.DeviceInstance);
    paths.insert(r.DevicePath);
  }
  EXPECT_EQ(instances.size(), list->size()); // distinct per collection
  EXPECT_EQ(paths.size(), list->size());
}

TEST(LinuxHidBinding, DeviceInstancesAreStableAcrossScans) {
  auto binding = MakeLinuxHidBinding();
  const auto a = binding->Enumerate();
  const auto b = binding->Enumerate();
  ASSERT_TRUE(a && b);
  // Devices may come and go between the scans on a real machine; those present in both keep
  // their instance.
  for (const auto &ra : *a)
    for (const auto &rb : *b)
      if (ra.DevicePath == rb.DevicePath &&
          ra.Properties.PhysicalDeviceObjectName == rb.Properties.PhysicalDeviceObjectName) {
        EXPECT_EQ(ra.DeviceInstance, rb.DeviceInstance) << ra.DevicePath;
      }
}

TEST(LinuxHidBinding, OpeningANonexistentPathFailsWithErrno) {
  auto binding = MakeLinuxHidBinding();
  for (OpenMode mode : {OpenMode::ReadWrite, OpenMode::QueryOnly, OpenMode::OverlappedRead,
                        OpenMode::OverlappedWrite}) {
    std::uint32_t error = 0;
    EXPECT_FALSE(binding->Open("/dev/hidraw-quelvane-missing#col01", mode, error));
    EXPECT_EQ(error, static_cast<std::uint32_t>(ENOENT));
  }
}

TEST(LinuxHidBinding, OpeningSomethingThatIsNotHidrawFails) {
  auto binding = MakeLinuxHidBinding();
  std::uint32_t error = 0;
  EXPECT_FALSE(binding->Open("/dev/null", OpenMode::QueryOnly, error)); // a char device, not hidraw
  EXPECT_EQ(error, static_cast<std::uint32_t>(ENODEV));
  error = 0;
  EXPECT_FALSE(binding->Open("/tmp", OpenMode::QueryOnly, error)); // not a char device
  EXPECT_EQ(error, static_cast<std::uint32_t>(ENODEV));
  error = 0;
  EXPECT_FALSE(binding->Open("", OpenMode::QueryOnly, error));
  EXPECT_NE(error, 0u);
  error = 0;
  EXPECT_FALSE(binding->Open("/dev/null#col00", OpenMode::QueryOnly, error));
  EXPECT_NE(error, 0u);
}

TEST(LinuxHidBinding, EveryListedInterfaceOpensQueryOnlyWithItsCaps) {
  auto binding = MakeLinuxHidBinding();
  const auto list = binding->Enumerate();
  ASSERT_TRUE(list);
  for (const auto &r : *list) {
    std::uint32_t error = 0;
    auto h = binding->Open(r.DevicePath, OpenMode::QueryOnly, error);
    if (!h) continue; // unplugged between the scan and now
    hid::HIDD_ATTRIBUTES attributes;
    EXPECT_TRUE(h->GetAttributes(attributes)) << r.DevicePath;
    // Query-only refuses feature reports and reads.
    std::uint8_t report[9] = {1};
    EXPECT_FALSE(h->GetFeature(report, sizeof report));
    EXPECT_FALSE(h->SetFeature(report, sizeof report));
    EXPECT_EQ(h->Read(report, sizeof report, 0).Status, hid::ReadStatus::Error);
  }
}

TEST(LinuxHidBinding, MonitorFdIsPollableAndDrainsWithoutEvents) {
  auto binding = MakeLinuxHidBinding();
  int calls = 0;
  binding->SetDeviceTreeListener([&calls] { ++calls; });
  const int fd = binding->DeviceTreeEventFd();
  if (fd < 0) GTEST_SKIP() << "no netlink monitor in this environment";
  pollfd p{fd, POLLIN, 0};
  if (::poll(&p, 1, 0) == 0) {
    binding->DeviceTreeEventReady(); // nothing pending: no notification, no blocking
    EXPECT_EQ(calls, 0);
  }
}
