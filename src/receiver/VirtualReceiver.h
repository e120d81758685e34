#pragma once

#include "hid/SimulatedHidBinding.h"
#include "receiver/ReceiverProtocol.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace receiver {

// What a virtual receiver answers and how it misbehaves.
struct VirtualReceiverState {
  std::uint8_t Battery = 0x15; // byte 1 of the battery answer; the level is its low 4 bits
  std::uint8_t Cpi = 10;       // byte 1 of the CPI answer
  std::array<std::uint8_t, 2> Bind{0, 0}; // bytes 1 and 2 of the status answer
  // Bytes 0 and 1 of the CmdQuery 14 answer; a real receiver leaves the report ID in byte 0.
  std::array<std::uint8_t, 2> Query14{CommandReportId, 0};
  bool Ack = true;            // false: never puts AckByte in an answer
  std::uint32_t AckAfter = 0; // answers left unacknowledged before one is acknowledged
  bool FailWrites = false;    // every set refused
  bool FailReads = false;     // every get refused
};

// A change of some of the fields, as a scenario step gives it.
struct VirtualReceiverChange {
  std::optional<std::uint8_t> Battery;
  std::optional<std::uint8_t> Cpi;
  std::optional<std::array<std::uint8_t, 2>> Bind;
  std::optional<std::array<std::uint8_t, 2>> Query14;
  std::optional<bool> Ack;
  std::optional<std::uint32_t> AckAfter;
  std::optional<bool> FailWrites;
  std::optional<bool> FailReads;

  void ApplyTo(VirtualReceiverState &state) const;
  bool operator==(const VirtualReceiverChange &) const = default;
};

// The receiver's side of the command report, as feature-report handlers of a virtual device.
// A get answers the last set request; its answer fills the whole feature report, and bytes past
// the 9 of the command report carry a filler so that a reader's overrun shows.
class VirtualReceiver {
public:
  static constexpr std::uint8_t Filler = 0xA5;

  explicit VirtualReceiver(VirtualReceiverState state = {},
                           std::size_t featureLength = CommandReportLength);

  bool OnSetFeature(const std::uint8_t *data, std::size_t length);
  bool OnGetFeature(std::uint8_t *data, std::size_t length);

  // Makes this receiver the device's side of its feature reports; it must outlive the device.
  void AttachTo(hid::VirtualDevice &device);

  const VirtualReceiverState &State() const { return m_state; }
  void SetState(const VirtualReceiverState &state) { m_state = state; }
  void Apply(const VirtualReceiverChange &change) { change.ApplyTo(m_state); }

  std::size_t FeatureLength() const { return m_featureLength; }
  int Sets() const { return m_sets; }
  int Gets() const { return m_gets; }
  int PairRequests() const { return m_pairRequests; }

private:
  void Answer(std::uint8_t code, std::uint8_t subCode);

  VirtualReceiverState m_state;
  std::size_t m_featureLength;
  std::array<std::uint8_t, CommandReportLength> m_answer{};
  std::uint8_t m_lastCode = 0;
  std::uint32_t m_unacknowledged = 0; // consecutive unacknowledged answers to m_lastCode
  int m_sets = 0;
  int m_gets = 0;
  int m_pairRequests = 0;
};

} // namespace receiver
