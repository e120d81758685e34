#include "hid/WindowsHidBinding.h"

#include "hid/PlatformHidBinding.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <dbt.h>
#include <setupapi.h>

namespace hid {

namespace {

// Property buffers of the device-setup registry: texts, and lists of zero-terminated texts.
constexpr DWORD TextPropertyBytes = 1024;
constexpr DWORD ListPropertyBytes = 16384;
// HidP_GetCaps' success status.
constexpr LONG HidpStatusSuccess = 0x00110000;

// The platform's attributes record; ours carries the same fields in C++ types.
struct NativeAttributes {
  ULONG Size;
  USHORT VendorID;
  USHORT ProductID;
  USHORT VersionNumber;
};
static_assert(sizeof(HIDP_CAPS) == 64, "our record is the platform's HIDP_CAPS");

struct ModuleRelease {
  void operator()(HMODULE module) const {
    // Nothing to do about a failure when letting a library go.
    [[maybe_unused]] const BOOL released = ::FreeLibrary(module);
  }
};
using ModulePtr = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleRelease>;

struct HandleClose {
  void operator()(HANDLE handle) const {
    // A handle we opened and close once: nothing to do about a failure here.
    [[maybe_unused]] const BOOL closed = ::CloseHandle(handle);
  }
};
// Null when there is no handle; CreateFileA's INVALID_HANDLE_VALUE is never stored.
using UniqueHandle = std::unique_ptr<void, HandleClose>;

// Every function the binding calls in the two libraries, resolved in Bind() and nowhere else.
struct Api {
  ModulePtr SetupApi;
  ModulePtr Hid;

  HDEVINFO(WINAPI *SetupDiGetClassDevsA)(const GUID *, PCSTR, HWND, DWORD) = nullptr;
  BOOL(WINAPI *SetupDiEnumDeviceInterfaces)
  (HDEVINFO, PSP_DEVINFO_DATA, const GUID *, DWORD, PSP_DEVICE_INTERFACE_DATA) = nullptr;
  BOOL(WINAPI *SetupDiGetDeviceInterfaceDetailA)
  (HDEVINFO, PSP_DEVICE_INTERFACE_DATA, PSP_DEVICE_INTERFACE_DETAIL_DATA_A, DWORD, PDWORD,
   PSP_DEVINFO_DATA) = nullptr;
  BOOL(WINAPI *SetupDiGetDeviceRegistryPropertyA)
  (HDEVINFO, PSP_DEVINFO_DATA, DWORD, PDWORD, PBYTE, DWORD, PDWORD) = nullptr;
  BOOL(WINAPI *SetupDiDestroyDeviceInfoList)(HDEVINFO) = nullptr;

  void(WINAPI *HidD_GetHidGuid)(GUID *) = nullptr;
  BOOLEAN(WINAPI *HidD_GetAttributes)(HANDLE, NativeAttributes *) = nullptr;
  BOOLEAN(WINAPI *HidD_GetPreparsedData)(HANDLE, void **) = nullptr;
  BOOLEAN(WINAPI *HidD_FreePreparsedData)(void *) = nullptr;
  LONG(WINAPI *HidP_GetCaps)(void *, HIDP_CAPS *) = nullptr;
  BOOLEAN(WINAPI *HidD_GetProductString)(HANDLE, void *, ULONG) = nullptr;
  BOOLEAN(WINAPI *HidD_GetFeature)(HANDLE, void *, ULONG) = nullptr;
  BOOLEAN(WINAPI *HidD_SetFeature)(HANDLE, void *, ULONG) = nullptr;
  BOOLEAN(WINAPI *HidD_SetNumInputBuffers)(HANDLE, ULONG) = nullptr;
  BOOLEAN(WINAPI *HidD_GetNumInputBuffers)(HANDLE, PULONG) = nullptr;
};

template <typename Function> bool Resolve(HMODULE module, const char *name, Function &function) {
  const FARPROC address = ::GetProcAddress(module, name);
  if (!address) return false;
  // Through the generic function type, which is how GCC lets a FARPROC change its signature.
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
  return true;
}

ModulePtr LoadSystemLibrary(const std::string &name, std::string &error) {
  // The system folder only: a hid.dll beside the program or in the current folder is never
  // taken.
  ModulePtr module(::LoadLibraryExA(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (!module) error = "cannot load " + name + " (error " + std::to_string(::GetLastError()) + ")";
  return module;
}

// None, with `error` saying which library or function is missing, unless every function is
// there.
std::shared_ptr<const Api> Bind(const WindowsHidLibraries &libraries, std::string &error) {
  auto api = std::make_shared<Api>();
#define RESOLVE(module, library, function)                                                         \
  if (!Resolve(api->module.get(), #function, api->function)) {                                     \
    error = library + " has no " #function;                                                        \
    return nullptr;                                                                                \
  }
  api->SetupApi = LoadSystemLibrary(libraries.SetupApi, error);
  if (!api->SetupApi) return nullptr;
  RESOLVE(SetupApi, libraries.SetupApi, SetupDiGetClassDevsA)
  RESOLVE(SetupApi, libraries.SetupApi, SetupDiEnumDeviceInterfaces)
  RESOLVE(SetupApi, libraries.SetupApi, SetupDiGetDeviceInterfaceDetailA)
  RESOLVE(SetupApi, libraries.SetupApi, SetupDiGetDeviceRegistryPropertyA)
  RESOLVE(SetupApi, libraries.SetupApi, SetupDiDestroyDeviceInfoList)

  api->Hid = LoadSystemLibrary(libraries.Hid, error);
  if (!api->Hid) return nullptr;
  RESOLVE(Hid, libraries.Hid, HidD_GetHidGuid)
  RESOLVE(Hid, libraries.Hid, HidD_GetAttributes)
  RESOLVE(Hid, libraries.Hid, HidD_GetPreparsedData)
  RESOLVE(Hid, libraries.Hid, HidD_FreePreparsedData)
  RESOLVE(Hid, libraries.Hid, HidP_GetCaps)
  RESOLVE(Hid, libraries.Hid, HidD_GetProductString)
  RESOLVE(Hid, libraries.Hid, HidD_GetFeature)
  RESOLVE(Hid, libraries.Hid, HidD_SetFeature)
  RESOLVE(Hid, libraries.Hid, HidD_SetNumInputBuffers)
  RESOLVE(Hid, libraries.Hid, HidD_GetNumInputBuffers)
#undef RESOLVE
  return api;
}

std::uint32_t LastError() {
  return static_cast<std::uint32_t>(::GetLastError());
}

class WindowsHidHandle final : public HidHandle {
public:
  WindowsHidHandle(std::shared_ptr<const Api> api, OpenMode mode, UniqueHandle handle,
                   UniqueHandle readEvent, UniqueHandle cancelEvent)
      : m_api(std::move(api)), m_mode(mode), m_handle(std::move(handle)),
        m_readEvent(std::move(readEvent)), m_cancelEvent(std::move(cancelEvent)) {}

  bool GetAttributes(HIDD_ATTRIBUTES &attributes) override {
    NativeAttributes native{};
    native.Size = sizeof native;
    if (!m_api->HidD_GetAttributes(m_handle.get(), &native)) return false;
    attributes.VendorID = native.VendorID;
    attributes.ProductID = native.ProductID;
    attributes.VersionNumber = native.VersionNumber;
    return true;
  }

  std::shared_ptr<const PreparsedData> GetPreparsedData() override {
    void *native = nullptr;
    if (!m_api->HidD_GetPreparsedData(m_handle.get(), &native)) return nullptr;
    auto data = std::make_shared<PreparsedData>();
    const LONG status = m_api->HidP_GetCaps(native, &data->Caps);
    // The caps are all we keep of the platform's data.
    [[maybe_unused]] const BOOLEAN freed = m_api->HidD_FreePreparsedData(native);
    if (status != HidpStatusSuccess) {
      ::SetLastError(ERROR_INVALID_DATA);
      return nullptr;
    }
    return data;
  }

  bool GetProductString(std::u16string &name, std::size_t maxChars) override {
    // The platform's wide characters are UTF-16 units; one more for the terminating zero.
    std::vector<char16_t> buffer(std::min<std::size_t>(maxChars, 0x7FFFFFFE / 2) + 1, 0);
    const auto bytes = static_cast<ULONG>(buffer.size() * sizeof(char16_t));
    if (!m_api->HidD_GetProductString(m_handle.get(), buffer.data(), bytes)) return false;
    const auto end = std::find(buffer.begin(), buffer.end() - 1, u'\0');
    name.assign(buffer.begin(), end);
    return true;
  }

  bool GetFeature(std::uint8_t *buffer, std::size_t length) override {
    if (!CheckBuffer(buffer, length)) return false;
    // The platform wants room for the whole report, whatever the caller asks for.
    std::vector<std::uint8_t> report(
        std::max(length, ReportLength(&HIDP_CAPS::FeatureReportByteLength)), 0);
    report[0] = buffer[0];
    if (!m_api->HidD_GetFeature(m_handle.get(), report.data(), static_cast<ULONG>(report.size())))
      return false;
    std::memcpy(buffer, report.data(), length);
    return true;
  }

  bool SetFeature(const std::uint8_t *buffer, std::size_t length) override {
    if (!CheckBuffer(buffer, length)) return false;
    std::vector<std::uint8_t> report(buffer, buffer + length); // the platform's call is not const
    return m_api->HidD_SetFeature(m_handle.get(), report.data(), static_cast<ULONG>(length));
  }

  bool SetNumInputBuffers(std::uint32_t count) override {
    return m_api->HidD_SetNumInputBuffers(m_handle.get(), count);
  }

  bool GetNumInputBuffers(std::uint32_t &count) override {
    ULONG value = 0;
    if (!m_api->HidD_GetNumInputBuffers(m_handle.get(), &value)) return false;
    count = value;
    return true;
  }

  ReadResult Read(std::uint8_t *buffer, std::size_t length, int timeoutMs) override {
    ReadResult result;
    if (m_mode != OpenMode::OverlappedRead) {
      result.Error = ERROR_INVALID_FUNCTION;
      return result;
    }
    if (!buffer || length == 0 || length > MAXDWORD) {
      result.Error = ERROR_INVALID_PARAMETER;
      return result;
    }
    // A read shorter than the input report is refused by the platform.
    m_readBuffer.resize(std::max(length, ReportLength(&HIDP_CAPS::InputReportByteLength)));
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_readEvent.get();
    DWORD count = 0;
    if (!::ReadFile(m_handle.get(), m_readBuffer.data(), static_cast<DWORD>(m_readBuffer.size()),
                    nullptr, &overlapped) &&
        ::GetLastError() != ERROR_IO_PENDING) {
      result.Error = LastError();
      return result;
    }
    const HANDLE waits[2] = {m_readEvent.get(), m_cancelEvent.get()};
    const DWORD waited = ::WaitForMultipleObjects(
        2, waits, FALSE, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
    const std::uint32_t waitError = waited == WAIT_FAILED ? LastError() : 0;
    if (waited != WAIT_OBJECT_0) {
      // The buffer must not be written after we return: cancel, then wait for the read to end.
      // A report that arrived meanwhile completes the read and is delivered.
      [[maybe_unused]] const BOOL cancelled = ::CancelIo(m_handle.get());
    }
    if (!::GetOverlappedResult(m_handle.get(), &overlapped, &count, TRUE)) {
      const std::uint32_t error = LastError();
      if (error == ERROR_OPERATION_ABORTED && waitError == 0) {
        result.Status = ReadStatus::Timeout;
      } else {
        result.Error = waitError != 0 ? waitError : error;
      }
      return result;
    }
    result.Status = ReadStatus::Data;
    result.Count = std::min<std::size_t>(count, length);
    std::memcpy(buffer, m_readBuffer.data(), result.Count);
    return result;
  }

  // Auto-reset: one cancel wakes one Read; a cancel with no read in progress makes the next Read
  // answer Timeout at once, so a wake-up that races the start of a Read is never lost.
  void CancelIo() override {
    if (!m_cancelEvent) return;
    // Fails only for a handle without the right to set it, which ours has.
    [[maybe_unused]] const BOOL set = ::SetEvent(m_cancelEvent.get());
  }

private:
  bool CheckBuffer(const std::uint8_t *buffer, std::size_t length) const {
    if (!buffer || length == 0 || length > MAXDWORD) {
      ::SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    return true;
  }

  // One report length of the interface, from its caps the first time they can be had; 0 before.
  std::size_t ReportLength(std::uint16_t HIDP_CAPS::*field) {
    if (!m_caps) {
      const DWORD saved = ::GetLastError();
      if (const auto data = GetPreparsedData()) m_caps = data->Caps;
      ::SetLastError(saved);
    }
    return m_caps ? (*m_caps).*field : 0;
  }

  std::shared_ptr<const Api> m_api;
  OpenMode m_mode;
  UniqueHandle m_handle;
  UniqueHandle m_readEvent;   // manual-reset, for the pending read; OverlappedRead only
  UniqueHandle m_cancelEvent; // auto-reset, set by CancelIo; OverlappedRead only
  std::optional<HIDP_CAPS> m_caps;
  std::vector<std::uint8_t> m_readBuffer;
};

// The hotplug window and the thread that serves it. Message-only windows receive no broadcasts,
// so it registers for the HID interface class explicitly.
class DeviceChangeWindow {
public:
  DeviceChangeWindow(const GUID &interfaceClass, std::function<void()> changed)
      : m_interfaceClass(interfaceClass), m_changed(std::move(changed)) {
    std::promise<HWND> ready;
    std::future<HWND> window = ready.get_future();
    m_thread = std::thread([this, ready = std::move(ready)]() mutable { Run(ready); });
    m_window = window.get();
    if (!m_window) m_thread.join();
  }

  ~DeviceChangeWindow() {
    if (!m_window) return;
    // The only failure is a full queue, which the window's thread keeps draining.
    while (!::PostMessageA(m_window, WM_CLOSE, 0, 0))
      ::Sleep(10);
    m_thread.join();
  }

  DeviceChangeWindow(const DeviceChangeWindow &) = delete;
  DeviceChangeWindow &operator=(const DeviceChangeWindow &) = delete;

  bool Running() const { return m_window != nullptr; }
  const std::string &Error() const { return m_error; }

private:
  static bool RegisterWindowClass() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &DeviceChangeWindow::Procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = WindowsDeviceChangeWindowClass;
    // Registered once for the process and kept: several bindings may be alive at once.
    return ::RegisterClassExA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }

  void Run(std::promise<HWND> &ready) {
    if (!RegisterWindowClass()) {
      m_error = "cannot register the device-change window class (error " +
                std::to_string(::GetLastError()) + ")";
      ready.set_value(nullptr);
      return;
    }
    const HWND window = ::CreateWindowExA(0, WindowsDeviceChangeWindowClass, "", 0, 0, 0, 0, 0,
                                          HWND_MESSAGE, nullptr, ::GetModuleHandleA(nullptr), this);
    if (!window) {
      m_error =
          "cannot create the device-change window (error " + std::to_string(::GetLastError()) + ")";
      ready.set_value(nullptr);
      return;
    }
    DEV_BROADCAST_DEVICEINTERFACE_A filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = m_interfaceClass;
    const HDEVNOTIFY registration =
        ::RegisterDeviceNotificationA(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (!registration) {
      m_error = "cannot register for HID device notifications (error " +
                std::to_string(::GetLastError()) + ")";
      [[maybe_unused]] const BOOL destroyed = ::DestroyWindow(window);
      ready.set_value(nullptr);
      return;
    }
    m_registration = registration;
    ready.set_value(window);
    MSG message;
    // -1 is an error of GetMessageA itself; the window is unusable then as well.
    while (::GetMessageA(&message, nullptr, 0, 0) > 0)
      ::DispatchMessageA(&message);
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto *create = reinterpret_cast<const CREATESTRUCTA *>(lParam);
      ::SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *self = reinterpret_cast<DeviceChangeWindow *>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_DEVICECHANGE:
      if (self && (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) && lParam) {
        const auto *header = reinterpret_cast<const DEV_BROADCAST_HDR *>(lParam);
        if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) self->m_changed();
      }
      return TRUE;
    case WM_CLOSE: {
      if (self && self->m_registration) {
        [[maybe_unused]] const BOOL unregistered =
            ::UnregisterDeviceNotification(self->m_registration);
        self->m_registration = nullptr;
      }
      // Fails only for a window of another thread, which this is not.
      [[maybe_unused]] const BOOL destroyed = ::DestroyWindow(window);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
    }
  }

  const GUID m_interfaceClass;
  const std::function<void()> m_changed;
  std::string m_error;
  HWND m_window = nullptr;
  HDEVNOTIFY m_registration = nullptr; // the window's thread only
  std::thread m_thread;
};

struct DeviceInfoListDestroy {
  const Api *api;
  void operator()(void *set) const {
    [[maybe_unused]] const BOOL destroyed = api->SetupDiDestroyDeviceInfoList(set);
  }
};

class WindowsHidBinding final : public HidBinding {
public:
  explicit WindowsHidBinding(const WindowsHidLibraries &libraries)
      : m_api(Bind(libraries, m_unboundReason)) {
    if (!m_api) return;
    m_api->HidD_GetHidGuid(&m_hidGuid);
    m_notifier =
        std::make_unique<DeviceChangeWindow>(m_hidGuid, [this] { NotifyDeviceTreeChanged(); });
    // Without hotplug the device list would silently go stale: better said and inert.
    if (!m_notifier->Running()) {
      m_unboundReason = m_notifier->Error();
      m_notifier.reset();
      m_api.reset();
    }
  }

  // The window's thread calls the listener until the window is gone.
  ~WindowsHidBinding() override { m_notifier.reset(); }

  bool Bound() const override { return m_api != nullptr; }
  std::string UnboundReason() const override { return m_unboundReason; }

  std::optional<std::vector<InterfaceRecord>> Enumerate() override {
    if (!m_api) return std::nullopt;
    const HDEVINFO set = m_api->SetupDiGetClassDevsA(&m_hidGuid, nullptr, nullptr,
                                                     DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return std::nullopt;
    const std::unique_ptr<void, DeviceInfoListDestroy> release(set, {m_api.get()});

    std::vector<InterfaceRecord> records;
    for (DWORD index = 0;; ++index) {
      SP_DEVICE_INTERFACE_DATA interfaceData{};
      interfaceData.cbSize = sizeof interfaceData;
      if (!m_api->SetupDiEnumDeviceInterfaces(set, nullptr, &m_hidGuid, index, &interfaceData))
        break; // ERROR_NO_MORE_ITEMS, or a set that cannot be walked further
      if (auto record = Describe(set, interfaceData)) records.push_back(std::move(*record));
    }
    return records;
  }

  std::unique_ptr<HidHandle> Open(const std::string &path, OpenMode mode,
                                  std::uint32_t &error) override {
    error = 0;
    if (!m_api) {
      error = ERROR_DLL_NOT_FOUND;
      return nullptr;
    }
    // Only device paths: a file name would open a file, which no HID call can use.
    if (path.rfind("\\\\?\\", 0) != 0 && path.rfind("\\\\.\\", 0) != 0) {
      error = ERROR_BAD_PATHNAME;
      return nullptr;
    }
    DWORD access = 0;
    DWORD flags = 0;
    switch (mode) {
    case OpenMode::ReadWrite:
      access = GENERIC_READ | GENERIC_WRITE;
      break;
    case OpenMode::QueryOnly:
      break;
    case OpenMode::OverlappedRead:
      access = GENERIC_READ;
      flags = FILE_FLAG_OVERLAPPED;
      break;
    case OpenMode::OverlappedWrite:
      access = GENERIC_WRITE;
      flags = FILE_FLAG_OVERLAPPED;
      break;
    }
    const HANDLE opened = ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, flags, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
      error = LastError();
      return nullptr;
    }
    UniqueHandle handle(opened);
    UniqueHandle readEvent, cancelEvent;
    if (mode == OpenMode::OverlappedRead) {
      readEvent.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
      if (!readEvent) {
        error = LastError();
        return nullptr;
      }
      cancelEvent.reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
      if (!cancelEvent) {
        error = LastError();
        return nullptr;
      }
    }
    return std::make_unique<WindowsHidHandle>(m_api, mode, std::move(handle), std::move(readEvent),
                                              std::move(cancelEvent));
  }

private:
  // One member of the set; none when its detail cannot be read (it is tried again next scan).
  std::optional<InterfaceRecord> Describe(HDEVINFO set,
                                          SP_DEVICE_INTERFACE_DATA &interfaceData) const {
    using Detail = SP_DEVICE_INTERFACE_DETAIL_DATA_A;
    SP_DEVINFO_DATA entry{};
    entry.cbSize = sizeof entry;
    DWORD required = 0;
    if (m_api->SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, nullptr, 0, &required,
                                                &entry) ||
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || required <= offsetof(Detail, DevicePath))
      return std::nullopt;
    // DWORD elements: the record starts with a DWORD and must be aligned like one.
    std::vector<DWORD> storage((required + sizeof(DWORD) - 1) / sizeof(DWORD) + 1, 0);
    auto *detail = reinterpret_cast<Detail *>(storage.data());
    detail->cbSize = sizeof(Detail); // the fixed part's size, not the buffer's
    if (!m_api->SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, detail, required, &required,
                                                 &entry))
      return std::nullopt;
    const std::size_t maxPath = required - offsetof(Detail, DevicePath);
    InterfaceRecord record;
    record.DevicePath.assign(detail->DevicePath, ::strnlen(detail->DevicePath, maxPath));
    record.DeviceInstance = entry.DevInst;
    record.Properties = Properties(set, entry);
    return record;
  }

  // A property the device lacks stays empty (or 0).
  DeviceProperties Properties(HDEVINFO set, SP_DEVINFO_DATA &entry) const {
    std::vector<BYTE> buffer(ListPropertyBytes);
    auto query = [&](DWORD code, DWORD size) {
      std::fill(buffer.begin(), buffer.end(), BYTE{0});
      DWORD type = 0;
      return m_api->SetupDiGetDeviceRegistryPropertyA(set, &entry, code, &type, buffer.data(), size,
                                                      nullptr) != FALSE;
    };
    auto text = [&](DWORD code) {
      if (!query(code, TextPropertyBytes)) return std::string();
      const char *chars = reinterpret_cast<const char *>(buffer.data());
      return std::string(chars, ::strnlen(chars, TextPropertyBytes));
    };
    auto list = [&](DWORD code) {
      std::vector<std::string> items;
      if (!query(code, ListPropertyBytes)) return items;
      const char *chars = reinterpret_cast<const char *>(buffer.data());
      for (std::size_t at = 0; at < ListPropertyBytes;) {
        const std::size_t n = ::strnlen(chars + at, ListPropertyBytes - at);
        if (n == 0) break; // the empty text ends the list
        items.emplace_back(chars + at, n);
        at += n + 1;
      }
      return items;
    };
    auto number = [&](DWORD code) {
      if (!query(code, sizeof(DWORD))) return std::uint32_t{0};
      DWORD value = 0;
      std::memcpy(&value, buffer.data(), sizeof value);
      return static_cast<std::uint32_t>(value);
    };

    DeviceProperties p;
    p.Capabilities = number(SPDRP_CAPABILITIES);
    p.ClassName = text(SPDRP_CLASS);
    p.ClassGuid = text(SPDRP_CLASSGUID);
    p.CompatibleIds = list(SPDRP_COMPATIBLEIDS);
    p.ConfigFlags = number(SPDRP_CONFIGFLAGS);
    p.DeviceDesc = text(SPDRP_DEVICEDESC);
    p.Driver = text(SPDRP_DRIVER);
    p.FriendlyName = text(SPDRP_FRIENDLYNAME);
    p.HardwareId = list(SPDRP_HARDWAREID);
    p.LowerFilters = list(SPDRP_LOWERFILTERS);
    p.Mfg = text(SPDRP_MFG);
    p.UpperFilters = list(SPDRP_UPPERFILTERS);
    p.Address = text(SPDRP_ADDRESS);
    p.BusNumber = number(SPDRP_BUSNUMBER);
    p.BusTypeGuid = text(SPDRP_BUSTYPEGUID);
    p.Characteristics = text(SPDRP_CHARACTERISTICS);
    p.DevType = number(SPDRP_DEVTYPE);
    p.EnumeratorName = text(SPDRP_ENUMERATOR_NAME);
    p.Exclusive = number(SPDRP_EXCLUSIVE);
    p.LegacyBusType = number(SPDRP_LEGACYBUSTYPE);
    p.LocationInformation = text(SPDRP_LOCATION_INFORMATION);
    p.PhysicalDeviceObjectName = text(SPDRP_PHYSICAL_DEVICE_OBJECT_NAME);
    p.SecuritySds = text(SPDRP_SECURITY_SDS);
    p.Service = text(SPDRP_SERVICE);
    p.UiNumber = number(SPDRP_UI_NUMBER);
    p.DevicePowerData = text(SPDRP_DEVICE_POWER_DATA);
    return p;
  }

  std::string m_unboundReason;
  std::shared_ptr<const Api> m_api;
  GUID m_hidGuid{};
  std::unique_ptr<DeviceChangeWindow> m_notifier;
};

} // namespace

std::unique_ptr<HidBinding> MakeWindowsHidBinding(const WindowsHidLibraries &libraries) {
  return std::make_unique<WindowsHidBinding>(libraries);
}

std::unique_ptr<HidBinding> MakePlatformHidBinding() {
  return MakeWindowsHidBinding();
}

} // namespace hid
