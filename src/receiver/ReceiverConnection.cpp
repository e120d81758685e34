#include "receiver/ReceiverConnection.h"

#include "framework/MessageLoop.h"
#include "hid/JvHidDevice.h"

#include <algorithm>
#include <chrono>

namespace receiver {

void ReceiverConnection::Fit(CommandReport &buffer) const {
  const std::size_t needed =
      std::max<std::size_t>({CommandReportLength, m_setFeatureLength, m_getFeatureLength});
  if (buffer.size() < needed) buffer.resize(needed, 0);
}

CommandReport ReceiverConnection::Request(std::uint8_t code, std::uint8_t subCode,
                                          std::uint8_t parameter) const {
  CommandReport report = MakeRequest(code, subCode, parameter);
  Fit(report);
  return report;
}

bool ReceiverConnection::Exchange(hid::TJvHidDevice &device, CommandReport &buffer) const {
  Fit(buffer);
  if (!device.SetFeature(buffer.data(), m_setFeatureLength)) return false;
  return device.GetFeature(buffer.data(), m_getFeatureLength);
}

std::optional<CommandReport> ReceiverConnection::ExchangeWithAck(std::uint8_t code) {
  if (m_currentReceiver == nullptr) return std::nullopt;
  std::optional<CommandReport> answer;
  std::uint64_t answerEpoch = 0;
  for (int tries = 1; tries <= MaxTries; ++tries) {
    hid::TJvHidDevice *const device = m_currentReceiver;
    if (device == nullptr) return std::nullopt;
    CommandReport buffer = Request(code);
    const bool exchanged = Exchange(*device, buffer);
    if (exchanged) {
      answer = buffer;
      answerEpoch = m_receiverEpoch;
    }
    // The pump may run a device change: `device` must not be used after it.
    m_loop.sleep(std::chrono::milliseconds(1));
    m_loop.processPendingMessages();
    // The answer of a receiver replaced meanwhile is not this receiver's.
    if (answer && answerEpoch != m_receiverEpoch) answer.reset();
    if (answer && exchanged && IsAcknowledged(buffer)) return answer;
  }
  return answer;
}

void ReceiverConnection::SendOnly(CommandReport &buffer) const {
  if (m_currentReceiver == nullptr) return;
  Fit(buffer);
  m_currentReceiver->SetFeature(buffer.data(), m_setFeatureLength);
}

} // namespace receiver
