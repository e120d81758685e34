#include "receiver/VirtualReceiver.h"

#include <algorithm>

namespace receiver {

void VirtualReceiverChange::ApplyTo(VirtualReceiverState &state) const {
  if (Battery) state.Battery = *Battery;
  if (Cpi) state.Cpi = *Cpi;
  if (Bind) state.Bind = *Bind;
  if (Query14) state.Query14 = *Query14;
  if (Ack) state.Ack = *Ack;
  if (AckAfter) state.AckAfter = *AckAfter;
  if (FailWrites) state.FailWrites = *FailWrites;
  if (FailReads) state.FailReads = *FailReads;
}

VirtualReceiver::VirtualReceiver(VirtualReceiverState state, std::size_t featureLength)
    : m_state(state), m_featureLength(featureLength) {
  m_answer[0] = CommandReportId;
}

bool VirtualReceiver::OnSetFeature(const std::uint8_t *data, std::size_t length) {
  ++m_sets;
  if (m_state.FailWrites || data == nullptr || length < 2 || data[0] != CommandReportId)
    return false;
  const std::uint8_t code = data[1];
  const std::uint8_t subCode = length > 2 ? data[2] : 0;
  if (code == CmdPair && length > 3 && data[3] == PairStart) ++m_pairRequests;
  Answer(code, subCode);
  return true;
}

bool VirtualReceiver::OnGetFeature(std::uint8_t *data, std::size_t length) {
  ++m_gets;
  if (m_state.FailReads || data == nullptr || length == 0) return false;
  const std::size_t answered = std::min(length, m_featureLength);
  const std::size_t head = std::min(answered, m_answer.size());
  std::copy_n(m_answer.begin(), head, data);
  std::fill(data + head, data + answered, Filler);
  return true;
}

void VirtualReceiver::Answer(std::uint8_t code, std::uint8_t subCode) {
  m_answer.fill(0);
  m_answer[0] = CommandReportId;
  bool query = true;
  switch (code) {
  case CmdStatus:
    m_answer[1] = m_state.Bind[0];
    m_answer[2] = m_state.Bind[1];
    break;
  case CmdBattery:
    m_answer[1] = m_state.Battery;
    break;
  case CmdCPI:
    m_answer[1] = m_state.Cpi;
    break;
  case CmdQuery:
    if (subCode == QuerySubCodePairing) {
      m_answer[0] = m_state.Query14[0];
      m_answer[1] = m_state.Query14[1];
    } else {
      query = false;
    }
    break;
  default: // CmdPair and unknown commands are taken without an answer
    query = false;
    break;
  }
  if (!query) {
    m_lastCode = code;
    m_unacknowledged = 0;
    return;
  }
  if (code != m_lastCode) m_unacknowledged = 0;
  m_lastCode = code;
  if (!m_state.Ack) return;
  if (m_unacknowledged < m_state.AckAfter) {
    ++m_unacknowledged;
    return;
  }
  m_unacknowledged = 0;
  m_answer[AckIndex] = AckByte;
}

void VirtualReceiver::AttachTo(hid::VirtualDevice &device) {
  device.OnSetFeature = [this](const std::uint8_t *data, std::size_t length) {
    return OnSetFeature(data, length);
  };
  device.OnGetFeature = [this](std::uint8_t *data, std::size_t length) {
    return OnGetFeature(data, length);
  };
}

} // namespace receiver
