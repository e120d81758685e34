#include "app/ListCommand.h"

#include "app/DeviceTreeWatcher.h"
#include "app/Messages.h"
#include "app/ReaderWatch.h"
#include "framework/QtMessageLoop.h"
#include "framework/text/Hex.h"
#include "framework/text/Json.h"
#include "framework/text/Utf.h"
#include "hid/JvHidDeviceController.h"
#include "receiver/SupportedDevices.h"

#include <QCoreApplication>

#include <memory>
#include <ostream>

namespace app {

using framework::text::Hex4;
using framework::text::JsonString;
using framework::text::Utf16ToUtf8;

namespace {

// Device text on one line of the text listing: control characters become spaces.
std::string OneLine(std::u16string_view text) {
  std::string utf8 = Utf16ToUtf8(text);
  for (char &c : utf8)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return utf8;
}

} // namespace

std::vector<InterfaceListing> CollectInterfaces(hid::TJvHidDeviceController &controller) {
  std::vector<InterfaceListing> listing;
  // Held until the end: checking one in re-creates its entry, which must not be read twice.
  std::vector<std::unique_ptr<hid::TJvHidDevice>> held;
  const std::vector<hid::TJvHidDevice *> devices = controller.DeviceList();
  for (std::size_t i = 0; i < devices.size(); ++i) {
    hid::TJvHidDevice *device = devices[i];
    if (!device->CheckedOut()) {
      std::unique_ptr<hid::TJvHidDevice> mine;
      if (controller.CheckOutAt(static_cast<std::int32_t>(i), mine))
        held.push_back(std::move(mine));
    }
    InterfaceListing entry;
    entry.Path = device->PnPInfo().DevicePath();
    entry.VendorID = device->Attributes().VendorID;
    entry.ProductID = device->Attributes().ProductID;
    const hid::HIDP_CAPS caps = device->GetCaps();
    entry.UsagePage = caps.UsagePage;
    entry.Usage = caps.Usage;
    entry.InputLength = caps.InputReportByteLength;
    entry.OutputLength = caps.OutputReportByteLength;
    entry.FeatureLength = caps.FeatureReportByteLength;
    entry.ProductName = device->GetProductName();
    // Attributes carry their size only once the path opened at creation, with caps or not.
    entry.Access = device->ReadWriteAccess()        ? "rw"
                   : device->Attributes().Size != 0 ? "query"
                                                    : "none";
    entry.Supported = receiver::FindSupportedRow(entry.VendorID, entry.ProductID).has_value();
    listing.push_back(std::move(entry));
  }
  return listing;
}

std::string FormatListingText(const std::vector<InterfaceListing> &interfaces) {
  std::string text;
  for (const InterfaceListing &i : interfaces) {
    text += OneLine(std::u16string(i.Path.begin(), i.Path.end())) + '\t';
    text += Hex4(i.VendorID) + ':' + Hex4(i.ProductID) + '\t';
    text += Hex4(i.UsagePage) + ':' + Hex4(i.Usage) + '\t';
    text += std::to_string(i.InputLength) + '/' + std::to_string(i.OutputLength) + '/' +
            std::to_string(i.FeatureLength) + '\t';
    text += OneLine(i.ProductName) + '\t';
    text += i.Access + '\t';
    text += i.Supported ? "supported\n" : "unsupported\n";
  }
  return text;
}

std::string FormatListingJson(const std::vector<InterfaceListing> &interfaces) {
  std::string json = "[";
  for (std::size_t n = 0; n < interfaces.size(); ++n) {
    const InterfaceListing &i = interfaces[n];
    if (n > 0) json += ',';
    json += "{\"path\":" + JsonString(i.Path);
    json += ",\"vendor\":" + JsonString(Hex4(i.VendorID));
    json += ",\"product\":" + JsonString(Hex4(i.ProductID));
    json += ",\"usage_page\":" + std::to_string(i.UsagePage);
    json += ",\"usage\":" + std::to_string(i.Usage);
    json += ",\"input_length\":" + std::to_string(i.InputLength);
    json += ",\"output_length\":" + std::to_string(i.OutputLength);
    json += ",\"feature_length\":" + std::to_string(i.FeatureLength);
    json += ",\"product_name\":" + JsonString(Utf16ToUtf8(i.ProductName));
    json += ",\"access\":" + JsonString(i.Access);
    json += std::string(",\"supported\":") + (i.Supported ? "true" : "false") + '}';
  }
  json += ']';
  return json;
}

int RunListCommand(hid::HidBinding &binding, hid::HidTrace *trace, const ListOptions &options,
                   std::ostream &out, std::ostream &err) {
  if (!binding.Bound()) {
    err << "quelvane: the HID device services are not available\n";
    return 1;
  }
  // The controller would take a failed enumeration for an empty machine.
  if (!binding.Enumerate()) {
    err << "quelvane: the HID devices cannot be enumerated\n";
    return 1;
  }
  if (QCoreApplication::instance() == nullptr) {
    err << "quelvane: no application event loop\n";
    return 1;
  }
  framework::QtMessageLoop loop;
  hid::TJvHidDeviceController controller(binding, loop, trace);
  std::unique_ptr<DeviceTreeWatcher> watcher;
  bool readerGone = false;
  std::unique_ptr<QSocketNotifier> reader;
  if (options.Watch) {
    watcher = std::make_unique<DeviceTreeWatcher>(binding);
    reader = WatchReaderLeaving(options.OutputFd, readerGone);
  }
  static const char tag = 0;
  controller.Loading();
  controller.SetOnDeviceChange(hid::TNotifyEvent::fromFunction(
      [&](hid::TJvHidDeviceController *sender) {
        const auto interfaces = CollectInterfaces(*sender);
        // Said beside the listing, which stays what a script reads (empty, or "[]").
        if (interfaces.empty()) err << "quelvane: no HID interfaces found\n" << std::flush;
        if (options.Json)
          out << FormatListingJson(interfaces) << '\n';
        else
          out << FormatListingText(interfaces) << (options.Watch ? "\n" : "");
        // A watch whose output is gone has no one to tell of the next change.
        if (!out.flush() || !options.Watch) QCoreApplication::exit(out ? 0 : 1);
      },
      &tag));
  controller.Loaded();
  const int status = QCoreApplication::exec();
  if (readerGone) out.setstate(std::ios::badbit);
  return OutputStatus(out, err, status);
}

} // namespace app
