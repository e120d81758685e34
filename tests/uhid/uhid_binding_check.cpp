// The real Linux binding against the kernel's HID stack: the virtual receiver of UhidDevice.h
// through /dev/uhid, driven only through hid::MakeLinuxHidBinding(). Runs as root inside the QEMU
// guest of run.sh; prints "ok"/"FAIL" lines and exits 0 when everything held.
#include "hid/LinuxHidBinding.h"
#include "hid/ReportDescriptor.h"
#include "uhid/UhidDevice.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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

const std::uint8_t GetReply[9] = {0x01, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xCC, 0x88};

// How the device answers the kernel's next report requests.
enum class Fault { None, ErrorReply, ShortReply, EmptyReply, VanishOnGet };
std::atomic<Fault> g_fault{Fault::None};

std::atomic<int> g_sets{0};
std::mutex g_storeMutex;
std::uint8_t g_lastSet[9];
std::vector<std::uint8_t> g_large(uhidvm::LargeLength, 0); // what feature ID 6 holds

// Answers the kernel's GET_REPORT/SET_REPORT like the receiver would: ID 1 answers GetReply,
// ID 6 keeps what was set; anything else is refused.
void Responder(int fd, std::atomic<bool> &stop) {
  while (!stop) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    uhid_event ev{};
    if (::read(fd, &ev, sizeof ev) <= 0) continue;
    const Fault fault = g_fault;
    if (ev.type == UHID_GET_REPORT) {
      const auto &req = ev.u.get_report;
      if (fault == Fault::VanishOnGet) {
        g_fault = Fault::None;
        uhidvm::Destroy(fd); // no answer: the query is left waiting
        continue;
      }
      std::vector<std::uint8_t> answer;
      if (req.rtype == UHID_FEATURE_REPORT && req.rnum == uhidvm::CommandId) {
        answer.assign(GetReply, GetReply + sizeof GetReply);
      } else if (req.rtype == UHID_FEATURE_REPORT && req.rnum == uhidvm::LargeId) {
        const std::lock_guard lock(g_storeMutex);
        answer = g_large;
        answer[0] = uhidvm::LargeId;
      }
      if (fault == Fault::ShortReply) answer.resize(std::min<std::size_t>(answer.size(), 3));
      if (fault == Fault::EmptyReply) answer.clear();
      const bool refuse = fault == Fault::ErrorReply || (answer.empty() && fault == Fault::None);
      uhidvm::ReplyGet(fd, req.id, answer.data(), answer.size(), refuse ? EIO : 0);
    } else if (ev.type == UHID_SET_REPORT) {
      const auto &req = ev.u.set_report;
      if (fault != Fault::ErrorReply) {
        const std::lock_guard lock(g_storeMutex);
        if (req.rnum == uhidvm::LargeId)
          g_large.assign(req.data, req.data + std::min<std::size_t>(req.size, g_large.size()));
        else
          std::memcpy(g_lastSet, req.data, std::min<std::size_t>(req.size, 9));
        g_sets++;
      }
      uhidvm::ReplySet(fd, req.id, fault == Fault::ErrorReply ? EIO : 0);
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
  Check(uhidvm::Create(uhid), "UHID_CREATE2");
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
    Check(other >= 0 && uhidvm::Create(other, 0x1234, 0x5678) &&
              WaitTreeChange(*binding, notified, 5000),
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
      uhidvm::Destroy(other);
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
    Check(h->GetFeature(get, sizeof get) && std::memcmp(get, GetReply, 9) == 0,
          "GetFeature 9 bytes, ID first, byte 7 = 0xCC");
    std::uint8_t shortBuf[5] = {0x01, 0, 0, 0, 0};
    Check(h->GetFeature(shortBuf, sizeof shortBuf) && std::memcmp(shortBuf, GetReply, 5) == 0,
          "GetFeature into a 5-byte buffer: truncated, no overrun");
    std::uint8_t bad[9] = {0x07};
    Check(!h->GetFeature(bad, sizeof bad), "GetFeature of a report the device refuses fails");

    // A device that answers badly: the call fails, the caller's buffer keeps its bytes, and the
    // next exchange works again.
    const struct {
      Fault fault;
      bool set;
      const char *what;
    } badAnswers[] = {
        {Fault::ErrorReply, false, "GetFeature answered with an error fails"},
        {Fault::ErrorReply, true, "SetFeature answered with an error fails"},
        {Fault::ShortReply, false, "GetFeature answered with 3 of 9 bytes fails"},
        {Fault::EmptyReply, false, "GetFeature answered with no bytes fails"},
    };
    for (const auto &bad : badAnswers) {
      std::uint8_t buf[9] = {0x01, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
      g_fault = bad.fault;
      const bool ok = bad.set ? h->SetFeature(buf, sizeof buf) : h->GetFeature(buf, sizeof buf);
      g_fault = Fault::None;
      std::uint8_t next[9] = {0x01};
      Check(!ok && buf[1] == 0xEE && h->GetFeature(next, sizeof next) &&
                std::memcmp(next, GetReply, 9) == 0,
            std::string(bad.what) + ", buffer untouched, the next read works");
    }

    std::uint32_t count = 0;
    Check(h->GetNumInputBuffers(count) && count == 32, "default input buffers 32");
    Check(h->SetNumInputBuffers(128) && h->GetNumInputBuffers(count) && count == 128,
          "input buffers 128");
    Check(!h->SetNumInputBuffers(1) && !h->SetNumInputBuffers(513) &&
              h->GetNumInputBuffers(count) && count == 128,
          "input buffers out of range refused");
  }

  // The largest feature report uhid carries, through the vendor collection.
  auto v = binding->Open(ours[2].DevicePath, hid::OpenMode::ReadWrite, error);
  Check(v && hid::HidP_GetCaps(v->GetPreparsedData().get()).FeatureReportByteLength ==
                 uhidvm::LargeLength,
        "vendor collection caps: feature 4096");
  if (v) {
    std::vector<std::uint8_t> large(uhidvm::LargeLength);
    for (std::size_t i = 0; i < large.size(); ++i)
      large[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    large[0] = uhidvm::LargeId;
    bool arrived = v->SetFeature(large.data(), large.size());
    {
      const std::lock_guard lock(g_storeMutex);
      arrived = arrived && g_large == large;
    }
    Check(arrived, "SetFeature 4096 bytes reaches the device whole");
    std::vector<std::uint8_t> back(large.size(), 0);
    back[0] = uhidvm::LargeId;
    Check(v->GetFeature(back.data(), back.size()) && back == large,
          "GetFeature 4096 bytes returns them whole");
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
    uhidvm::Write(uhid, ev);
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

  // Unplug in the middle of a query: the device goes instead of answering. Then the monitor,
  // enumeration, open and the old handles.
  if (h) {
    g_fault = Fault::VanishOnGet;
    std::uint8_t get[9] = {0x01};
    const auto t0 = std::chrono::steady_clock::now();
    const bool answered = h->GetFeature(get, sizeof get);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
            .count();
    Check(!answered && ms < 4000, "GetFeature on a device that vanishes mid-query fails after " +
                                      std::to_string(ms) + " ms");
  } else {
    uhidvm::Destroy(uhid);
  }
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
  Check(uhidvm::Create(uhid), "UHID_CREATE2 again");
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
  uhidvm::Destroy(uhid);

  stop = true;
  responder.join();
  ::close(uhid);
  std::printf("uhid_binding_check: %d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 && g_passed > 0 ? 0 : 1;
}
