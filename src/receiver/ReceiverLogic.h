#pragma once

#include "receiver/BatteryPercent.h"
#include "receiver/BatteryRecorder.h"
#include "receiver/Languages.h"
#include "receiver/Notifications.h"
#include "receiver/ReceiverConnection.h"
#include "receiver/ReceiverView.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace framework {
class MessageLoop;
}
namespace hid {
class TJvHidDevice;
class TJvHidDeviceController;
} // namespace hid

namespace receiver {

// The window's receiver behaviour: discovery and connection, the readouts and pairing. The
// handlers are the window's event handlers; the window delegates to them.
//
// Every handler may be re-entered from a message pump inside a query. A device change there
// replaces the device list, so nothing here keeps using a device across a pump: the list's
// generation and the pairing attempt are checked after every pump that matters.
class ReceiverLogic {
public:
  using TermSource = std::function<TermText(TermId)>;

  static constexpr std::uint32_t ColorRed = BatteryPercentRed;
  static constexpr std::uint32_t ColorYellow = BatteryPercentYellow;
  static constexpr std::uint32_t ColorLime = BatteryPercentLime;
  static constexpr std::uint32_t DeviceBuffers = 128;
  static constexpr double ConnectedGaugeMax = 6;
  static constexpr int BindTickLimit = 16;

  ReceiverLogic(hid::TJvHidDeviceController &controller, ReceiverConnection &connection,
                ReceiverView &view, TimerPort &tmrStatus, TimerPort &tmrSoftBind,
                framework::MessageLoop &loop, TermSource terms);
  ~ReceiverLogic();
  ReceiverLogic(const ReceiverLogic &) = delete;
  ReceiverLogic &operator=(const ReceiverLogic &) = delete;

  void JvHidDeviceController1DeviceChange();
  void btnSystemStatusClick();
  void btnBatteryClick();
  void btnCPIClick();
  void tmrStatusTimer();
  void btnCombo_Cmd_Soft_Bind_SWClick();
  void tmrSoftBindTimer();

  // Told of every battery reading and every ended pairing; none by default. Must outlive this.
  void SetNotifications(NotificationPolicy *policy) { m_notifications = policy; }
  // Told of every battery reading, connection change and bound mouse; none by default. Must
  // outlive this.
  void SetBatteryRecorder(BatteryRecorder *recorder) { m_recorder = recorder; }

  int BindTicks() const { return m_bindTicks; }
  int BindState1() const { return m_bindState1; }
  int BindState2() const { return m_bindState2; }
  // The claimed devices, in DevListBox order.
  std::size_t DeviceCount() const { return m_devices.size(); }
  const hid::TJvHidDevice *Device(std::size_t index) const { return m_devices.at(index).get(); }

  // The product name in the 8-bit form the list shows (UTF-8 here); empty without one.
  static std::string GetDeviceName(hid::TJvHidDevice &device);

private:
  void ResetToNotConnected();
  void ReleaseDevices();
  void ClaimDevices();
  // Steps of the walk for one candidate; true when the walk ends with it. Nothing before its
  // closing queries pumps messages.
  bool TryConnect(hid::TJvHidDevice &device);
  void RefreshReadouts();
  void EndPairing();
  struct TickValues {
    std::optional<int> First;
    std::optional<int> Second;
  };
  TickValues ReadPairingState();

  hid::TJvHidDeviceController &m_controller;
  ReceiverConnection &m_connection;
  ReceiverView &m_view;
  TimerPort &m_tmrStatus;
  TimerPort &m_tmrSoftBind;
  framework::MessageLoop &m_loop;
  TermSource m_terms;
  NotificationPolicy *m_notifications = nullptr;
  BatteryRecorder *m_recorder = nullptr;

  std::vector<std::unique_ptr<hid::TJvHidDevice>> m_devices;
  // Bumped at every device change and every pairing start, so that a handler resumed after a
  // nested one can tell its world has been replaced.
  std::uint64_t m_generation = 0;
  std::uint64_t m_attempt = 0;
  int m_bindTicks = 0;
  int m_bindState1 = 0;
  int m_bindState2 = 0;
  // Whether a tick of the current attempt has read the value yet.
  bool m_baseline1 = false;
  bool m_baseline2 = false;
};

} // namespace receiver
