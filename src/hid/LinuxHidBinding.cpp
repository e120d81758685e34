#include "hid/LinuxHidBinding.h"

#include "framework/text/Utf.h"
#include "hid/PlatformHidBinding.h"
#include "hid/ReportDescriptor.h"
#include "hid/SysfsText.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <set>
#include <utility>

#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hid {

namespace {

// The size field of an ioctl number has 14 bits; HIDIOC[GS]FEATURE(len) cannot say more.
constexpr std::size_t MaxIoctlLength = (1u << 14) - 1;
// A report descriptor is at most HID_MAX_DESCRIPTOR_SIZE (4096) bytes; allow some slack.
constexpr std::size_t MaxDescriptorBytes = 1 << 16;
constexpr std::size_t MaxTextBytes = 1 << 16;
// Windows' input-buffer limits and default.
constexpr std::uint32_t MinInputBuffers = 2;
constexpr std::uint32_t MaxInputBuffers = 512;
constexpr std::uint32_t DefaultInputBuffers = 32;

const char *const HidClassGuid = "{745a17a0-74d3-11d0-b6fe-00a0c90f57da}";

struct UdevUnref {
  void operator()(udev *p) const { udev_unref(p); }
  void operator()(udev_device *p) const { udev_device_unref(p); }
  void operator()(udev_enumerate *p) const { udev_enumerate_unref(p); }
  void operator()(udev_monitor *p) const { udev_monitor_unref(p); }
};
template <typename T> using UdevPtr = std::unique_ptr<T, UdevUnref>;

// A file descriptor closed on destruction.
class Fd {
public:
  Fd() = default;
  explicit Fd(int fd) : m_fd(fd) {}
  Fd(Fd &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
  Fd &operator=(Fd &&other) noexcept {
    if (this != &other) {
      Reset();
      m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
  }
  Fd(const Fd &) = delete;
  Fd &operator=(const Fd &) = delete;
  ~Fd() { Reset(); }
  int Get() const { return m_fd; }
  void Reset() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
  }

private:
  int m_fd = -1;
};

// Reads a whole (small) file; none with errno set when it cannot be opened or read.
std::optional<std::string> ReadFile(const std::string &path, std::size_t maxBytes) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) return std::nullopt;
  std::string out;
  char buf[4096];
  while (out.size() < maxBytes) {
    const ssize_t n = ::read(fd.Get(), buf, std::min(sizeof buf, maxBytes - out.size()));
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  return out;
}

std::string Str(const char *s) {
  return s ? std::string(s) : std::string();
}

// What sysfs says about one hidraw node, gathered once per enumeration or open.
struct NodeInfo {
  std::string Devnode;
  std::string Syspath;    // the hidraw device
  std::string HidSyspath; // its parent on the hid bus ("…/0003:3A7E:0A11.0007")
  std::string UsbSyspath; // the usb_device ancestor; empty for uhid, I2C, Bluetooth…
  ino_t SysInode = 0;
  std::string HidUevent;
  std::optional<std::string> Descriptor;
  std::optional<std::vector<CollectionCaps>> Collections; // none: unreadable or malformed
};

std::optional<NodeInfo> DescribeNode(udev_device *dev) {
  NodeInfo info;
  info.Devnode = Str(udev_device_get_devnode(dev));
  info.Syspath = Str(udev_device_get_syspath(dev));
  if (info.Devnode.empty() || info.Syspath.empty()) return std::nullopt;
  struct stat st {};
  if (::stat(info.Syspath.c_str(), &st) == 0) info.SysInode = st.st_ino;
  // Parents are owned by `dev`: no unref.
  if (udev_device *hidDev = udev_device_get_parent_with_subsystem_devtype(dev, "hid", nullptr)) {
    info.HidSyspath = Str(udev_device_get_syspath(hidDev));
    info.HidUevent = ReadFile(info.HidSyspath + "/uevent", MaxTextBytes).value_or("");
    info.Descriptor = ReadFile(info.HidSyspath + "/report_descriptor", MaxDescriptorBytes);
  }
  if (udev_device *usb = udev_device_get_parent_with_subsystem_devtype(dev, "usb", "usb_device"))
    info.UsbSyspath = Str(udev_device_get_syspath(usb));
  if (info.Descriptor) {
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(info.Descriptor->data());
    info.Collections = ParseReportDescriptor(bytes, info.Descriptor->size());
    if (info.Collections && info.Collections->empty())
      info.Collections.reset(); // nothing to list per collection: list the node once
  }
  return info;
}

std::optional<std::string> UsbAttribute(const NodeInfo &info, const char *name) {
  if (info.UsbSyspath.empty()) return std::nullopt;
  auto text = ReadFile(info.UsbSyspath + "/" + name, MaxTextBytes);
  if (!text) return std::nullopt;
  return sysfs::TrimLine(*text);
}

std::uint16_t UsbVersion(const NodeInfo &info) {
  const auto text = UsbAttribute(info, "bcdDevice");
  return text ? sysfs::ParseHex16(*text).value_or(0) : 0;
}

unsigned long NodeNumber(const std::string &devnode) {
  std::size_t i = devnode.size();
  while (i > 0 && devnode[i - 1] >= '0' && devnode[i - 1] <= '9')
    --i;
  unsigned long n = 0;
  for (std::size_t k = i; k < devnode.size() && k < i + 9; ++k)
    n = n * 10 + static_cast<unsigned long>(devnode[k] - '0');
  return n;
}

class LinuxHidHandle final : public HidHandle {
public:
  LinuxHidHandle(NodeInfo info, std::size_t collection, OpenMode mode, Fd fd, Fd cancel)
      : m_info(std::move(info)), m_mode(mode), m_fd(std::move(fd)), m_cancel(std::move(cancel)) {
    if (m_info.Collections && collection < m_info.Collections->size()) {
      auto data = std::make_shared<PreparsedData>();
      data->Caps = (*m_info.Collections)[collection].ToCaps();
      m_preparsed = std::move(data);
    }
  }

  bool GetAttributes(HIDD_ATTRIBUTES &attributes) override {
    if (m_fd.Get() >= 0) {
      struct hidraw_devinfo raw {};
      if (::ioctl(m_fd.Get(), HIDIOCGRAWINFO, &raw) < 0) return false;
      // vendor and product are signed shorts in the kernel's struct: take their 16 bits.
      attributes.VendorID = static_cast<std::uint16_t>(raw.vendor);
      attributes.ProductID = static_cast<std::uint16_t>(raw.product);
    } else {
      // Query-only: reread the uevent so that a vanished device fails as its handle would.
      const auto uevent = ReadFile(m_info.HidSyspath + "/uevent", MaxTextBytes);
      if (!uevent) return false;
      const auto idText = sysfs::UeventValue(*uevent, "HID_ID");
      const auto id = idText ? sysfs::ParseHidId(*idText) : std::nullopt;
      if (!id) {
        errno = EINVAL;
        return false;
      }
      attributes.VendorID = id->Vendor;
      attributes.ProductID = id->Product;
    }
    attributes.VersionNumber = UsbVersion(m_info);
    return true;
  }

  std::shared_ptr<const PreparsedData> GetPreparsedData() override { return m_preparsed; }

  bool GetProductString(std::u16string &name, std::size_t maxChars) override {
    std::optional<std::string> text;
    if (!m_info.UsbSyspath.empty()) {
      text = UsbAttribute(m_info, "product");
    } else if (const auto uevent = ReadFile(m_info.HidSyspath + "/uevent", MaxTextBytes)) {
      text = sysfs::UeventValue(*uevent, "HID_NAME");
    }
    if (!text) return false;
    name = framework::text::Utf8ToUtf16(*text, maxChars);
    return true;
  }

  bool GetFeature(std::uint8_t *buffer, std::size_t length) override {
    if (!CanTransfer(buffer, length)) return false;
    const std::size_t featureLength = m_preparsed ? m_preparsed->Caps.FeatureReportByteLength : 0;
    const std::size_t n = std::min(std::max(length, featureLength), MaxIoctlLength);
    std::vector<std::uint8_t> report(buffer, buffer + 1); // the report ID
    report.resize(n, 0);
    const int got = ::ioctl(m_fd.Get(), HIDIOCGFEATURE(n), report.data());
    if (got < 0) return false;
    // The kernel passes on whatever the device sent. Zeros in place of missing bytes would read
    // as values, so an answer shorter than the report (or than the caller's buffer) is a failure.
    const std::size_t needed = featureLength != 0 ? std::min(length, featureLength) : length;
    if (static_cast<std::size_t>(got) < needed) {
      errno = EIO;
      return false;
    }
    std::memcpy(buffer, report.data(), std::min(length, n));
    return true;
  }

  bool SetFeature(const std::uint8_t *buffer, std::size_t length) override {
    if (!CanTransfer(buffer, length)) return false;
    if (length > MaxIoctlLength) {
      errno = EINVAL;
      return false;
    }
    std::vector<std::uint8_t> report(buffer, buffer + length);
    return ::ioctl(m_fd.Get(), HIDIOCSFEATURE(length), report.data()) >= 0;
  }

  bool SetNumInputBuffers(std::uint32_t count) override {
    if (count < MinInputBuffers || count > MaxInputBuffers) {
      errno = EINVAL;
      return false;
    }
    m_inputBuffers = count;
    return true;
  }

  bool GetNumInputBuffers(std::uint32_t &count) override {
    count = m_inputBuffers;
    return true;
  }

  ReadResult Read(std::uint8_t *buffer, std::size_t length, int timeoutMs) override {
    ReadResult result;
    if (m_fd.Get() < 0 || m_cancel.Get() < 0 || !buffer || length == 0) {
      result.Error = EBADF;
      return result;
    }
    const std::size_t inputLength = m_preparsed ? m_preparsed->Caps.InputReportByteLength : 0;
    m_readBuffer.resize(std::max(length, inputLength));
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
      int wait = -1;
      if (timeoutMs >= 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        wait = static_cast<int>(std::max<long long>(left, 0));
      }
      pollfd fds[2] = {{m_fd.Get(), POLLIN, 0}, {m_cancel.Get(), POLLIN, 0}};
      const int ready = ::poll(fds, 2, wait);
      if (ready < 0) {
        if (errno == EINTR) continue;
        result.Error = static_cast<std::uint32_t>(errno);
        return result;
      }
      if (ready == 0) {
        result.Status = ReadStatus::Timeout;
        return result;
      }
      if (fds[1].revents & POLLIN) {
        std::uint64_t drained = 0;
        if (::read(m_cancel.Get(), &drained, sizeof drained) < 0 && errno != EAGAIN) {
          result.Error = static_cast<std::uint32_t>(errno);
          return result;
        }
        result.Status = ReadStatus::Timeout;
        return result;
      }
      if (fds[0].revents & POLLIN) {
        const ssize_t n = ::read(m_fd.Get(), m_readBuffer.data(), m_readBuffer.size());
        if (n < 0) {
          if (errno == EINTR || errno == EAGAIN) continue;
          result.Error = static_cast<std::uint32_t>(errno);
          return result;
        }
        result.Status = ReadStatus::Data;
        result.Count = std::min(static_cast<std::size_t>(n), length);
        std::memcpy(buffer, m_readBuffer.data(), result.Count);
        return result;
      }
      if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
        result.Error = ENODEV; // the device went away
        return result;
      }
    }
  }

  // A cancel with no read in progress makes the next Read answer Timeout at once; that is
  // harmless for the reader loop and avoids losing a wake-up that races the start of a Read.
  void CancelIo() override {
    if (m_cancel.Get() < 0) return;
    const std::uint64_t one = 1;
    // The only failure of a write to our own non-blocking eventfd is EAGAIN, a saturated
    // counter: a wake-up is pending already.
    [[maybe_unused]] const ssize_t n = ::write(m_cancel.Get(), &one, sizeof one);
  }

private:
  bool CanTransfer(const std::uint8_t *buffer, std::size_t length) const {
    if (m_mode != OpenMode::ReadWrite || m_fd.Get() < 0) {
      errno = EACCES;
      return false;
    }
    if (!buffer || length == 0) {
      errno = EINVAL;
      return false;
    }
    return true;
  }

  NodeInfo m_info;
  OpenMode m_mode;
  Fd m_fd;     // -1 for a query-only handle
  Fd m_cancel; // eventfd that wakes Read; -1 unless the handle can read
  std::shared_ptr<const PreparsedData> m_preparsed;
  std::uint32_t m_inputBuffers = DefaultInputBuffers;
  std::vector<std::uint8_t> m_readBuffer;
};

class LinuxHidBinding final : public HidBinding {
public:
  LinuxHidBinding() : m_udev(udev_new()) {
    if (!m_udev) return;
    // Without a running udevd the "udev" source never delivers anything; listen to the
    // kernel's own uevents then.
    const char *source = ::access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
    UdevPtr<udev_monitor> monitor(udev_monitor_new_from_netlink(m_udev.get(), source));
    if (monitor &&
        udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) >= 0 &&
        udev_monitor_enable_receiving(monitor.get()) >= 0)
      m_monitor = std::move(monitor);
  }

  bool Bound() const override { return m_udev != nullptr; }
  std::string UnboundReason() const override {
    return m_udev ? std::string() : "cannot start libudev";
  }

  std::optional<std::vector<InterfaceRecord>> Enumerate() override {
    if (!m_udev) return std::nullopt;
    UdevPtr<udev_enumerate> en(udev_enumerate_new(m_udev.get()));
    if (!en || udev_enumerate_add_match_subsystem(en.get(), "hidraw") < 0 ||
        udev_enumerate_scan_devices(en.get()) < 0)
      return std::nullopt;

    std::vector<NodeInfo> nodes;
    udev_list_entry *entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(en.get())) {
      const char *syspath = udev_list_entry_get_name(entry);
      if (!syspath) continue;
      UdevPtr<udev_device> dev(udev_device_new_from_syspath(m_udev.get(), syspath));
      if (!dev) continue; // gone between the scan and now
      if (auto info = DescribeNode(dev.get())) nodes.push_back(std::move(*info));
    }
    // hidraw2 before hidraw10.
    std::stable_sort(nodes.begin(), nodes.end(), [](const NodeInfo &a, const NodeInfo &b) {
      return NodeNumber(a.Devnode) < NodeNumber(b.Devnode);
    });

    std::vector<InterfaceRecord> records;
    std::set<std::string> seen;
    for (const NodeInfo &node : nodes) {
      const std::size_t count = node.Collections ? node.Collections->size() : 1;
      for (std::size_t i = 0; i < count; ++i) {
        InterfaceRecord r;
        r.DevicePath = node.Collections ? sysfs::CollectionPath(node.Devnode, i) : node.Devnode;
        const CollectionCaps caps = node.Collections ? (*node.Collections)[i] : CollectionCaps{};
        r.Properties = Properties(node, caps, i, count);
        std::string key = InstanceKey(node, r.DevicePath);
        r.DeviceInstance = InstanceFor(key);
        seen.insert(std::move(key));
        records.push_back(std::move(r));
      }
    }
    // Forget devices that left: their keys can never come back (see InstanceKey).
    for (auto it = m_instances.begin(); it != m_instances.end();)
      it = seen.count(it->first) ? std::next(it) : m_instances.erase(it);
    return records;
  }

  std::unique_ptr<HidHandle> Open(const std::string &path, OpenMode mode,
                                  std::uint32_t &error) override {
    error = 0;
    auto fail = [&error](int code) -> std::unique_ptr<HidHandle> {
      error = static_cast<std::uint32_t>(code != 0 ? code : EIO);
      return nullptr;
    };
    if (!m_udev) return fail(ENODEV);
    const auto parsed = sysfs::ParseInterfacePath(path);
    if (!parsed) return fail(ENOENT);
    struct stat st {};
    if (::stat(parsed->Devnode.c_str(), &st) < 0) return fail(errno);
    if (!S_ISCHR(st.st_mode)) return fail(ENODEV);
    UdevPtr<udev_device> dev(udev_device_new_from_devnum(m_udev.get(), 'c', st.st_rdev));
    if (!dev) return fail(errno == 0 ? ENODEV : errno);
    const char *subsystem = udev_device_get_subsystem(dev.get());
    if (!subsystem || std::strcmp(subsystem, "hidraw") != 0) return fail(ENODEV);
    auto info = DescribeNode(dev.get());
    if (!info || info->HidSyspath.empty()) return fail(ENODEV);
    const std::size_t count = info->Collections ? info->Collections->size() : 1;
    if (parsed->CollectionIndex >= count) return fail(ENOENT);

    Fd fd;
    Fd cancel;
    if (mode != OpenMode::QueryOnly) {
      int flags = O_CLOEXEC;
      switch (mode) {
      case OpenMode::ReadWrite:
        flags |= O_RDWR;
        break;
      case OpenMode::OverlappedRead:
        flags |= O_RDONLY | O_NONBLOCK;
        break;
      case OpenMode::OverlappedWrite:
        flags |= O_WRONLY;
        break;
      case OpenMode::QueryOnly:
        break;
      }
      fd = Fd(::open(parsed->Devnode.c_str(), flags));
      if (fd.Get() < 0)
        return fail(errno); // EACCES/EPERM: the device layer falls back to QueryOnly
      if (mode == OpenMode::ReadWrite || mode == OpenMode::OverlappedRead) {
        cancel = Fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
        if (cancel.Get() < 0) return fail(errno);
      }
    }
    return std::make_unique<LinuxHidHandle>(std::move(*info), parsed->CollectionIndex, mode,
                                            std::move(fd), std::move(cancel));
  }

  int DeviceTreeEventFd() const override {
    return m_monitor ? udev_monitor_get_fd(m_monitor.get()) : -1;
  }

  void DeviceTreeEventReady() override {
    if (!m_monitor) return;
    bool any = false;
    // The monitor's socket is non-blocking: receive answers null once it is drained.
    for (int i = 0; i < 100000; ++i) {
      udev_device *dev = udev_monitor_receive_device(m_monitor.get());
      if (!dev) break;
      udev_device_unref(dev);
      any = true;
    }
    if (any) NotifyDeviceTreeChanged();
  }

private:
  // Identity of one collection of one device presence. The hid device's sysfs name ends with a
  // sequence number that the HID core increments for every device it adds
  // ("0003:3A7E:0A11.0007"), and the hidraw sysfs directory of a new presence is a new sysfs node
  // with a new inode; so a re-plugged device gets a new key even when it gets the same
  // /dev/hidrawN back, while the key stays the same as long as the device stays.
  static std::string InstanceKey(const NodeInfo &node, const std::string &devicePath) {
    return node.HidSyspath + '\n' + node.Syspath + '\n' + std::to_string(node.SysInode) + '\n' +
           devicePath;
  }

  std::uint32_t InstanceFor(const std::string &key) {
    auto it = m_instances.find(key);
    if (it != m_instances.end()) return it->second;
    if (++m_nextInstance == 0) m_nextInstance = 1;
    m_instances.emplace(key, m_nextInstance);
    return m_nextInstance;
  }

  static DeviceProperties Properties(const NodeInfo &node, const CollectionCaps &caps,
                                     std::size_t index, std::size_t count) {
    DeviceProperties p;
    const auto uevent = sysfs::ParseUevent(node.HidUevent);
    auto value = [&uevent](std::string_view key) {
      for (const auto &[k, v] : uevent)
        if (k == key) return v;
      return std::string();
    };
    const auto id = sysfs::ParseHidId(value("HID_ID"));
    const std::uint16_t version = UsbVersion(node);

    p.ClassName = "HIDClass";
    p.ClassGuid = HidClassGuid;
    if (id) p.HardwareId = sysfs::HardwareIds(id->Vendor, id->Product, version, index, count);
    p.CompatibleIds = sysfs::CompatibleIds(caps.UsagePage, caps.Usage);
    p.DeviceDesc = value("HID_NAME");
    p.FriendlyName = p.DeviceDesc;
    p.Driver = value("DRIVER");
    p.Service = p.Driver;
    p.Mfg = UsbAttribute(node, "manufacturer").value_or("");
    p.LocationInformation = value("HID_PHYS");
    p.PhysicalDeviceObjectName = node.Syspath;
    p.EnumeratorName = id && id->Bus == sysfs::BusUsb ? "USB" : "HID";
    if (const auto bus = UsbAttribute(node, "busnum"))
      p.BusNumber = sysfs::ParseDecimal32(*bus).value_or(0);
    return p;
  }

  UdevPtr<udev> m_udev;
  UdevPtr<udev_monitor> m_monitor;
  std::map<std::string, std::uint32_t> m_instances;
  std::uint32_t m_nextInstance = 0;
};

} // namespace

std::unique_ptr<HidBinding> MakeLinuxHidBinding() {
  return std::make_unique<LinuxHidBinding>();
}

std::unique_ptr<HidBinding> MakePlatformHidBinding() {
  return MakeLinuxHidBinding();
}

} // namespace hid
