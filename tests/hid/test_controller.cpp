#include "ControllerFixture.h"

namespace {

using fakes::HidInterface;
using hid::TJvHidDevice;
using hid::TJvHidDeviceController;

// Records every controller and device event as text, in order.
class ControllerTest : public hidtest::ControllerFixture {
public:
  void Changed(TJvHidDeviceController *) { events.push_back("change"); }

protected:
  // Bound on the fixture type itself: a test's own `this` would make a different code part.
  hid::TNotifyEvent ChangeHandler() {
    return hid::TNotifyEvent::bind<&ControllerTest::Changed, ControllerTest>(this);
  }
  void Create(std::initializer_list<std::string> ids, bool run = true) {
    for (const auto &id : ids)
      binding.Add(HidInterface(id));
    controller = std::make_unique<TJvHidDeviceController>(binding, loop, &trace);
    controller->Loading();
    controller->SetOnDeviceChange(ChangeHandler());
    controller->SetOnArrival(hid::TJvHidPlugEvent::bind<&ControllerTest::Arrival>(this));
    controller->SetOnRemoval(hid::TJvHidPlugEvent::bind<&ControllerTest::Removal>(this));
    controller->SetOnDeviceUnplug(hid::TJvHidPlugEvent::bind<&ControllerTest::Unplug>(this));
    controller->Loaded();
    if (run) loop.RunPending();
  }
  void Arrival(TJvHidDevice *d) {
    EXPECT_TRUE(d->Reporting());
    events.push_back("arrival " + d->PnPInfo().DevicePath());
  }
  void Removal(TJvHidDevice *d) {
    EXPECT_FALSE(d->Plugged());
    events.push_back("removal " + d->PnPInfo().DevicePath());
  }
  void Unplug(TJvHidDevice *d) { events.push_back("unplug " + d->PnPInfo().DevicePath()); }

  std::vector<std::string> events;
};

TEST_F(ControllerTest, FirstScanIsPostedAndAlwaysReportsAChange) {
  Create({}, false);
  EXPECT_TRUE(events.empty()); // loading: the handler assignment did not scan
  EXPECT_EQ(CountCalls("enumerate"), 0u);
  loop.RunPending();
  EXPECT_EQ(events, (std::vector<std::string>{"change"}));
  EXPECT_EQ(controller->LastNotifyParam(), -1);

  // A later broadcast without any change raises nothing, but is traced.
  controller->NotifyWindowProc(TJvHidDeviceController::WM_DEVICECHANGE,
                               TJvHidDeviceController::DBT_DEVNODES_CHANGED, 0);
  EXPECT_EQ(events.size(), 1u);
  EXPECT_EQ(trace.Scans, (std::vector<std::pair<std::size_t, bool>>{{0, true}, {0, false}}));
  // Other messages are not looked at.
  controller->NotifyWindowProc(TJvHidDeviceController::WM_DEVICECHANGE, 0x8000, 0);
  controller->NotifyWindowProc(0x10, TJvHidDeviceController::DBT_DEVNODES_CHANGED, 0);
  EXPECT_EQ(CountCalls("enumerate"), 2u);
}

TEST_F(ControllerTest, AssigningTheSameChangeHandlerDoesNothing) {
  Create({"a"});
  const std::size_t before = CountCalls("enumerate");
  controller->SetOnDeviceChange(ChangeHandler());
  EXPECT_EQ(CountCalls("enumerate"), before);
  // A different handler outside loading scans at once.
  controller->SetOnDeviceChange({});
  EXPECT_EQ(CountCalls("enumerate"), before + 1);
}

TEST_F(ControllerTest, CheckOutBounds) {
  Create({"a", "b"});
  std::unique_ptr<TJvHidDevice> device;
  EXPECT_FALSE(controller->CheckOutAt(-1, device));
  EXPECT_EQ(device, nullptr);
  EXPECT_FALSE(controller->CheckOutAt(2, device));
  EXPECT_EQ(device, nullptr);

  std::unique_ptr<TJvHidDevice> first, second, third;
  EXPECT_TRUE(controller->CheckOutNext(first));
  EXPECT_TRUE(controller->CheckOutNext(second));
  EXPECT_EQ(first->PnPInfo().DevicePath(), "sim:a");
  EXPECT_EQ(second->PnPInfo().DevicePath(), "sim:b");
  EXPECT_FALSE(controller->CheckOutNext(third));
  EXPECT_EQ(third, nullptr);
  EXPECT_FALSE(controller->CheckOutAt(0, third)); // already held
  ExpectCounts(0, 2, 0);
}

// The controller keeps its place in the list between check-outs and finds entries by serial:
// whatever frees or moves an entry, the next check-out is still the first free one in list order,
// and a check-in still finds its entry.
TEST_F(ControllerTest, TheNextCheckOutIsTheFirstFreeEntryWhateverFreedIt) {
  Create({"a", "b", "c"});
  std::vector<std::unique_ptr<TJvHidDevice>> held(3);
  for (auto &device : held)
    ASSERT_TRUE(controller->CheckOutNext(device));
  held[1].reset();
  std::unique_ptr<TJvHidDevice> b;
  ASSERT_TRUE(controller->CheckOutNext(b));
  EXPECT_EQ(b->PnPInfo().DevicePath(), "sim:b");
  // Unplugged while held, then checked in, while a new device arrives.
  binding.Unplug("a");
  loop.RunPending();
  held[0].reset();
  binding.Add(HidInterface("d"), false);
  binding.Plug("d");
  loop.RunPending();
  held[2].reset();
  EXPECT_EQ(Paths(), (std::vector<std::string>{"sim:b", "sim:c", "sim:d"}));
  std::unique_ptr<TJvHidDevice> next;
  ASSERT_TRUE(controller->CheckOutNext(next));
  EXPECT_EQ(next->PnPInfo().DevicePath(), "sim:c");
  held.clear();
  b.reset();
  next.reset();
  ExpectCounts(3, 0, 0);
}

TEST_F(ControllerTest, HeldDeviceThatVanishesStaysListedUntilDestroyed) {
  Create({"a", "b"});
  std::unique_ptr<TJvHidDevice> device;
  ASSERT_TRUE(controller->CheckOutAt(0, device));
  events.clear();
  binding.Unplug("a");
  loop.RunPending();
  EXPECT_EQ(events, (std::vector<std::string>{"unplug sim:a", "removal sim:a", "change"}));
  EXPECT_EQ(Paths(), (std::vector<std::string>{"sim:a", "sim:b"}));
  ExpectCounts(1, 0, 1);

  // Every later scan reports it again (without a second unplug) until it is checked in.
  events.clear();
  controller->DeviceChange();
  EXPECT_EQ(events, (std::vector<std::string>{"removal sim:a", "change"}));

  device.reset();
  EXPECT_EQ(Paths(), (std::vector<std::string>{"sim:b"}));
  ExpectCounts(1, 0, 0);

  // The interface coming back while nothing holds the old object is a new device.
  binding.Plug("a");
  loop.RunPending();
  EXPECT_EQ(Paths(), (std::vector<std::string>{"sim:b", "sim:a"}));
}

TEST_F(ControllerTest, ReturningInterfaceIsListedBesideItsStillHeldOldObject) {
  Create({"a"});
  std::unique_ptr<TJvHidDevice> old;
  ASSERT_TRUE(controller->CheckOutAt(0, old));
  binding.Unplug("a");
  binding.Plug("a");
  loop.RunPending();
  EXPECT_EQ(Paths(), (std::vector<std::string>{"sim:a", "sim:a"}));
  ExpectCounts(1, 0, 1);
  old.reset();
  ExpectCounts(1, 0, 0);
  EXPECT_TRUE(controller->DeviceList()[0]->Plugged());
}

TEST_F(ControllerTest, FreeDeviceThatVanishesIsDroppedAndListClosesUp) {
  Create({"a", "b", "c"});
  events.clear();
  binding.Unplug("b");
  loop.RunPending();
  EXPECT_EQ(events, (std::vector<std::string>{"unplug sim:b", "removal sim:b", "change"}));
  EXPECT_EQ(Paths(), (std::vector<std::string>{"sim:a", "sim:c"}));
  ExpectCounts(2, 0, 0);
  EXPECT_EQ(binding.OpenHandleCount(), 2u); // the dropped device closed its handle
}

TEST_F(ControllerTest, EventsOfOneScanComeInDocumentedOrder) {
  Create({"a", "b", "c"});
  binding.Add(HidInterface("d"), false);
  binding.Add(HidInterface("e"), false);
  events.clear();
  binding.Unplug("a");
  binding.Unplug("c");
  binding.Plug("e");
  binding.Plug("d");
  loop.RunPending(); // four notifications, the first scan sees everything
  // Removals from the end of the list, arrivals in member order, one change.
  EXPECT_EQ(events, (std::vector<std::string>{"unplug sim:c", "removal sim:c", "unplug sim:a",
                                              "removal sim:a", "arrival sim:d", "arrival sim:e",
                                              "change"}));
  EXPECT_EQ(Paths(), (std::vector<std::string>{"sim:b", "sim:d", "sim:e"}));
}

TEST_F(ControllerTest, FailedEnumerationCountsEveryDeviceAsRemoved) {
  Create({"a", "b"});
  std::unique_ptr<TJvHidDevice> held;
  ASSERT_TRUE(controller->CheckOutAt(1, held));
  binding.SetEnumerationFails(true);
  controller->DeviceChange();
  EXPECT_EQ(Paths(), (std::vector<std::string>{"sim:b"}));
  EXPECT_FALSE(held->Plugged());
  ExpectCounts(0, 0, 1);
}

TEST_F(ControllerTest, DeviceThatCannotBeIdentifiedIsSkippedUntilItCan) {
  binding.Add(HidInterface("x"));
  binding.Find("x")->FailAttributes = true;
  Create({"a"});
  EXPECT_EQ(Paths(), (std::vector<std::string>{"sim:a"}));
  binding.Find("x")->FailAttributes = false;
  events.clear();
  controller->DeviceChange();
  EXPECT_EQ(Paths(), (std::vector<std::string>{"sim:a", "sim:x"}));
  EXPECT_EQ(events, (std::vector<std::string>{"arrival sim:x", "change"}));
}

TEST_F(ControllerTest, ArrivalHandlerMayQueryTheNewDevice) {
  Create({}, false);
  std::u16string name;
  static const char tag = 0;
  controller->SetOnArrival(hid::TJvHidPlugEvent::fromFunction(
      [&](TJvHidDevice *d) {
        d->GetCaps();               // closes the creation handle
        name = d->GetProductName(); // reopens: allowed while reporting
      },
      &tag));
  auto d = HidInterface("a");
  d.ProductName = u"Mouse";
  binding.Add(d);
  loop.RunPending();
  EXPECT_EQ(name, u"Mouse");
  EXPECT_FALSE(controller->DeviceList()[0]->Reporting());
}

TEST_F(ControllerTest, DevThreadSleepTimeReachesOnlyDevicesThatFollowedIt) {
  Create({"a", "b"});
  controller->DeviceList()[1]->SetThreadSleepTime(300);
  controller->SetDevThreadSleepTime(50);
  EXPECT_EQ(controller->DeviceList()[0]->ThreadSleepTime(), 50);
  EXPECT_EQ(controller->DeviceList()[1]->ThreadSleepTime(), 300);

  controller->SetDevThreadSleepTime(5); // out of the devices' range
  EXPECT_EQ(controller->DevThreadSleepTime(), 5);
  EXPECT_EQ(controller->DeviceList()[0]->ThreadSleepTime(), 50);
  binding.Add(HidInterface("c"));
  controller->DeviceChange();
  EXPECT_EQ(controller->DeviceList()[2]->ThreadSleepTime(), 100);
}

TEST_F(ControllerTest, DeviceHandlersFollowTheControllerDefaults) {
  Create({"a", "b"});
  static const char tagA = 0, tagB = 0;
  const auto errorA =
      hid::TJvHidDataErrorEvent::fromFunction([](TJvHidDevice *, std::uint32_t) {}, &tagA);
  const auto errorB =
      hid::TJvHidDataErrorEvent::fromFunction([](TJvHidDevice *, std::uint32_t) {}, &tagB);
  controller->DeviceList()[1]->SetOnDataError(errorB);
  controller->SetOnDeviceDataError(errorA);
  EXPECT_TRUE(controller->DeviceList()[0]->OnDataError() == errorA);
  EXPECT_TRUE(controller->DeviceList()[1]->OnDataError() == errorB); // its own, kept
  binding.Add(HidInterface("c"));
  controller->DeviceChange();
  EXPECT_TRUE(controller->DeviceList()[2]->OnDataError() == errorA);
  EXPECT_EQ(controller->Version(), "1.0.34");
  controller->SetVersion("2.0");
  EXPECT_EQ(controller->Version(), "1.0.34");
}

TEST_F(ControllerTest, NotificationDuringAScanLeadsToExactlyOneMoreScan) {
  Create({"a"});
  binding.Add(HidInterface("b"), false);
  binding.Add(HidInterface("c"), false);
  int changes = 0;
  static const char tag = 0;
  controller->Loading();
  controller->SetOnDeviceChange(hid::TNotifyEvent::fromFunction(
      [&](TJvHidDeviceController *) {
        if (++changes == 1) {
          // The handler pumps messages while more devices arrive.
          binding.Plug("b");
          loop.processPendingMessages();
          binding.Plug("c");
          loop.processPendingMessages();
        }
      },
      &tag));
  controller->Loaded();
  const std::size_t before = CountCalls("enumerate");
  binding.Unplug("a");
  loop.RunPending();
  EXPECT_EQ(CountCalls("enumerate"), before + 2);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(Paths(), (std::vector<std::string>{"sim:b", "sim:c"}));
  EXPECT_FALSE(controller->InDeviceChange());
  loop.RunPending();
  EXPECT_EQ(CountCalls("enumerate"), before + 2);
}

TEST_F(ControllerTest, UnboundBindingLeavesTheControllerInert) {
  binding.SetBound(false);
  Create({"a"});
  EXPECT_TRUE(controller->Inert());
  EXPECT_EQ(loop.Pending(), 0u);
  controller->DeviceChange();
  binding.Unplug("a");
  EXPECT_EQ(loop.Pending(), 0u);
  EXPECT_EQ(controller->DeviceCount(), 0);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(CountCalls("enumerate"), 0u);
}

TEST_F(ControllerTest, DestructionDestroysFreeDevicesAndUnplugsHeldOnes) {
  Create({"a", "b"});
  std::unique_ptr<TJvHidDevice> held;
  ASSERT_TRUE(controller->CheckOutAt(1, held));
  events.clear();
  loop.post([] {}); // something queued keeps nothing alive
  binding.Unplug("a");
  controller.reset();
  EXPECT_EQ(events, (std::vector<std::string>{"unplug sim:b"}));
  EXPECT_FALSE(held->Plugged());
  EXPECT_EQ(held->Controller(), nullptr);
  EXPECT_EQ(binding.OpenHandleCount(), 0u);
  loop.RunPending(); // a notification posted before the end reaches nothing
  binding.Plug("a"); // the listener is gone
  EXPECT_EQ(loop.Pending(), 0u);
  held.reset();
}

TEST_F(ControllerTest, RemovalHandlerMayCheckInTheDevice) {
  Create({"a", "b"});
  std::unique_ptr<TJvHidDevice> held;
  ASSERT_TRUE(controller->CheckOutAt(0, held));
  static const char tag = 0;
  controller->SetOnRemoval(hid::TJvHidPlugEvent::fromFunction(
      [&](TJvHidDevice *d) {
        if (d == held.get()) held.reset();
      },
      &tag));
  binding.Unplug("a");
  binding.Unplug("b");
  loop.RunPending();
  EXPECT_EQ(held, nullptr);
  EXPECT_EQ(controller->DeviceCount(), 0);
  ExpectCounts(0, 0, 0);
}

} // namespace
