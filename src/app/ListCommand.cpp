#include "app/ListCommand.h"

#include "app/DeviceTreeWatcher.h"
#include "framework/QtMessageLoop.h"
#include "hid/JvHidDeviceController.h"
#include "receiver/SupportedDevices.h"

#include <QCoreApplication>

#include <memory>
#include <ostream>

namespace app {

namespace {

std::string Hex4(std::uint16_t value) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  std::string text(4, '0');
  for (int i = 3; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = Digits[value & 0xF];
    value = static_cast<std::uint16_t>(value >> 4);
  }
  return text;
}

void AppendUtf8(std::string &out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

constexpr char32_t Replacement = 0xFFFD;

// Length of the valid UTF-8 sequence at `text[i]`, 0 when it is not one.
std::size_t ValidSequence(std::string_view text, std::size_t i, char32_t &c) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  char32_t min = 0;
  if (lead < 0x80) {
    c = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

// Device text on one line of the text listing: control characters become spaces.
std::string OneLine(std::u16string_view text) {
  std::string utf8 = ToUtf8(text);
  for (char &c : utf8)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return utf8;
}

} // namespace

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                          (static_cast<char32_t>(text[i + 1]) - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      AppendUtf8(out, Replacement);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t c = 0;
    const std::size_t length = ValidSequence(utf8, i, c);
    if (length == 0) {
      AppendUtf8(out, Replacement);
      ++i;
      continue;
    }
    i += length;
    switch (c) {
    case '"':
      out += "\\\"";
      break;
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    case '\t':
      out += "\\t";
      break;
    default:
      if (c < 0x20 || c == 0x7F) {
        static constexpr char Digits[] = "0123456789abcdef";
        out += "\\u00";
        out.push_back(Digits[c >> 4]);
        out.push_back(Digits[c & 0xF]);
      } else {
        AppendUtf8(out, c);
      }
    }
  }
  out.push_back('"');
  return out;
}

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
    json += ",\"vendor\":" + std::to_string(i.VendorID);
    json += ",\"product\":" + std::to_string(i.ProductID);
    json += ",\"usage_page\":" + std::to_string(i.UsagePage);
    json += ",\"usage\":" + std::to_string(i.Usage);
    json += ",\"input_length\":" + std::to_string(i.InputLength);
    json += ",\"output_length\":" + std::to_string(i.OutputLength);
    json += ",\"feature_length\":" + std::to_string(i.FeatureLength);
    json += ",\"product_name\":" + JsonString(ToUtf8(i.ProductName));
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
  if (options.Watch) watcher = std::make_unique<DeviceTreeWatcher>(binding);
  static const char tag = 0;
  controller.Loading();
  controller.SetOnDeviceChange(hid::TNotifyEvent::fromFunction(
      [&](hid::TJvHidDeviceController *sender) {
        const auto interfaces = CollectInterfaces(*sender);
        if (options.Json)
          out << FormatListingJson(interfaces) << '\n';
        else
          out << FormatListingText(interfaces) << (options.Watch ? "\n" : "");
        out.flush();
        if (!options.Watch) QCoreApplication::exit(0);
      },
      &tag));
  controller.Loaded();
  const int status = QCoreApplication::exec();
  return out ? status : 1;
}

} // namespace app
