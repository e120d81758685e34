#pragma once

#include "hid/HidTrace.h"
#include "hid/JvHidDeviceController.h"
#include "hid/SimulatedHidBinding.h"

#include "common/SimulatedDevices.h"
#include "common/TestMessageLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace hidtest {

// Every feature call and scan the controller traces.
struct RecordingTrace final : hid::HidTrace {
  struct FeatureCall {
    std::string Path;
    FeatureOp Op;
    std::vector<std::uint8_t> Bytes;
    bool Ok;
  };
  std::vector<FeatureCall> Features;
  std::vector<std::pair<std::size_t, bool>> Scans;
  void Feature(const std::string &path, FeatureOp op, const std::uint8_t *bytes, std::size_t length,
               bool ok) override {
    Features.push_back({path, op, std::vector<std::uint8_t>(bytes, bytes + length), ok});
  }
  void Scan(std::size_t devices, bool changed) override { Scans.emplace_back(devices, changed); }
};

// A controller over a simulated machine; the test creates it.
class ControllerFixture : public ::testing::Test {
protected:
  std::size_t CountCalls(const std::string &op) const {
    const auto &calls = binding.Calls();
    return static_cast<std::size_t>(
        std::count_if(calls.begin(), calls.end(), [&](const auto &c) { return c.Op == op; }));
  }
  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const hid::TJvHidDevice *d : controller->DeviceList())
      paths.push_back(d->PnPInfo().DevicePath());
    return paths;
  }
  void ExpectCounts(int free, int held, int unplugged) const {
    EXPECT_EQ(controller->FreeCount(), free);
    EXPECT_EQ(controller->HeldCount(), held);
    EXPECT_EQ(controller->UnpluggedCount(), unplugged);
  }

  hid::SimulatedHidBinding binding;
  TestMessageLoop loop;
  RecordingTrace trace;
  std::unique_ptr<hid::TJvHidDeviceController> controller;
};

} // namespace hidtest
