#include "receiver/BatteryRecorder.h"

#include "receiver/BatteryLog.h"

#include <utility>

namespace receiver {
namespace {

constexpr std::int64_t OutlookRefreshSeconds = 60;

} // namespace

BatteryRecorder::BatteryRecorder(BatteryHistoryStore &store, std::vector<BatteryRecord> earlier,
                                 Clock clock)
    : m_store(store), m_records(std::move(earlier)), m_clock(std::move(clock)) {
  for (auto it = m_records.rbegin(); it != m_records.rend(); ++it) {
    if (it->Event == BatteryEvent::NewMouse) break;
    if (it->Event == BatteryEvent::Level) {
      m_lastReading = *it;
      break;
    }
  }
}

void BatteryRecorder::LevelRead(int level, int max) {
  if (m_lastReading && m_lastReading->Level == level && m_lastReading->Max == max) return;
  Add(BatteryEvent::Level, level, max);
}

void BatteryRecorder::ConnectionChanged(bool connected) {
  // The first scan finds nothing connected yet: only a connection seen ends with a disconnection.
  if (connected == m_connected) return;
  m_connected = connected;
  Add(connected ? BatteryEvent::Connected : BatteryEvent::Disconnected, -1, BatteryRecord{}.Max);
}

void BatteryRecorder::MouseBound() {
  Add(BatteryEvent::NewMouse, -1, BatteryRecord{}.Max);
}

void BatteryRecorder::Add(BatteryEvent event, int level, int max) {
  const BatteryRecord record{m_clock(), event, level, max};
  if (event == BatteryEvent::Level) m_lastReading = record;
  if (event == BatteryEvent::NewMouse) m_lastReading.reset();
  m_records.push_back(record);
  if (m_records.size() > 2 * MaxRecordsInMemory)
    m_records = CompactBatteryHistory(m_records, MaxRecordsInMemory);
  m_stale = true;
  m_store.Append(record);
}

const BatteryOutlook &BatteryRecorder::Outlook() {
  const std::int64_t now = m_clock();
  if (m_stale || now < m_outlookAt || now - m_outlookAt >= OutlookRefreshSeconds) {
    m_outlook = ReadBatteryHistory(m_records, now);
    m_outlookAt = now;
    m_stale = false;
  }
  return m_outlook;
}

} // namespace receiver
