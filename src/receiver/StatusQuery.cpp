#include "receiver/StatusQuery.h"

#include "framework/text/Hex.h"
#include "hid/JvHidDevice.h"
#include "hid/JvHidDeviceController.h"
#include "receiver/ReceiverConnection.h"
#include "receiver/ReceiverLogic.h"
#include "receiver/SupportedDevices.h"

#include <memory>
#include <vector>

namespace receiver {

namespace {

constexpr std::uint16_t UsagePageGenericDesktop = 1;
constexpr std::uint16_t UsageMouse = 2;
constexpr std::uint16_t UsageKeyboard = 6;
constexpr int GaugeSteps = static_cast<int>(ReceiverLogic::ConnectedGaugeMax);
constexpr int HighCpiFrom = 10;

// Clears the connection when the reading ends, before the devices go back to the controller.
struct ConnectionReset {
  ReceiverConnection &Connection;
  ~ConnectionReset() { Connection.SetCurrentReceiver(nullptr); }
};

} // namespace

std::optional<std::size_t> ReceiverCandidateRow(hid::TJvHidDevice &device) {
  const hid::HIDP_CAPS caps = device.GetCaps();
  if (caps.UsagePage != UsagePageGenericDesktop) return std::nullopt;
  if (caps.Usage != UsageMouse && caps.Usage != UsageKeyboard) return std::nullopt;
  if (caps.FeatureReportByteLength == 0) return std::nullopt;
  const hid::HIDD_ATTRIBUTES &ids = device.Attributes();
  return FindSupportedRow(ids.VendorID, ids.ProductID);
}

StatusReading ReadReceiverStatus(hid::TJvHidDeviceController &controller,
                                 ReceiverConnection &connection) {
  std::vector<std::unique_ptr<hid::TJvHidDevice>> devices;
  std::unique_ptr<hid::TJvHidDevice> device;
  while (controller.CheckOutNext(device) && device)
    devices.push_back(std::move(device));

  StatusReading reading;
  hid::TJvHidDevice *receiver = nullptr;
  std::optional<std::size_t> row;
  for (std::size_t i = devices.size(); i-- > 0 && !receiver;) {
    row = ReceiverCandidateRow(*devices[i]);
    if (row) receiver = devices[i].get();
  }
  if (receiver == nullptr) return reading;

  const hid::HIDD_ATTRIBUTES ids = receiver->Attributes();
  const std::string name =
      framework::text::Hex4(ids.VendorID) + ":" + framework::text::Hex4(ids.ProductID);
  reading.Vendor = ids.VendorID;
  reading.Product = ids.ProductID;
  if (!receiver->ReadWriteAccess()) {
    reading.Failure = StatusFailure::NoPermission;
    reading.Detail = name + " (" + receiver->PnPInfo().DevicePath() + ")";
    return reading;
  }

  const ConnectionReset reset{connection};
  connection.SetMatchedRow(row);
  connection.SetAltReceiver(SupportedDevices[*row].Alternative);
  connection.SetFeatureLengths(receiver->GetCaps().FeatureReportByteLength);
  connection.SetCurrentReceiver(receiver);
  reading.Failure = StatusFailure::NoAnswer;
  const auto answer = [&](std::uint8_t code, const char *what) -> std::optional<int> {
    const std::optional<CommandReport> report = connection.ExchangeWithAck(code);
    if (!report || report->size() < 2) {
      if (reading.Detail.empty()) reading.Detail = name + " does not answer the " + what + " query";
      return std::nullopt;
    }
    return (*report)[1];
  };
  const std::optional<int> status = answer(CmdStatus, "status");
  if (!status) return reading;
  const std::optional<int> battery = answer(CmdBattery, "battery");
  if (!battery) return reading;
  const std::optional<int> cpi = answer(CmdCPI, "CPI");
  if (!cpi) return reading;
  const int level = *battery & 0x0F;
  if (level > GaugeSteps) {
    reading.Failure = StatusFailure::BadAnswer;
    reading.Detail = name + " answers battery level " + std::to_string(level) + ", beyond " +
                     std::to_string(GaugeSteps);
    return reading;
  }
  reading.Status = ReceiverStatus{
      ids.VendorID, ids.ProductID, true, level, level * 100 / GaugeSteps, *cpi >= HighCpiFrom};
  return reading;
}

std::string FormatStatusText(const ReceiverStatus &s) {
  return framework::text::Hex4(s.Vendor) + ":" + framework::text::Hex4(s.Product) + " " +
         (s.Connected ? "connected" : "not connected") + ", battery level " +
         std::to_string(s.Level) + " (" + std::to_string(s.Percentage) + "%), CPI " +
         (s.CpiHigh ? "HIGH" : "LOW");
}

namespace {

std::string JsonObject(const std::string &vendor, const std::string &product, bool connected,
                       const std::string &level, const std::string &percentage,
                       const std::string &cpi) {
  return "{\"vendor\":" + vendor + ",\"product\":" + product +
         ",\"connected\":" + (connected ? "true" : "false") + ",\"level\":" + level +
         ",\"percentage\":" + percentage + ",\"cpi\":" + cpi + "}";
}

std::string JsonHex(std::uint16_t id) {
  return "\"" + framework::text::Hex4(id) + "\"";
}

} // namespace

std::string FormatStatusJson(const ReceiverStatus &s) {
  return JsonObject(JsonHex(s.Vendor), JsonHex(s.Product), s.Connected, std::to_string(s.Level),
                    std::to_string(s.Percentage), s.CpiHigh ? "\"HIGH\"" : "\"LOW\"");
}

std::string FormatStatusJson(const StatusReading &reading) {
  if (reading.Status) return FormatStatusJson(*reading.Status);
  const bool found = reading.Failure != StatusFailure::NotFound;
  return JsonObject(found ? JsonHex(reading.Vendor) : "null",
                    found ? JsonHex(reading.Product) : "null",
                    reading.Failure == StatusFailure::BadAnswer, "null", "null", "null");
}

} // namespace receiver
