#include "ControllerFixture.h"

#include <thread>

namespace {

using hid::SimulatedHidBinding;
using hid::TJvHidDevice;
using hid::TJvHidDeviceController;
using hid::VirtualDevice;

// A receiver interface that accepts every request and answers 0x42 ... 0xCC.
VirtualDevice MakeDevice(const std::string &id) {
  VirtualDevice d = fakes::HidInterface(id);
  d.Caps.InputReportByteLength = 5;
  d.OnSetFeature = [](const std::uint8_t *, std::size_t) { return true; };
  d.OnGetFeature = [](std::uint8_t *report, std::size_t) {
    report[1] = 0x42;
    report[7] = 0xCC;
    return true;
  };
  return d;
}

class DeviceTest : public hidtest::ControllerFixture {
protected:
  void Start(std::initializer_list<std::string> ids) {
    for (const auto &id : ids)
      binding.Add(MakeDevice(id));
    controller = std::make_unique<TJvHidDeviceController>(binding, loop, &trace);
    loop.RunPending();
  }
};

TEST_F(DeviceTest, ThreadSleepTimeAcceptsOnlyTenToTenThousand) {
  Start({"a"});
  TJvHidDevice *device = controller->DeviceList().at(0);
  EXPECT_EQ(device->ThreadSleepTime(), 100);
  for (const auto &[set, kept] : {std::pair{10, 10}, {9, 10}, {10000, 10000}, {10001, 10000}}) {
    device->SetThreadSleepTime(set);
    EXPECT_EQ(device->ThreadSleepTime(), kept) << set;
  }
}

TEST_F(DeviceTest, FreeDeviceWorksOnlyThroughItsCreationHandle) {
  Start({"a"});
  TJvHidDevice *device = controller->DeviceList().at(0);
  EXPECT_TRUE(device->HasMainHandle());
  EXPECT_TRUE(device->ReadWriteAccess());
  EXPECT_EQ(device->Attributes().Size, 12u);
  EXPECT_EQ(device->Attributes().VendorID, 0x3A7E);

  EXPECT_EQ(device->GetCaps().FeatureReportByteLength, 9); // works, then closes the handle
  EXPECT_FALSE(device->HasMainHandle());
  EXPECT_EQ(binding.OpenHandleCount(), 0u);

  std::uint8_t report[9] = {1, 9};
  EXPECT_FALSE(device->GetFeature(report, sizeof report));
  EXPECT_FALSE(device->SetFeature(report, sizeof report));
  EXPECT_TRUE(device->GetProductName().empty());
  EXPECT_EQ(device->GetCaps().UsagePage, 1); // from the cached data
  EXPECT_EQ(CountCalls("preparsed"), 1u);

  // The trace saw both refused calls, with the buffer as it was.
  ASSERT_EQ(trace.Features.size(), 2u);
  EXPECT_FALSE(trace.Features[0].Ok);
  EXPECT_EQ(trace.Features[0].Op, hid::HidTrace::FeatureOp::Get);
  EXPECT_EQ(trace.Features[1].Op, hid::HidTrace::FeatureOp::Set);
}

TEST_F(DeviceTest, HeldDeviceReopensForFeatureReportsAndTracesThem) {
  Start({"a"});
  std::unique_ptr<TJvHidDevice> device;
  ASSERT_TRUE(controller->CheckOutAt(0, device));
  EXPECT_EQ(device->GetProductName(), u"Dev a");
  EXPECT_FALSE(device->HasMainHandle());
  std::uint8_t report[9] = {1, 9};
  EXPECT_TRUE(device->SetFeature(report, sizeof report));
  EXPECT_TRUE(device->GetFeature(report, sizeof report));
  EXPECT_EQ(report[1], 0x42);
  ASSERT_EQ(trace.Features.size(), 2u);
  EXPECT_EQ(trace.Features[1].Path, "sim:a");
  EXPECT_EQ(trace.Features[1].Bytes[7], 0xCC); // bytes after the call
  EXPECT_TRUE(trace.Features[1].Ok);

  binding.Find("a")->FailGetFeature = true;
  EXPECT_FALSE(device->GetFeature(report, sizeof report));
  EXPECT_FALSE(trace.Features.back().Ok);
  EXPECT_FALSE(device->GetFeature(nullptr, 9));
}

TEST_F(DeviceTest, QueryOnlyDeviceIdentifiesButRefusesReports) {
  auto d = MakeDevice("q");
  d.Access = VirtualDevice::Access::QueryOnly;
  binding.Add(d);
  Start({});
  std::unique_ptr<TJvHidDevice> device;
  ASSERT_TRUE(controller->CheckOutAt(0, device));
  EXPECT_FALSE(device->ReadWriteAccess());
  EXPECT_EQ(device->Attributes().ProductID, 0x0A11);
  std::uint8_t report[9] = {1};
  EXPECT_FALSE(device->GetFeature(report, sizeof report));
  EXPECT_EQ(device->GetCaps().Usage, 2);
}

TEST_F(DeviceTest, DeviceThatCannotBeOpenedIsListedWithZeroAttributes) {
  auto d = MakeDevice("n");
  d.Access = VirtualDevice::Access::None;
  binding.Add(d);
  Start({});
  ASSERT_EQ(controller->DeviceCount(), 1);
  TJvHidDevice *device = controller->DeviceList()[0];
  EXPECT_EQ(device->Attributes().VendorID, 0);
  EXPECT_EQ(device->GetCaps().FeatureReportByteLength, 0);
}

TEST_F(DeviceTest, SetNumInputBuffersStoresWhatThePlatformReportsAndSkipsRepeats) {
  Start({"a"});
  std::unique_ptr<TJvHidDevice> device;
  ASSERT_TRUE(controller->CheckOutAt(0, device));
  binding.ClearCalls();
  device->SetNumInputBuffers(128);
  EXPECT_EQ(device->NumInputBuffers(), 128u);
  EXPECT_EQ(CountCalls("set_buffers"), 1u);
  binding.ClearCalls();
  device->SetNumInputBuffers(128);
  EXPECT_TRUE(binding.Calls().empty());

  device->SetNumInputBuffers(1000); // refused by the platform: keeps what it reports
  EXPECT_EQ(device->NumInputBuffers(), 128u);

  device->SetNumReadBuffers(128);
  EXPECT_EQ(device->NumReadBuffers(), 128u);
  device->GetCaps(); // closes the main handle, which loses its count; the read handle keeps it
  EXPECT_EQ(device->NumInputBuffers(), 0u);
  EXPECT_EQ(device->NumReadBuffers(), 128u);
}

TEST_F(DeviceTest, CheckInLeavesAFreshFreeDeviceAtTheSameIndex) {
  Start({"a", "b", "c"});
  std::unique_ptr<TJvHidDevice> device;
  ASSERT_TRUE(controller->CheckOutAt(1, device));
  device->SetThreadSleepTime(250);
  device->GetCaps(); // closes its handle
  const std::uint64_t oldSerial = device->Serial();
  ExpectCounts(2, 1, 0);

  device.reset();
  const auto list = controller->DeviceList();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_NE(list[1]->Serial(), oldSerial);
  EXPECT_EQ(list[1]->PnPInfo().DevicePath(), "sim:b");
  EXPECT_FALSE(list[1]->CheckedOut());
  EXPECT_TRUE(list[1]->HasMainHandle());
  EXPECT_EQ(list[1]->ThreadSleepTime(), 250);
  ExpectCounts(3, 0, 0);
}

TEST_F(DeviceTest, CheckInWhoseReplacementFailsDropsTheEntryWithoutThrowing) {
  Start({"a", "b", "c"});
  std::unique_ptr<TJvHidDevice> device;
  ASSERT_TRUE(controller->CheckOutAt(1, device));
  binding.Find("b")->FailAttributes = true;
  EXPECT_NO_THROW(device.reset());
  EXPECT_EQ(Paths(), (std::vector<std::string>{"sim:a", "sim:c"}));
  ExpectCounts(2, 0, 0);

  // Once the interface identifies itself again, a scan lists it again, appended.
  binding.Find("b")->FailAttributes = false;
  controller->DeviceChange();
  EXPECT_EQ(Paths(), (std::vector<std::string>{"sim:a", "sim:c", "sim:b"}));
}

TEST_F(DeviceTest, UnplugIsReportedOnceEvenWhenHandledTwice) {
  Start({"a"});
  std::unique_ptr<TJvHidDevice> device;
  ASSERT_TRUE(controller->CheckOutAt(0, device));
  int unplugs = 0;
  static const char tag = 0;
  device->SetOnUnplug(hid::TJvHidPlugEvent::fromFunction([&](TJvHidDevice *) { ++unplugs; }, &tag));
  binding.Unplug("a");
  loop.RunPending();
  controller->DeviceChange();
  EXPECT_EQ(unplugs, 1);
  // A new controller default reaches the unplugged device, but it is not told twice.
  controller->SetOnDeviceUnplug(
      hid::TJvHidPlugEvent::fromFunction([&](TJvHidDevice *) { ++unplugs; }, &tag));
  controller->DeviceChange();
  EXPECT_EQ(unplugs, 1);
  EXPECT_FALSE(device->Plugged());
  EXPECT_FALSE(device->OnUnplug());
  std::uint8_t report[9] = {1};
  EXPECT_FALSE(device->GetFeature(report, sizeof report));
}

TEST_F(DeviceTest, UnplugHandlerMayDestroyTheDevice) {
  Start({"a", "b"});
  std::unique_ptr<TJvHidDevice> device;
  ASSERT_TRUE(controller->CheckOutAt(0, device));
  static const char tag = 0;
  device->SetOnUnplug(
      hid::TJvHidPlugEvent::fromFunction([&](TJvHidDevice *) { device.reset(); }, &tag));
  binding.Unplug("a");
  loop.RunPending();
  EXPECT_EQ(device, nullptr);
  ASSERT_EQ(controller->DeviceCount(), 1);
  ExpectCounts(1, 0, 0);
}

class ReaderThreadTest : public DeviceTest {
protected:
  struct Received {
    std::uint8_t ReportID;
    std::vector<std::uint8_t> Data;
    std::uint16_t Size;
    std::thread::id Thread;
  };
  void Attach(TJvHidDevice &target) {
    static const char tag = 0;
    target.SetOnData(hid::TJvHidDataEvent::fromFunction(
        [this](TJvHidDevice *, std::uint8_t id, const std::uint8_t *data, std::uint16_t size) {
          received.push_back({id, {data, data + size}, size, std::this_thread::get_id()});
        },
        &tag));
  }
  // Device "a", held, with a fast reader; read errors are recorded.
  void Hold() {
    Start({"a"});
    ASSERT_TRUE(controller->CheckOutAt(0, device));
    device->SetThreadSleepTime(10);
    static const char tag = 0;
    device->SetOnDataError(hid::TJvHidDataErrorEvent::fromFunction(
        [this](TJvHidDevice *, std::uint32_t error) { errors.push_back(error); }, &tag));
  }
  std::vector<Received> received;
  std::vector<std::uint32_t> errors;
  std::unique_ptr<TJvHidDevice> device;
};

TEST_F(ReaderThreadTest, DeliversInputReportsOnTheMainThreadAndStopsCleanly) {
  ASSERT_NO_FATAL_FAILURE(Hold());
  EXPECT_FALSE(device->ThreadRunning());
  Attach(*device);
  ASSERT_TRUE(device->ThreadRunning());

  binding.PushInputReport("a", {7, 1, 2, 3, 4});
  ASSERT_TRUE(loop.RunUntil([&] { return received.size() == 1; }));
  EXPECT_EQ(received[0].ReportID, 7);
  EXPECT_EQ(received[0].Size, 4);
  EXPECT_EQ(received[0].Data, (std::vector<std::uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(received[0].Thread, std::this_thread::get_id());

  binding.PushInputReport("a", {9});
  ASSERT_TRUE(loop.RunUntil([&] { return received.size() == 2; }));
  EXPECT_EQ(received[1].ReportID, 9);
  EXPECT_EQ(received[1].Size, 0);

  // Clearing the handler stops the thread.
  device->SetOnData({});
  EXPECT_FALSE(device->ThreadRunning());
  device.reset();
  EXPECT_EQ(controller->FreeCount(), 1);
}

TEST_F(ReaderThreadTest, StopServesAHandOverThatIsStillWaiting) {
  ASSERT_NO_FATAL_FAILURE(Hold());
  Attach(*device);
  binding.PushInputReport("a", {3, 5});
  // Wait for the hand-over to be posted but do not run it: the reader is now blocked.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (loop.Pending() == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_GT(loop.Pending(), 0u);
  device.reset(); // must not deadlock
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].ReportID, 3);
  loop.RunPending(); // the stale wake-up finds nothing to do
  EXPECT_EQ(received.size(), 1u);
}

TEST_F(ReaderThreadTest, HandlerMayStopItsOwnThread) {
  ASSERT_NO_FATAL_FAILURE(Hold());
  static const char tag = 0;
  int calls = 0;
  device->SetOnData(hid::TJvHidDataEvent::fromFunction(
      [&](TJvHidDevice *, std::uint8_t, const std::uint8_t *, std::uint16_t) {
        ++calls;
        device.reset();
      },
      &tag));
  binding.PushInputReport("a", {1, 2});
  ASSERT_TRUE(loop.RunUntil([&] { return device == nullptr; }));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(controller->FreeCount(), 1);
}

TEST_F(ReaderThreadTest, UnpluggedDeviceReportsReadErrorsUntilStopped) {
  ASSERT_NO_FATAL_FAILURE(Hold());
  Attach(*device);
  binding.Unplug("a");
  ASSERT_TRUE(loop.RunUntil([&] { return errors.size() >= 2; }));
  EXPECT_NE(errors[0], 0u);
  EXPECT_FALSE(device->Plugged());
  EXPECT_TRUE(device->ThreadRunning()); // the unplug does not stop it
  device.reset();
  EXPECT_EQ(controller->DeviceCount(), 0);
  EXPECT_EQ(controller->UnpluggedCount(), 0);
}

TEST_F(ReaderThreadTest, ReaderRetriesOpeningItsReadHandleUntilItOpens) {
  ASSERT_NO_FATAL_FAILURE(Hold());
  binding.Find("a")->FailOpen = true; // the read handle cannot be opened when the thread starts
  Attach(*device);
  ASSERT_TRUE(device->ThreadRunning());
  ASSERT_TRUE(loop.RunUntil([&] { return errors.size() >= 2; }));
  EXPECT_EQ(errors[0], SimulatedHidBinding::ErrorAccessDenied);

  binding.Find("a")->FailOpen = false;
  binding.PushInputReport("a", {4, 2});
  ASSERT_TRUE(loop.RunUntil([&] { return received.size() == 1; }));
  EXPECT_EQ(received[0].ReportID, 4);
  EXPECT_EQ(received[0].Data, std::vector<std::uint8_t>{2});
  device.reset();
  EXPECT_EQ(binding.OpenHandleCount(), 1u); // only the check-in replacement's main handle
}

TEST_F(ReaderThreadTest, NoThreadForAFreeOrQueryOnlyDevice) {
  auto d = MakeDevice("q");
  d.Access = VirtualDevice::Access::QueryOnly;
  binding.Add(d);
  Start({"a"});
  TJvHidDevice *free = controller->DeviceList()[1];
  Attach(*free);
  EXPECT_FALSE(free->ThreadRunning());
  std::unique_ptr<TJvHidDevice> query;
  ASSERT_TRUE(controller->CheckOutAt(0, query));
  Attach(*query);
  EXPECT_FALSE(query->ThreadRunning());
  // A held device starts its reader when checked out with a handler already set.
  std::unique_ptr<TJvHidDevice> held;
  ASSERT_TRUE(controller->CheckOutAt(1, held));
  EXPECT_TRUE(held->ThreadRunning());
}

} // namespace
