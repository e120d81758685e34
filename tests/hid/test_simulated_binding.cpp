#include "common/SimulatedDevices.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using fakes::HidInterface;
using hid::OpenMode;
using hid::SimulatedHidBinding;
using hid::VirtualDevice;

TEST(SimulatedBinding, EnumeratesPluggedDevicesInOrderWithFreshInstancePerPlug) {
  SimulatedHidBinding binding;
  int notifications = 0;
  binding.SetDeviceTreeListener([&] { ++notifications; });
  binding.Add(HidInterface("a"));
  binding.Add(HidInterface("b"), false);
  binding.Add(HidInterface("c"));
  EXPECT_EQ(notifications, 0);

  auto first = binding.Enumerate();
  ASSERT_TRUE(first);
  ASSERT_EQ(first->size(), 2u);
  EXPECT_EQ((*first)[0].DevicePath, "sim:a");
  EXPECT_EQ((*first)[1].DevicePath, "sim:c");
  const auto instanceA = (*first)[0].DeviceInstance;

  EXPECT_TRUE(binding.Plug("b"));
  EXPECT_FALSE(binding.Plug("b"));
  EXPECT_TRUE(binding.Unplug("a"));
  EXPECT_FALSE(binding.Unplug("a"));
  EXPECT_TRUE(binding.Plug("a"));
  EXPECT_EQ(notifications, 3);
  auto second = binding.Enumerate();
  ASSERT_EQ(second->size(), 3u);
  EXPECT_EQ((*second)[0].DevicePath, "sim:a");
  EXPECT_NE((*second)[0].DeviceInstance, instanceA);

  binding.SetEnumerationFails(true);
  EXPECT_FALSE(binding.Enumerate());
  EXPECT_THROW(binding.Add(HidInterface("a")), std::invalid_argument);
}

TEST(SimulatedBinding, AccessRightsDecideWhichOpensSucceed) {
  SimulatedHidBinding binding;
  auto query = HidInterface("q");
  query.Access = VirtualDevice::Access::QueryOnly;
  binding.Add(query);
  auto none = HidInterface("n");
  none.Access = VirtualDevice::Access::None;
  binding.Add(none);
  std::uint32_t error = 0;
  EXPECT_EQ(binding.Open("sim:q", OpenMode::ReadWrite, error), nullptr);
  EXPECT_EQ(error, SimulatedHidBinding::ErrorAccessDenied);
  auto handle = binding.Open("sim:q", OpenMode::QueryOnly, error);
  ASSERT_NE(handle, nullptr);
  hid::HIDD_ATTRIBUTES attributes;
  EXPECT_TRUE(handle->GetAttributes(attributes));
  EXPECT_EQ(attributes.VendorID, 0x3A7E);
  std::uint8_t report[9] = {1};
  EXPECT_FALSE(handle->GetFeature(report, sizeof report)); // query-only refuses reports
  EXPECT_EQ(binding.Open("sim:n", OpenMode::QueryOnly, error), nullptr);
  EXPECT_EQ(binding.Open("sim:missing", OpenMode::QueryOnly, error), nullptr);
  EXPECT_EQ(error, SimulatedHidBinding::ErrorNotFound);
  EXPECT_EQ(binding.OpenHandleCount(), 1u);
  handle.reset();
  EXPECT_EQ(binding.OpenHandleCount(), 0u);
}

TEST(SimulatedBinding, HandlesOfAnUnpluggedDeviceFailEvenAfterReplug) {
  SimulatedHidBinding binding;
  binding.Add(HidInterface("a"));
  std::uint32_t error = 0;
  auto handle = binding.Open("sim:a", OpenMode::ReadWrite, error);
  ASSERT_NE(handle, nullptr);
  binding.Unplug("a");
  binding.Plug("a");
  hid::HIDD_ATTRIBUTES attributes;
  EXPECT_FALSE(handle->GetAttributes(attributes));
  std::u16string name;
  EXPECT_FALSE(handle->GetProductString(name, 254));
  EXPECT_EQ(handle->GetPreparsedData(), nullptr);
  std::uint8_t buffer[4];
  EXPECT_EQ(handle->Read(buffer, sizeof buffer, 0).Status, hid::ReadStatus::Error);
}

TEST(SimulatedBinding, FeatureHandlersNeverWritePastTheCallersLength) {
  SimulatedHidBinding binding;
  auto d = HidInterface("a", 0x3A7E, 0x0A11, 1, 2, 32);
  d.OnGetFeature = [](std::uint8_t *report, std::size_t) {
    for (int i = 0; i < 32; ++i) // answers its full 32-byte report whatever was asked
      report[i] = 0xAB;
    return true;
  };
  std::vector<std::uint8_t> written;
  d.OnSetFeature = [&](const std::uint8_t *report, std::size_t length) {
    written.assign(report, report + length);
    return true;
  };
  binding.Add(d);
  std::uint32_t error = 0;
  auto handle = binding.Open("sim:a", OpenMode::ReadWrite, error);
  std::uint8_t buffer[12] = {};
  buffer[0] = 1;
  EXPECT_TRUE(handle->GetFeature(buffer, 9));
  EXPECT_EQ(buffer[8], 0xAB);
  EXPECT_EQ(buffer[9], 0); // beyond the length: untouched
  const std::uint8_t request[9] = {1, 9};
  EXPECT_TRUE(handle->SetFeature(request, sizeof request));
  EXPECT_EQ(written, std::vector<std::uint8_t>(request, request + 9));
  EXPECT_EQ(binding.Calls().back().Op, "set_feature");

  binding.Find("a")->FailGetFeature = true;
  EXPECT_FALSE(handle->GetFeature(buffer, 9));
  EXPECT_FALSE(binding.Calls().back().Ok);
}

TEST(SimulatedBinding, InputBufferCountsStayWithinPlatformLimits) {
  SimulatedHidBinding binding;
  binding.Add(HidInterface("a"));
  std::uint32_t error = 0;
  auto handle = binding.Open("sim:a", OpenMode::ReadWrite, error);
  std::uint32_t count = 0;
  EXPECT_FALSE(handle->SetNumInputBuffers(1));
  EXPECT_FALSE(handle->SetNumInputBuffers(513));
  EXPECT_TRUE(handle->SetNumInputBuffers(128));
  EXPECT_TRUE(handle->GetNumInputBuffers(count));
  EXPECT_EQ(count, 128u);
}

TEST(SimulatedBinding, ReadDeliversQueuedReportsAndCancelWakesAWaitingRead) {
  SimulatedHidBinding binding;
  binding.Add(HidInterface("a"));
  std::uint32_t error = 0;
  auto handle = binding.Open("sim:a", OpenMode::OverlappedRead, error);
  binding.PushInputReport("a", {5, 1, 2, 3});
  std::uint8_t buffer[3] = {};
  auto result = handle->Read(buffer, sizeof buffer, 0);
  EXPECT_EQ(result.Status, hid::ReadStatus::Data);
  EXPECT_EQ(result.Count, 3u); // clipped to the buffer
  EXPECT_EQ(buffer[0], 5);
  EXPECT_EQ(handle->Read(buffer, sizeof buffer, 0).Status, hid::ReadStatus::Timeout);

  const auto start = std::chrono::steady_clock::now();
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    handle->CancelIo();
  });
  result = handle->Read(buffer, sizeof buffer, 10000);
  canceller.join();
  EXPECT_EQ(result.Status, hid::ReadStatus::Timeout);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

  std::thread unplugger([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    binding.Unplug("a");
  });
  EXPECT_EQ(handle->Read(buffer, sizeof buffer, 10000).Status, hid::ReadStatus::Error);
  unplugger.join();
}

} // namespace
