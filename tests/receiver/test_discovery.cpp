#include "ReceiverLogicFixture.h"

namespace receiver::test {
namespace {

using Discovery = ReceiverLogicTest;

void ExpectNotConnected(const FakeView &view, const FakeTimer &status, const FakeTimer &softBind) {
  EXPECT_FALSE(view.LedValue);
  EXPECT_EQ(view.Vid, "");
  EXPECT_EQ(view.Pid, "");
  EXPECT_EQ(view.Cpi, "");
  EXPECT_EQ(view.Value, 0);
  EXPECT_EQ(view.Label, " ");
  EXPECT_EQ(view.Button, "&Connect");
  EXPECT_FALSE(view.ButtonEnabled);
  EXPECT_FALSE(status.Running());
  EXPECT_FALSE(softBind.Running());
}

TEST_F(Discovery, NoDeviceOrNoSupportedDeviceLeavesTheWindowNotConnected) {
  Start();
  EXPECT_EQ(m_deviceChanges, 1);
  ExpectNotConnected(m_view, m_status, m_softBind);
  EXPECT_EQ(m_connection.CurrentReceiver(), nullptr);

  // A mouse with the right caps but unknown IDs, and a supported pair of IDs with the wrong caps.
  m_binding.Add(HidInterface("mouse", 0x1234, 0x5678, 1, 2, 9), false);
  m_binding.Add(HidInterface("keys", StandardVendor, StandardProduct, 12, 1, 9), false);
  m_binding.Plug("mouse");
  m_binding.Plug("keys");
  m_loop.processPendingMessages();
  EXPECT_EQ(m_deviceChanges, 2);
  ExpectNotConnected(m_view, m_status, m_softBind);
  EXPECT_EQ(m_view.Entries.size(), 2u);
  EXPECT_EQ(Logic().DeviceCount(), 2u);
}

TEST_F(Discovery, ConnectsToASupportedReceiverAndShowsItsReadouts) {
  VirtualReceiver &r = AddReceiver("rx", With([](VirtualReceiverState &s) {
                                     s.Battery = 0x15;
                                     s.Cpi = 9;
                                   }),
                                   0x0A12);
  Start();
  EXPECT_EQ(m_connection.CurrentReceiver(), Logic().Device(0));
  EXPECT_EQ(m_view.Entries, std::vector<std::string>{"Dev rx"});
  EXPECT_EQ(m_view.Vid, "3A7E");
  EXPECT_EQ(m_view.Pid, "0A12");
  EXPECT_TRUE(m_view.LedValue);
  EXPECT_EQ(m_view.LedColor, ReceiverLogic::ColorRed); // pairing started
  EXPECT_TRUE(m_view.LedBlink);
  EXPECT_TRUE(m_softBind.Running());
  EXPECT_TRUE(m_status.Running());
  EXPECT_TRUE(m_view.ButtonEnabled);
  EXPECT_EQ(m_view.Button, "&Connecting");
  EXPECT_EQ(m_view.Max, 6);
  EXPECT_EQ(m_view.Value, 5);
  EXPECT_EQ(m_view.Label, "83%");
  EXPECT_EQ(m_view.Cpi, "LOW");
  EXPECT_EQ(r.PairRequests(), 1);
  EXPECT_FALSE(m_connection.AltReceiver());
  const hid::TJvHidDevice *device = Logic().Device(0);
  EXPECT_EQ(device->NumReadBuffers(), 128u);
  int inputBuffers = 0;
  for (const hid::SimulatedCall &call : m_binding.Calls())
    inputBuffers += call.Op == "set_buffers" && call.Value == 128 ? 1 : 0;
  EXPECT_EQ(inputBuffers, 2); // the main handle, then the read handle
}

TEST_F(Discovery, OnlyTheSupportedReceiverNearestTheEndIsTried) {
  AddReceiver("first");
  AddReceiver("last", {}, 0x0A16); // alternative kind
  Start();
  EXPECT_EQ(m_view.Pid, "0A16");
  EXPECT_TRUE(m_connection.AltReceiver());
  EXPECT_EQ(Sent("first", CmdStatus), 0);
  ASSERT_EQ(Logic().DeviceCount(), 2u);
  EXPECT_EQ(m_connection.CurrentReceiver(), Logic().Device(1));
}

TEST_F(Discovery, AFailedStatusExchangeEndsTheSearchWithTheIdsShown) {
  AddReceiver("first");
  AddReceiver("last", With([](VirtualReceiverState &s) { s.FailReads = true; }), 0x0A12);
  Start();
  EXPECT_EQ(Sent("first", CmdStatus), 0);
  EXPECT_EQ(Sent("last", CmdStatus), 1);
  EXPECT_EQ(m_view.Vid, "3A7E");
  EXPECT_EQ(m_view.Pid, "0A12");
  EXPECT_FALSE(m_view.LedValue);
  EXPECT_FALSE(m_view.ButtonEnabled);
  EXPECT_EQ(m_connection.CurrentReceiver(), nullptr);
  EXPECT_FALSE(m_status.Running());
}

TEST_F(Discovery, OnlyTheInterfaceWithMatchingCapsIsTaken) {
  // One receiver, several interfaces: keyboard without feature report, a vendor page, and the
  // mouse collection with the command report. The last one listed is the wrong one.
  AddReceiver("mouse", {}, StandardProduct, 9, 2);
  AddPlain(HidInterface("vendor", StandardVendor, StandardProduct, 0xFF00, 1, 9));
  AddPlain(HidInterface("consumer", StandardVendor, StandardProduct, 12, 1, 9));
  AddPlain(HidInterface("keyboard", StandardVendor, StandardProduct, 1, 6, 0));
  Start();
  EXPECT_EQ(m_connection.CurrentReceiver(), Logic().Device(0));
  EXPECT_TRUE(m_view.LedValue);
  for (const hid::SimulatedCall &call : m_binding.Calls()) {
    if (call.Op == "set_feature") {
      EXPECT_EQ(call.Path, m_binding.PathOf("mouse"));
    }
  }
}

TEST_F(Discovery, AKeyboardUsageCollectionIsAccepted) {
  AddReceiver("kb", {}, StandardProduct, 9, 6);
  Start();
  EXPECT_NE(m_connection.CurrentReceiver(), nullptr);
}

TEST_F(Discovery, FeatureLengthsComeFromTheReceiverCaps) {
  AddReceiver("rx", With([](VirtualReceiverState &s) { s.Battery = 0x13; }), StandardProduct, 20);
  Start();
  EXPECT_EQ(m_connection.SetFeatureLength(), 20u);
  EXPECT_EQ(m_connection.GetFeatureLength(), 20u);
  EXPECT_EQ(m_view.Label, "50%");
}

TEST_F(Discovery, AFailedConnectBatteryExchangeKeepsTheOldScale) {
  VirtualReceiver &r = Connected();
  ASSERT_EQ(m_view.Max, 6);
  // Reconnect with a receiver whose battery answer cannot be read on the first try.
  m_view.Max = 100;
  int gets = 0;
  hid::VirtualDevice *device = m_binding.Find("rx");
  device->OnGetFeature = [&r, &gets](std::uint8_t *data, std::size_t length) {
    ++gets;
    // Status exchange of the walk, status of the pairing start, then the battery exchange.
    return gets != 3 && r.OnGetFeature(data, length);
  };
  m_binding.Unplug("rx");
  m_loop.processPendingMessages();
  m_binding.Plug("rx");
  m_loop.processPendingMessages();
  EXPECT_TRUE(m_view.LedValue);
  EXPECT_TRUE(m_status.Running());
  EXPECT_EQ(m_view.Max, 100);
  EXPECT_EQ(m_view.Label, " "); // no readouts at connect
}

TEST_F(Discovery, UnpluggingTheReceiverResetsTheWindow) {
  Connected();
  ASSERT_TRUE(m_view.LedValue);
  m_binding.Unplug("rx");
  m_loop.processPendingMessages();
  ExpectNotConnected(m_view, m_status, m_softBind);
  EXPECT_EQ(m_connection.CurrentReceiver(), nullptr);
  EXPECT_EQ(Logic().DeviceCount(), 0u);
  EXPECT_EQ(m_controller->HeldCount(), 0);
}

TEST_F(Discovery, AnUnrelatedDeviceArrivingStartsANewPairingAttempt) {
  VirtualReceiver &r = AddReceiver("rx");
  m_binding.Add(HidInterface("other", 0x1111, 0x2222, 1, 2, 0), false);
  Start();
  m_softBind.Stop();
  m_view.LedBlink = false;
  m_binding.Plug("other");
  m_loop.processPendingMessages();
  EXPECT_EQ(r.PairRequests(), 2);
  EXPECT_TRUE(m_view.LedBlink);
  EXPECT_EQ(m_view.LedColor, ReceiverLogic::ColorRed);
  EXPECT_TRUE(m_softBind.Running());
  EXPECT_EQ(Logic().DeviceCount(), 2u);
  // Every device went back and was claimed again: none is held twice, none is lost.
  EXPECT_EQ(m_controller->HeldCount(), 2);
}

// A status tick's queries pump messages; an unplug delivered there rebuilds the device list
// under the running query.
TEST_F(Discovery, ADeviceChangeInsideAQueryPumpLeavesNoDanglingReceiver) {
  Connected();
  m_loop.OnPump = [this](int) {
    m_loop.OnPump = nullptr;
    m_binding.Unplug("rx");
  };
  const int getsBefore = m_receivers.at("rx")->Gets();
  Logic().tmrStatusTimer();
  EXPECT_EQ(m_deviceChanges, 2);
  EXPECT_EQ(m_connection.CurrentReceiver(), nullptr);
  EXPECT_EQ(Logic().DeviceCount(), 0u);
  EXPECT_FALSE(m_view.LedValue);
  EXPECT_EQ(m_view.Pid, "");
  EXPECT_FALSE(m_view.ButtonEnabled);
  EXPECT_FALSE(m_softBind.Running());
  // The remaining queries found no receiver and read nothing more.
  EXPECT_EQ(m_receivers.at("rx")->Gets(), getsBefore + 1);
  // The tick restarts its timer regardless; the ticks that follow only keep the LED off.
  EXPECT_TRUE(m_status.Running());
  m_view.LedValue = true;
  Logic().tmrStatusTimer();
  EXPECT_FALSE(m_view.LedValue);
  EXPECT_TRUE(m_status.Running());
}

TEST_F(Discovery, ADeviceChangeInsideAQueryPumpCanReplaceTheReceiver) {
  AddReceiver("old");
  VirtualReceiver &fresh = AddReceiver("new", With([](VirtualReceiverState &s) {
                                         s.Battery = 0x12;
                                         s.Cpi = 50;
                                       }),
                                       0x0A12);
  m_binding.Unplug("new");
  Start();
  ASSERT_EQ(m_view.Pid, "0A11");
  m_loop.OnPump = [this](int) {
    m_loop.OnPump = nullptr;
    m_binding.Plug("new");
  };
  Logic().tmrStatusTimer();
  EXPECT_EQ(m_view.Pid, "0A12");
  EXPECT_EQ(m_connection.CurrentReceiver(), Logic().Device(1));
  EXPECT_EQ(m_view.Label, "33%");
  EXPECT_EQ(m_view.Cpi, "HIGH");
  EXPECT_TRUE(m_status.Running());
  EXPECT_GT(fresh.Gets(), 0);
}

// A change can reach the handler while it pumps before its walk (e.g. from a second controller
// user); the outer walk must then not run over the replaced list.
TEST_F(Discovery, ADeviceChangeInsideTheClaimPumpTakesOverTheWalk) {
  VirtualReceiver &r = Connected();
  const int statusBefore = Sent("rx", CmdStatus);
  bool nested = false;
  m_loop.OnPump = [this, &nested](int) {
    if (nested) return;
    nested = true;
    Logic().JvHidDeviceController1DeviceChange();
  };
  Logic().JvHidDeviceController1DeviceChange();
  m_loop.OnPump = nullptr;
  EXPECT_EQ(m_connection.CurrentReceiver(), Logic().Device(0));
  EXPECT_EQ(r.PairRequests(), 2); // one connect: the nested one
  EXPECT_GT(Sent("rx", CmdStatus), statusBefore);
  EXPECT_EQ(m_controller->HeldCount(), 1);
}

TEST(DeviceName, ProductNamesBecomeUtf8AndBadSurrogatesAreReplaced) {
  hid::SimulatedHidBinding binding;
  TestMessageLoop loop;
  hid::VirtualDevice device = HidInterface("d");
  device.ProductName = u"M\u00FCs \U0001F5B1 ";
  device.ProductName += char16_t{0xD800};
  binding.Add(std::move(device));
  hid::TJvHidDeviceController controller(binding, loop);
  loop.processPendingMessages();
  std::unique_ptr<hid::TJvHidDevice> held;
  ASSERT_TRUE(controller.CheckOutNext(held));
  EXPECT_EQ(ReceiverLogic::GetDeviceName(*held), "M\xC3\xBCs \xF0\x9F\x96\xB1 \xEF\xBF\xBD");
}

} // namespace
} // namespace receiver::test
