#pragma once

#include "hid/HidBinding.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace hid {

// One device of the simulated machine.
struct VirtualDevice {
  std::string Id; // scenario id, unique
  std::uint16_t VendorID = 0, ProductID = 0, VersionNumber = 0;
  std::u16string ProductName;
  HIDP_CAPS Caps; // UsagePage, Usage, report lengths (ID byte included)
  enum class Access { ReadWrite, QueryOnly, None } Access = Access::ReadWrite;
  // The device's side of feature reports; byte 0 is the report ID, length includes it. The
  // get handler may write up to max(length, Caps.FeatureReportByteLength) bytes, and lowers
  // `length` when it delivers fewer than asked for: a short answer, which fails the read.
  std::function<bool(const std::uint8_t *, std::size_t)> OnSetFeature;
  std::function<bool(std::uint8_t *, std::size_t &length)> OnGetFeature;
  // Fault injection.
  bool FailOpen = false, FailAttributes = false, FailSetFeature = false, FailGetFeature = false;
  // No preparsed data, as for a report descriptor that cannot be parsed.
  bool FailPreparsed = false;
};

struct SimulatedCall {
  // "enumerate", "open", "close", "attributes", "preparsed", "product", "get_feature",
  // "set_feature", "set_buffers", "get_buffers", "read" (reads that time out are not logged)
  std::string Op;
  std::string Path;
  bool Ok = false;
  std::vector<std::uint8_t> Bytes; // feature and input reports, as the buffer holds them after
  std::uint32_t Value = 0;         // open: the OpenMode; set_buffers, get_buffers: the count
};

// The platform in memory: virtual devices with fault injection and a log of every call.
// Read, PushInputReport and CancelIo may be called from any thread; everything else belongs to
// the GUI thread. Handles may outlive the binding; they then fail every call.
class SimulatedHidBinding final : public HidBinding {
public:
  // Platform error codes the simulation answers with.
  static constexpr std::uint32_t ErrorNotFound = 2;
  static constexpr std::uint32_t ErrorAccessDenied = 13;
  static constexpr std::uint32_t ErrorNoDevice = 19;

  SimulatedHidBinding();
  ~SimulatedHidBinding() override;
  SimulatedHidBinding(const SimulatedHidBinding &) = delete;
  SimulatedHidBinding &operator=(const SimulatedHidBinding &) = delete;

  // Adds a device without notifying anyone. Ids must be unique (std::invalid_argument).
  void Add(VirtualDevice device, bool plugged = true);
  // Each plug gives the device a new instance number; both notify the device-tree listener.
  // False when the id is unknown or the device is already in that state.
  bool Plug(const std::string &id);
  bool Unplug(const std::string &id); // open handles of the device fail from now on
  VirtualDevice *Find(const std::string &id);
  bool IsPlugged(const std::string &id) const;
  std::string PathOf(const std::string &id) const; // "sim:<id>"
  void SetBound(bool bound);
  void SetEnumerationFails(bool fails);
  // Read the log only while no reader thread runs.
  const std::vector<SimulatedCall> &Calls() const { return m_state->Calls; }
  void ClearCalls();
  // On by default. A binding nobody reads the log of keeps none: it would grow for as long as
  // the program runs.
  void SetLogging(bool on);
  // Queues an input report (ID first) for the device's readers; dropped while unplugged.
  void PushInputReport(const std::string &id, std::vector<std::uint8_t> report);
  // Number of handles open now, over all devices.
  std::size_t OpenHandleCount() const;

  bool Bound() const override;
  std::optional<std::vector<InterfaceRecord>> Enumerate() override;
  std::unique_ptr<HidHandle> Open(const std::string &path, OpenMode mode,
                                  std::uint32_t &error) override;

private:
  class Handle;
  struct Slot {
    VirtualDevice Device;
    bool Plugged = false;
    std::uint32_t Instance = 0;
    std::uint64_t Generation = 0; // bumped at every plug and unplug
    std::deque<std::vector<std::uint8_t>> Input;
  };
  // Shared with the handles so that a handle never points at a destroyed binding.
  struct State {
    mutable std::mutex Mutex;
    std::condition_variable InputArrived;
    std::vector<std::unique_ptr<Slot>> Slots; // insertion order is the member order
    // Every open and every device step looks a device up: a scan must stay linear.
    std::unordered_map<std::string, Slot *> ById;
    std::vector<SimulatedCall> Calls;
    std::uint32_t NextInstance = 1;
    std::size_t OpenHandles = 0;
    bool Alive = true;
    bool Logging = true;
    void Log(SimulatedCall call) {
      if (Logging) Calls.push_back(std::move(call));
    }
    Slot *FindLocked(const std::string &id) const;
  };

  std::shared_ptr<State> m_state;
  bool m_bound = true;
  bool m_enumerationFails = false;
};

} // namespace hid
