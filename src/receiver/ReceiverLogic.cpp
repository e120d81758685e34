#include "receiver/ReceiverLogic.h"

#include "framework/MessageLoop.h"
#include "framework/text/Hex.h"
#include "framework/text/Utf.h"
#include "hid/JvHidDevice.h"
#include "hid/JvHidDeviceController.h"
#include "receiver/StatusQuery.h"
#include "receiver/SupportedDevices.h"

#include <utility>

namespace receiver {

ReceiverLogic::ReceiverLogic(hid::TJvHidDeviceController &controller,
                             ReceiverConnection &connection, ReceiverView &view,
                             TimerPort &tmrStatus, TimerPort &tmrSoftBind,
                             framework::MessageLoop &loop, TermSource terms)
    : m_controller(controller), m_connection(connection), m_view(view), m_tmrStatus(tmrStatus),
      m_tmrSoftBind(tmrSoftBind), m_loop(loop), m_terms(std::move(terms)) {}

ReceiverLogic::~ReceiverLogic() {
  // The connection must not outlive the device it points at.
  m_connection.SetCurrentReceiver(nullptr);
}

std::string ReceiverLogic::GetDeviceName(hid::TJvHidDevice &device) {
  return framework::text::Utf16ToUtf8(device.GetProductName());
}

void ReceiverLogic::JvHidDeviceController1DeviceChange() {
  const std::uint64_t generation = ++m_generation;
  ++m_attempt;
  ResetToNotConnected();
  ReleaseDevices();
  ClaimDevices();
  m_loop.processPendingMessages();
  // A change handled in that pump has rebuilt the list and done the walk itself.
  if (generation != m_generation) return;
  for (std::size_t i = m_devices.size(); i-- > 0;) {
    if (TryConnect(*m_devices[i])) return;
  }
}

void ReceiverLogic::ResetToNotConnected() {
  m_connection.SetAltReceiver(false);
  m_tmrSoftBind.Stop();
  m_tmrStatus.Stop();
  m_view.SetLedValue(false);
  m_view.SetVidText(std::string());
  m_view.SetPidText(std::string());
  m_view.SetGaugeValue(0);
  m_view.SetCpiText(TermText{});
  m_view.SetBatteryCaption(" ");
  m_connection.SetCurrentReceiver(nullptr);
  if (m_recorder) m_recorder->ConnectionChanged(false);
  m_view.SetPairingButtonCaption(m_terms(TermId::tmConnect));
  m_view.SetPairingButtonEnabled(false);
}

void ReceiverLogic::ReleaseDevices() {
  // Taken out of the member first, so nothing reached from a check-in sees a half-empty list.
  std::vector<std::unique_ptr<hid::TJvHidDevice>> previous = std::move(m_devices);
  m_devices.clear();
  for (auto &device : previous)
    device.reset();
  m_view.ClearDeviceList();
  m_view.SetLedValue(false);
}

void ReceiverLogic::ClaimDevices() {
  std::unique_ptr<hid::TJvHidDevice> device;
  while (m_controller.CheckOutNext(device)) {
    if (!device) break;
    m_view.AddDeviceEntry(GetDeviceName(*device));
    device->SetNumInputBuffers(DeviceBuffers);
    device->SetNumReadBuffers(DeviceBuffers);
    m_devices.push_back(std::move(device));
  }
}

bool ReceiverLogic::TryConnect(hid::TJvHidDevice &device) {
  const std::optional<std::size_t> row = ReceiverCandidateRow(device);
  if (!row) return false;
  const hid::HIDP_CAPS caps = device.GetCaps();
  const hid::HIDD_ATTRIBUTES &ids = device.Attributes();
  m_connection.SetMatchedRow(row);
  if (SupportedDevices[*row].Alternative) m_connection.SetAltReceiver(true);

  m_view.SetVidText(framework::text::Hex4(ids.VendorID));
  m_view.SetPidText(framework::text::Hex4(ids.ProductID));
  m_connection.SetFeatureLengths(caps.FeatureReportByteLength);

  CommandReport status = m_connection.Request(CmdStatus);
  if (!m_connection.Exchange(device, status)) return true;
  m_connection.SetCurrentReceiver(&device);
  if (m_recorder) m_recorder->ConnectionChanged(true);
  m_bindState1 = status[1];
  m_bindState2 = status[2];
  m_view.SetLedValue(true);
  m_view.SetLedTrueColor(ColorLime);
  btnCombo_Cmd_Soft_Bind_SWClick();
  m_tmrStatus.Start();
  m_view.SetPairingButtonEnabled(true);

  CommandReport battery = m_connection.Request(CmdBattery);
  if (!m_connection.Exchange(device, battery)) return true;
  m_view.SetGaugeMax(ConnectedGaugeMax);
  // The queries pump messages; `device` may be gone afterwards and is not touched again.
  RefreshReadouts();
  return true;
}

void ReceiverLogic::RefreshReadouts() {
  btnSystemStatusClick();
  btnBatteryClick();
  btnCPIClick();
}

void ReceiverLogic::btnSystemStatusClick() {
  m_connection.ExchangeWithAck(CmdStatus);
}

void ReceiverLogic::btnBatteryClick() {
  const std::optional<CommandReport> answer = m_connection.ExchangeWithAck(CmdBattery);
  if (!answer || answer->size() < 2) return;
  const int level = (*answer)[1] & 0x0F;
  const double min = m_view.GaugeMin();
  const double max = m_view.GaugeMax();
  if (!(level >= min && level <= max)) return;
  m_view.SetGaugeValue(level);
  // A scale below one step has no percentage; the bar alone shows the level.
  const std::optional<int> percent = BatteryPercent(level, max);
  if (!percent) return;
  m_view.SetBatteryCaption(std::to_string(*percent) + "%");
  const std::uint32_t color = BatteryPercentColor(*percent);
  m_view.SetGaugeColorMax(color);
  m_view.SetGaugeColorMin(color);
  if (m_recorder) m_recorder->LevelRead(level, static_cast<int>(std::trunc(max)));
  if (m_notifications) m_notifications->BatteryRead(level, *percent);
}

void ReceiverLogic::btnCPIClick() {
  const std::optional<CommandReport> answer = m_connection.ExchangeWithAck(CmdCPI);
  if (!answer || answer->size() < 2) return;
  m_view.SetCpiText(m_terms((*answer)[1] >= 10 ? TermId::tmHigh : TermId::tmLow));
}

void ReceiverLogic::tmrStatusTimer() {
  if (m_connection.CurrentReceiver() == nullptr) {
    m_view.SetLedValue(false);
    return;
  }
  m_tmrStatus.Stop();
  RefreshReadouts();
  // Restarted even when a device change inside the queries dropped the receiver: the next tick
  // then only keeps the LED off.
  m_tmrStatus.Start();
  m_loop.processPendingMessages();
}

void ReceiverLogic::btnCombo_Cmd_Soft_Bind_SWClick() {
  m_bindTicks = 0;
  ++m_attempt;
  m_baseline1 = false;
  m_baseline2 = false;
  hid::TJvHidDevice *const device = m_connection.CurrentReceiver();
  if (device == nullptr) return;
  CommandReport status = m_connection.Request(CmdStatus);
  if (m_connection.Exchange(*device, status)) {
    m_bindState1 = status[1];
    m_bindState2 = status[2];
  }
  CommandReport pair = m_connection.Request(CmdPair, 0, PairStart);
  m_connection.SendOnly(pair);
  m_tmrSoftBind.Start();
  m_view.SetPairingButtonCaption(m_terms(TermId::tmConnecting));
  m_view.SetLedTrueColor(ColorRed);
  m_view.SetLedBlink(true);
}

ReceiverLogic::TickValues ReceiverLogic::ReadPairingState() {
  TickValues values;
  hid::TJvHidDevice *const device = m_connection.CurrentReceiver();
  if (device == nullptr) return values;
  CommandReport status = m_connection.Request(CmdStatus);
  const bool statusOk = m_connection.Exchange(*device, status);
  if (statusOk) values.First = status[1];
  if (m_connection.AltReceiver()) {
    if (statusOk) values.Second = status[2];
    return values;
  }
  CommandReport query = m_connection.Request(CmdQuery, QuerySubCodePairing);
  if (m_connection.Exchange(*device, query)) values.Second = 256 * query[0] + query[1];
  return values;
}

void ReceiverLogic::tmrSoftBindTimer() {
  ++m_bindTicks;
  const std::uint64_t attempt = m_attempt;
  const TickValues values = ReadPairingState();
  // The first value a tick of this attempt actually reads is its baseline, each value on its
  // own: the start's status answer is no baseline for the query's value, and a failed read
  // neither sets one nor counts as a change.
  const auto compare = [](const std::optional<int> &value, int &state, bool &haveBaseline) {
    if (!value) return false;
    if (!haveBaseline) {
      state = *value;
      haveBaseline = true;
      return false;
    }
    return *value != state;
  };
  const bool firstChanged = compare(values.First, m_bindState1, m_baseline1);
  const bool secondChanged = compare(values.Second, m_bindState2, m_baseline2);
  if (firstChanged || secondChanged) {
    m_view.SetPairingButtonCaption(m_terms(TermId::tmConnect));
    m_view.SetLedTrueColor(ColorLime);
    m_view.SetLedBlink(false);
    m_tmrSoftBind.Stop();
    if (values.First) m_bindState1 = *values.First;
    if (values.Second) m_bindState2 = *values.Second;
    m_view.FocusPairingButton();
    if (m_recorder) m_recorder->MouseBound();
    if (m_notifications) m_notifications->MouseBound();
    RefreshReadouts();
    // A new attempt or a device change during the queries owns the pairing state now.
    if (attempt != m_attempt) return;
    m_bindTicks = BindTickLimit;
  }
  if (m_bindTicks == BindTickLimit) EndPairing();
}

void ReceiverLogic::EndPairing() {
  m_tmrSoftBind.Stop();
  m_view.SetPairingButtonCaption(m_terms(TermId::tmConnect));
  m_view.SetLedTrueColor(ColorLime);
  m_view.SetLedBlink(false);
  m_view.FocusPairingButton();
  RefreshReadouts();
}

} // namespace receiver
