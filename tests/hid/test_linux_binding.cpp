// The real binding on whatever machine runs the tests: no hardware and no root assumed. The
// check against the kernel's HID stack with a virtual device is tests/uhid/.
#include "hid/LinuxHidBinding.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <poll.h>
#include <set>
#include <string>
#include <vector>

using hid::MakeLinuxHidBinding;
using hid::OpenMode;

TEST(LinuxHidBinding, BindsAndEnumerates) {
  auto binding = MakeLinuxHidBinding();
  ASSERT_TRUE(binding);
  EXPECT_TRUE(binding->Bound());     // udev_new() needs nothing but memory
  EXPECT_TRUE(binding->Enumerate()); // a readable /sys: an empty list without HID devices
}

// The interfaces this machine has. Without any there is nothing to check, and the tests say so
// instead of passing on an empty list.
class LinuxHidBindingListed : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(binding && binding->Bound());
    list = binding->Enumerate();
    ASSERT_TRUE(list);
    if (list->empty())
      GTEST_SKIP() << "no hidraw nodes on this machine; tests/uhid/run.sh checks the binding "
                      "against a virtual device on a real kernel";
  }

  std::unique_ptr<hid::HidBinding> binding = MakeLinuxHidBinding();
  std::optional<std::vector<hid::InterfaceRecord>> list;
};

TEST_F(LinuxHidBindingListed, PathsAndInstancesAreDistinct) {
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

TEST_F(LinuxHidBindingListed, DeviceInstancesAreStableAcrossScans) {
  const auto b = binding->Enumerate();
  ASSERT_TRUE(b);
  // Devices may come and go between the scans on a real machine; those present in both keep
  // their instance.
  for (const auto &ra : *list)
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

TEST_F(LinuxHidBindingListed, EveryInterfaceOpensQueryOnlyWithItsAttributes) {
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
