#pragma once

#include "common/SimulatedDevices.h"
#include "common/TestMessageLoop.h"

#include "hid/JvHidDeviceController.h"
#include "hid/SimulatedHidBinding.h"
#include "receiver/ReceiverConnection.h"
#include "receiver/ReceiverLogic.h"
#include "receiver/VirtualReceiver.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace receiver::test {

using fakes::HidInterface;

// The window's controls as plain values, starting as the window description leaves them.
class FakeView final : public ReceiverView {
public:
  void SetLedValue(bool value) override { LedValue = value; }
  void SetLedTrueColor(std::uint32_t color) override { LedColor = color; }
  void SetLedBlink(bool blink) override { LedBlink = blink; }
  void SetVidText(const std::string &text) override { Vid = text; }
  void SetPidText(const std::string &text) override { Pid = text; }
  void SetCpiText(const TermText &text) override { Cpi = text.Bytes; }
  double GaugeMin() const override { return Min; }
  double GaugeMax() const override { return Max; }
  void SetGaugeMax(double max) override { Max = max; }
  void SetGaugeValue(double value) override { Value = value; }
  void SetGaugeColorMin(std::uint32_t color) override { ColorMin = color; }
  void SetGaugeColorMax(std::uint32_t color) override { ColorMax = color; }
  void SetBatteryCaption(const std::string &caption) override { Label = caption; }
  void SetPairingButtonCaption(const TermText &caption) override { Button = caption.Bytes; }
  void SetPairingButtonEnabled(bool enabled) override { ButtonEnabled = enabled; }
  void FocusPairingButton() override { ++Focused; }
  void ClearDeviceList() override { Entries.clear(); }
  void AddDeviceEntry(const std::string &text) override { Entries.push_back(text); }

  bool LedValue = true;
  std::uint32_t LedColor = 0x00FF00;
  bool LedBlink = false;
  std::string Vid, Pid, Cpi = "HIGH", Label = "50%", Button = "&Connecting";
  double Min = 0, Max = 100, Value = 50;
  std::uint32_t ColorMin = 0x0000FF, ColorMax = 0x00FF00;
  bool ButtonEnabled = true;
  int Focused = 0;
  std::vector<std::string> Entries;
};

class FakeTimer final : public TimerPort {
public:
  void Start() override {
    m_running = true;
    ++Starts;
  }
  void Stop() override { m_running = false; }
  bool Running() const override { return m_running; }
  int Starts = 0;

private:
  bool m_running = false;
};

inline TermText EnglishTerm(TermId id) {
  return TermText{std::string(Terms[static_cast<std::size_t>(id)].Texts[0]), 1252};
}

// The logic on the simulated machine, with the window, timers and message loop as fakes.
class ReceiverLogicTest : public ::testing::Test {
protected:
  static constexpr std::uint16_t StandardVendor = 0x3A7E;
  static constexpr std::uint16_t StandardProduct = 0x0A11;
  static constexpr std::uint16_t AltProduct = 0x0A15;

  using Mutator = std::function<void(VirtualReceiverState &)>;
  static VirtualReceiverState With(const Mutator &mutate) {
    VirtualReceiverState state;
    mutate(state);
    return state;
  }
  static void Change(VirtualReceiver &receiver, const Mutator &mutate) {
    VirtualReceiverState state = receiver.State();
    mutate(state);
    receiver.SetState(state);
  }

  ~ReceiverLogicTest() override {
    // Devices go back before the controller and the binding they came from.
    m_logic.reset();
    m_controller.reset();
  }

  VirtualReceiver &AddReceiver(const std::string &id, VirtualReceiverState state = {},
                               std::uint16_t product = StandardProduct,
                               std::uint16_t featureLength = 9, std::uint16_t usage = 2,
                               std::uint16_t vendor = StandardVendor) {
    auto receiver = std::make_unique<VirtualReceiver>(state, featureLength);
    VirtualReceiver *const r = receiver.get();
    hid::VirtualDevice device = HidInterface(id, vendor, product, 1, usage, featureLength);
    r->AttachTo(device);
    m_binding.Add(std::move(device));
    m_receivers[id] = std::move(receiver);
    return *r;
  }

  // Receiver "rx", connected.
  VirtualReceiver &Connected(VirtualReceiverState state = {},
                             std::uint16_t product = StandardProduct) {
    VirtualReceiver &r = AddReceiver("rx", state, product);
    Start();
    return r;
  }

  void AddPlain(hid::VirtualDevice device) { m_binding.Add(std::move(device)); }

  // The controller and the logic, with the first scan delivered.
  void Start(ReceiverLogic::TermSource terms = &EnglishTerm) {
    m_controller = std::make_unique<hid::TJvHidDeviceController>(m_binding, m_loop);
    m_logic = std::make_unique<ReceiverLogic>(*m_controller, m_connection, m_view, m_status,
                                              m_softBind, m_loop, std::move(terms));
    m_logic->SetNotifications(m_notifications);
    m_logic->SetBatteryRecorder(m_recorder);
    m_controller->Loading();
    m_controller->SetOnDeviceChange(
        hid::TNotifyEvent::bind<&ReceiverLogicTest::OnDeviceChange>(this));
    m_controller->Loaded();
    m_loop.processPendingMessages();
  }

  void OnDeviceChange(hid::TJvHidDeviceController *) {
    ++m_deviceChanges;
    m_logic->JvHidDeviceController1DeviceChange();
  }

  // Requests with this command code the receiver `id` was sent.
  int Sent(const std::string &id, std::uint8_t code) const {
    int count = 0;
    for (const hid::SimulatedCall &call : m_binding.Calls())
      if (call.Op == "set_feature" && call.Path == m_binding.PathOf(id) && call.Bytes.size() > 1 &&
          call.Bytes[1] == code)
        ++count;
    return count;
  }

  ReceiverLogic &Logic() { return *m_logic; }

  TestMessageLoop m_loop;
  hid::SimulatedHidBinding m_binding;
  std::map<std::string, std::unique_ptr<VirtualReceiver>> m_receivers;
  ReceiverConnection m_connection{m_loop};
  FakeView m_view;
  FakeTimer m_status;
  FakeTimer m_softBind;
  std::unique_ptr<hid::TJvHidDeviceController> m_controller;
  std::unique_ptr<ReceiverLogic> m_logic;
  // Handed to the logic by Start().
  NotificationPolicy *m_notifications = nullptr;
  BatteryRecorder *m_recorder = nullptr;
  int m_deviceChanges = 0;
};

} // namespace receiver::test
