#pragma once

#include "receiver/ReceiverProtocol.h"

#include <cstdint>
#include <optional>

namespace framework {
class MessageLoop;
}
namespace hid {
class TJvHidDevice;
}

namespace receiver {

// The connection to the receiver, one per process: set by the discovery, read by every
// exchange. The receiver itself is looked up again at every try of a query, because a device
// change handled inside a query's message pump may drop or replace it.
class ReceiverConnection {
public:
  explicit ReceiverConnection(framework::MessageLoop &loop) : m_loop(loop) {}

  hid::TJvHidDevice *CurrentReceiver() const { return m_currentReceiver; }
  void SetCurrentReceiver(hid::TJvHidDevice *device) {
    m_currentReceiver = device;
    ++m_receiverEpoch;
  }
  bool AltReceiver() const { return m_altReceiver; }
  void SetAltReceiver(bool alt) { m_altReceiver = alt; }
  std::uint32_t SetFeatureLength() const { return m_setFeatureLength; }
  std::uint32_t GetFeatureLength() const { return m_getFeatureLength; }
  // Both lengths are the receiver's feature-report length.
  void SetFeatureLengths(std::uint32_t length) {
    m_setFeatureLength = length;
    m_getFeatureLength = length;
  }
  // Index into SupportedDevices of the matched row, none before a match.
  std::optional<std::size_t> MatchedRow() const { return m_matchedRow; }
  void SetMatchedRow(std::optional<std::size_t> row) { m_matchedRow = row; }

  // A fresh request whose buffer covers both feature-report lengths.
  CommandReport Request(std::uint8_t code, std::uint8_t subCode = 0,
                        std::uint8_t parameter = 0) const;

  // Write, then (only if the write succeeded) read back into the same buffer. The buffer is
  // first grown to the feature-report lengths, so a long report never overruns it. A short
  // answer fails the read, so it is never taken for a reading.
  bool Exchange(hid::TJvHidDevice &device, CommandReport &buffer) const;

  // The acknowledged query: up to MaxTries exchanges with the current receiver, each followed by
  // a 1 ms pause and a message pump. The acknowledged answer, or else the last answer a try
  // actually read; none when there is no receiver or no try read anything (a dead receiver
  // must not pass its own request off as an answer). An answer counts only while the receiver
  // that gave it is still the current one.
  std::optional<CommandReport> ExchangeWithAck(std::uint8_t code);

  // Write only; the result is not looked at.
  void SendOnly(CommandReport &buffer) const;

private:
  void Fit(CommandReport &buffer) const;

  framework::MessageLoop &m_loop;
  hid::TJvHidDevice *m_currentReceiver = nullptr;
  // Bumped at every assignment: a device at the address of a destroyed one is another receiver.
  std::uint64_t m_receiverEpoch = 0;
  bool m_altReceiver = false;
  std::uint32_t m_setFeatureLength = 0;
  std::uint32_t m_getFeatureLength = 0;
  std::optional<std::size_t> m_matchedRow;
};

} // namespace receiver
