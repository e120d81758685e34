// The real Linux binding against the kernel's HID stack: a virtual receiver through /dev/uhid
// (3A7E:0A11, a keyboard, a mouse with the 9-byte feature report ID 1, and a vendor collection),
// driven only through hid::MakeLinuxHidBinding(). Runs as root inside the QEMU guest of run.sh;
// prints "ok"/"FAIL" lines and "GUEST-RESULT: PASS" when everything held.
#include "hid/LinuxHidBinding.h"
#include "hid/ReportDescriptor.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include <fcntl.h>
#include <libudev.h>
#include <linux/uhid.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int g_passed = 0;
int g_failed = 0;

void Check(bool ok, const std::string &what) {
  (ok ? g_passed : g_failed)++;
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  std::fflush(stdout);
}

const std::uint8_t kDescriptor[] = {
    // Keyboard, input ID 2: 8 bytes.
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x02, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,
    0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x26, 0xFF,
    0x00, 0x19, 0x00, 0x2A, 0xFF, 0x00, 0x81, 0x00, 0x95, 0x01, 0x81, 0x03, 0xC0,
    // Mouse: input ID 3 (3 bytes), feature ID 1 (8 data bytes).
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x03, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01,
    0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05,
    0x81, 0x03, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02,
    0x81, 0x06, 0xC0, 0x85, 0x01, 0x06, 0x00, 0xFF, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
    0x08, 0x95, 0x08, 0xB1, 0x02, 0xC0,
    // Vendor: input ID 5, 16 bytes.
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x09, 0x02, 0x75, 0x08, 0x95, 0x10, 0x81,
    0x02, 0xC0};

const std::uint8_t kGetReply[9] = {0x01, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xCC, 0x88};

std::atomic<int> g_sets{0};
std::uint8_t g_lastSet[9];

bool UhidWrite(int fd, const uhid_event &ev) {
  return ::write(fd, &ev, sizeof ev) == static_cast<ssize_t>(sizeof ev);
}

bool Create(int fd, std::uint32_t vendor = 0x3A7E, std::uint32_t product = 0x0A11) {
  uhid_event ev{};
  ev.type = UHID_CREATE2;
  std::strcpy(reinterpret_cast<char *>(ev.u.create2.name), "Virtual Receiver");
  std::strcpy(reinterpret_cast<char *>(ev.u.create2.phys), "uhid-vm/input0");
  std::strcpy(reinterpret_cast<char *>(ev.u.create2.uniq), "SN0001");
  ev.u.create2.rd_size = sizeof kDescriptor;
  ev.u.create2.bus = 0x03;
  ev.u.create2.vendor = vendor;
  ev.u.create2.product = product;
  ev.u.create2.version = 0x0111;
  std::memcpy(ev.u.create2.rd_data, kDescriptor, sizeof kDescriptor);
  return UhidWrite(fd, ev);
}

void Destroy(int fd) {
  uhid_event ev{};
  ev.type = UHID_DESTROY;
  UhidWrite(fd, ev);
}

// Answers the kernel's GET_REPORT/SET_REPORT like the receiver would (ID 1 feature only).
void Responder(int fd, std::atomic<bool> &stop) {
  while (!stop) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    uhid_event ev{};
    if (::read(fd, &ev, sizeof ev) <= 0) continue;
    uhid_event rep{};
    if (ev.type == UHID_GET_REPORT) {
      rep.type = UHID_GET_REPORT_REPLY;
      rep.u.get_report_reply.id = ev.u.get_report.id;
      if (ev.u.get_report.rnum == 1 && ev.u.get_report.rtype == UHID_FEATURE_REPORT) {
        rep.u.get_report_reply.size = sizeof kGetReply;
        std::memcpy(rep.u.get_report_reply.data, kGetReply, sizeof kGetReply);
      } else {
        rep.u.get_report_reply.err = EIO;
      }
      UhidWrite(fd, rep);
    } else if (ev.type == UHID_SET_REPORT) {
      std::memcpy(g_lastSet, ev.u.set_report.data, std::min<std::size_t>(ev.u.set_report.size, 9));
      g_sets++;
      rep.type = UHID_SET_REPORT_REPLY;
      rep.u.set_report_reply.id = ev.u.set_report.id;
      UhidWrite(fd, rep);
    }
  }
}

// Waits for the binding's monitor fd and lets it notify; true when the listener ran.
bool WaitTreeChange(hid::HidBinding &binding, int &notified, int timeoutMs) {
  const int before = notified;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (notified == before && std::chrono::steady_clock::now() < end) {
    pollfd p{binding.DeviceTreeEventFd(), POLLIN, 0};
    if (::poll(&p, 1, 100) > 0) binding.DeviceTreeEventReady();
  }
  return notified != before;
}

// With udevd and packaging/70-quelvane.rules in the guest: whether udev tagged the node.
bool HasUaccessTag(const std::string &devnode) {
  struct stat st {};
  if (::stat(devnode.c_str(), &st) < 0) return false;
  udev *u = udev_new();
  udev_device *d = u ? udev_device_new_from_devnum(u, 'c', st.st_rdev) : nullptr;
  const bool tagged = d && udev_device_has_tag(d, "uaccess") > 0;
  if (d) udev_device_unref(d);
  if (u) udev_unref(u);
  return tagged;
}

std::vector<hid::InterfaceRecord> OurRecords(hid::HidBinding &binding) {
  std::vector<hid::InterfaceRecord> ours;
  if (auto list = binding.Enumerate())
    for (auto &r : *list)
      for (const auto &id : r.Properties.HardwareId)
        if (id == "HID\\VID_3A7E&PID_0A11") {
          ours.push_back(r);
          break;
        }
  return ours;
}

} // namespace

int main() {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  auto binding = hid::MakeLinuxHidBinding();
  Check(binding && binding->Bound(), "binding bound");
  int notified = 0;
  binding->SetDeviceTreeListener([&notified] { ++notified; });
  Check(binding->DeviceTreeEventFd() >= 0, "monitor fd");

  const int uhid = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
  Check(uhid >= 0, "open /dev/uhid");
  if (uhid < 0) return 1;
  std::atomic<bool> stop{false};
  Check(Create(uhid), "UHID_CREATE2");
  std::thread responder(Responder, uhid, std::ref(stop));

  Check(WaitTreeChange(*binding, notified, 5000), "monitor notified the plug");
  for (int i = 0; i < 50 && OurRecords(*binding).size() < 3; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

  const auto ours = OurRecords(*binding);
  Check(ours.size() == 3, "one interface per top-level collection: " + std::to_string(ours.size()));
  for (const auto &r : ours)
    std::printf("     %s instance=%u desc=%s loc=%s driver=%s enum=%s pdo=%s hwid0=%s\n",
                r.DevicePath.c_str(), r.DeviceInstance, r.Properties.DeviceDesc.c_str(),
                r.Properties.LocationInformation.c_str(), r.Properties.Driver.c_str(),
                r.Properties.EnumeratorName.c_str(), r.Properties.PhysicalDeviceObjectName.c_str(),
                r.Properties.HardwareId.empty() ? "" : r.Properties.HardwareId[0].c_str());
  if (ours.size() != 3) {
    stop = true;
    responder.join();
    return 1;
  }
  Check(ours[0].DeviceInstance != ours[1].DeviceInstance &&
            ours[1].DeviceInstance != ours[2].DeviceInstance,
        "distinct instances per collection");
  Check(ours[1].Properties.DeviceDesc == "Virtual Receiver" &&
            ours[1].Properties.LocationInformation == "uhid-vm/input0" &&
            ours[1].Properties.Driver == "hid-generic" &&
            ours[1].Properties.EnumeratorName == "USB" &&
            ours[1].Properties.HardwareId.size() == 4 &&
            ours[1].Properties.HardwareId[0] == "HID\\VID_3A7E&PID_0A11&REV_0000&Col02",
        "properties from udev/sysfs");
  const std::string mousePath = ours[1].DevicePath;
  if (std::getenv("QUELVANE_EXPECT_UACCESS")) {
    const std::string node = mousePath.substr(0, mousePath.find('#'));
    Check(HasUaccessTag(node), "udev rule tagged " + node + " uaccess");
    // Another vendor's device must stay untouched.
    const int other = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
    Check(other >= 0 && Create(other, 0x1234, 0x5678) && WaitTreeChange(*binding, notified, 5000),
          "plug 1234:5678");
    std::string otherNode;
    for (int i = 0; i < 50 && otherNode.empty(); ++i) {
      if (auto list = binding->Enumerate())
        for (const auto &rec : *list)
          for (const auto &id : rec.Properties.HardwareId)
            if (id == "HID\\VID_1234&PID_5678")
              otherNode = rec.DevicePath.substr(0, rec.DevicePath.find('#'));
      if (otherNode.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    Check(!otherNode.empty() && !HasUaccessTag(otherNode),
          "udev rule leaves " + otherNode + " (1234:5678) alone");
    if (other >= 0) {
      Destroy(other);
      WaitTreeChange(*binding, notified, 5000);
      ::close(other);
    }
  }
  Check(mousePath.size() > 6 && mousePath.compare(mousePath.size() - 6, 6, "#col02") == 0,
        "mouse path " + mousePath);
  const auto again = OurRecords(*binding);
  Check(again.size() == 3 && again[1].DeviceInstance == ours[1].DeviceInstance,
        "instance stable across scans");

  std::uint32_t error = 0;
  auto h = binding->Open(mousePath, hid::OpenMode::ReadWrite, error);
  Check(h != nullptr, "open ReadWrite, error " + std::to_string(error));
  if (h) {
    hid::HIDD_ATTRIBUTES a;
    Check(h->GetAttributes(a) && a.VendorID == 0x3A7E && a.ProductID == 0x0A11 &&
              a.VersionNumber == 0,
          "attributes 3A7E:0A11, version 0 without a USB parent");
    const hid::HIDP_CAPS caps = hid::HidP_GetCaps(h->GetPreparsedData().get());
    Check(caps.UsagePage == 1 && caps.Usage == 2 && caps.FeatureReportByteLength == 9 &&
              caps.InputReportByteLength == 4 && caps.OutputReportByteLength == 0,
          "caps of the mouse collection: page 1 usage 2, feature 9, input 4");
    std::u16string name;
    Check(h->GetProductString(name, 254) && name == u"Virtual Receiver", "product string");
    Check(h->GetProductString(name, 7) && name == u"Virtual", "product string, 7 units");

    const std::uint8_t set[9] = {0x01, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8};
    Check(h->SetFeature(set, sizeof set) && g_sets == 1 && std::memcmp(g_lastSet, set, 9) == 0,
          "SetFeature 9 bytes reaches the device");
    std::uint8_t get[9] = {0x01};
    Check(h->GetFeature(get, sizeof get) && std::memcmp(get, kGetReply, 9) == 0,
          "GetFeature 9 bytes, ID first, byte 7 = 0xCC");
    std::uint8_t shortBuf[5] = {0x01, 0, 0, 0, 0};
    Check(h->GetFeature(shortBuf, sizeof shortBuf) && std::memcmp(shortBuf, kGetReply, 5) == 0,
          "GetFeature into a 5-byte buffer: truncated, no overrun");
    std::uint8_t bad[9] = {0x07};
    Check(!h->GetFeature(bad, sizeof bad), "GetFeature of a report the device refuses fails");

    std::uint32_t count = 0;
    Check(h->GetNumInputBuffers(count) && count == 32, "default input buffers 32");
    Check(h->SetNumInputBuffers(128) && h->GetNumInputBuffers(count) && count == 128,
          "input buffers 128");
    Check(!h->SetNumInputBuffers(1) && !h->SetNumInputBuffers(513) &&
              h->GetNumInputBuffers(count) && count == 128,
          "input buffers out of range refused");
  }

  // Reader handle: an input report, a timeout, and CancelIo waking a blocked Read.
  auto r = binding->Open(mousePath, hid::OpenMode::OverlappedRead, error);
  Check(r != nullptr, "open OverlappedRead");
  if (r) {
    std::uint8_t buf[16] = {};
    Check(r->Read(buf, sizeof buf, 50).Status == hid::ReadStatus::Timeout, "Read times out");
    uhid_event ev{};
    ev.type = UHID_INPUT2;
    ev.u.input2.size = 4;
    ev.u.input2.data[0] = 0x03;
    ev.u.input2.data[1] = 0x01;
    ev.u.input2.data[2] = 5;
    ev.u.input2.data[3] = 0xFB;
    UhidWrite(uhid, ev);
    const auto res = r->Read(buf, sizeof buf, 2000);
    Check(res.Status == hid::ReadStatus::Data && res.Count == 4 && buf[0] == 3 && buf[2] == 5,
          "Read an input report, ID first");
    std::thread canceller([&r] {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      r->CancelIo();
    });
    const auto t0 = std::chrono::steady_clock::now();
    const auto cancelled = r->Read(buf, sizeof buf, 10000);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
            .count();
    canceller.join();
    Check(cancelled.Status == hid::ReadStatus::Timeout && ms < 5000,
          "CancelIo wakes a blocked Read after " + std::to_string(ms) + " ms");
  }
  auto w = binding->Open(mousePath, hid::OpenMode::OverlappedWrite, error);
  Check(w != nullptr, "open OverlappedWrite");

  auto q = binding->Open(mousePath, hid::OpenMode::QueryOnly, error);
  Check(q != nullptr, "open QueryOnly");
  if (q) {
    hid::HIDD_ATTRIBUTES a;
    std::u16string name;
    std::uint8_t get[9] = {0x01};
    Check(q->GetAttributes(a) && a.VendorID == 0x3A7E && a.ProductID == 0x0A11,
          "query-only attributes from the HID_ID uevent");
    Check(q->GetProductString(name, 254) && name == u"Virtual Receiver",
          "query-only product string");
    Check(hid::HidP_GetCaps(q->GetPreparsedData().get()).FeatureReportByteLength == 9,
          "query-only caps");
    Check(!q->GetFeature(get, 9) && !q->SetFeature(get, 9), "query-only refuses feature reports");
  }
  auto kb = binding->Open(ours[0].DevicePath, hid::OpenMode::QueryOnly, error);
  Check(kb && hid::HidP_GetCaps(kb->GetPreparsedData().get()).Usage == 6,
        "keyboard collection caps");
  Check(!binding->Open(ours[0].DevicePath.substr(0, ours[0].DevicePath.size() - 2) + "09",
                       hid::OpenMode::QueryOnly, error) &&
            error == ENOENT,
        "a collection the node does not have: ENOENT");

  // Unplug: monitor, enumeration, open and the old handle.
  Destroy(uhid);
  Check(WaitTreeChange(*binding, notified, 5000), "monitor notified the unplug");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  Check(OurRecords(*binding).empty(), "unplugged device no longer listed");
  Check(!binding->Open(mousePath, hid::OpenMode::ReadWrite, error) && error != 0,
        "open after unplug fails, error " + std::to_string(error));
  if (h) {
    std::uint8_t get[9] = {0x01};
    hid::HIDD_ATTRIBUTES a;
    Check(!h->GetFeature(get, 9) && !h->GetAttributes(a), "old handle fails after unplug");
  }
  if (r) {
    std::uint8_t buf[16];
    Check(r->Read(buf, sizeof buf, 1000).Status == hid::ReadStatus::Error,
          "Read on an unplugged device answers Error");
  }

  // Re-plug: a new device instance.
  Check(Create(uhid), "UHID_CREATE2 again");
  Check(WaitTreeChange(*binding, notified, 5000), "monitor notified the re-plug");
  std::vector<hid::InterfaceRecord> replugged;
  for (int i = 0; i < 50 && (replugged = OurRecords(*binding)).size() < 3; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  Check(replugged.size() == 3 && replugged[1].DeviceInstance != ours[1].DeviceInstance,
        "re-plugged device has a new instance" +
            (replugged.size() == 3 ? " (" + std::to_string(ours[1].DeviceInstance) + " -> " +
                                         std::to_string(replugged[1].DeviceInstance) + ", " +
                                         replugged[1].DevicePath + ")"
                                   : std::string()));
  Destroy(uhid);

  stop = true;
  responder.join();
  ::close(uhid);
  std::printf("uhid_binding_check: %d passed, %d failed\n", g_passed, g_failed);
  std::printf("GUEST-RESULT: %s\n", g_failed == 0 && g_passed > 0 ? "PASS" : "FAIL");
  return g_failed ? 1 : 0;
}
