#pragma once

#include "receiver/BatteryHistory.h"
#include "receiver/BatteryRecord.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace receiver {

// Where the battery history is kept. Append must be quick: it runs in the window's thread.
class BatteryHistoryStore {
public:
  virtual ~BatteryHistoryStore() = default;
  virtual void Append(const BatteryRecord &record) = 0;
};

// Turns what the window reads into history records: a level only when it differs from the last
// one recorded, a connection only when it changes, and every pairing that binds a new mouse.
// Keeps the history in memory too, so that the outlook needs no file.
class BatteryRecorder {
public:
  using Clock = std::function<std::int64_t()>; // Unix seconds
  // Records that are kept beyond this are compacted in memory as the store compacts its file.
  static constexpr std::size_t MaxRecordsInMemory = 8192;

  // `earlier`: what the store holds already. The store must outlive this.
  BatteryRecorder(BatteryHistoryStore &store, std::vector<BatteryRecord> earlier, Clock clock);

  void LevelRead(int level, int max);
  void ConnectionChanged(bool connected);
  void MouseBound();

  const std::vector<BatteryRecord> &Records() const { return m_records; }
  // The outlook at the clock's present time; worked out again only when a record was added or a
  // minute has passed.
  const BatteryOutlook &Outlook();

private:
  void Add(BatteryEvent event, int level, int max);

  BatteryHistoryStore &m_store;
  std::vector<BatteryRecord> m_records;
  Clock m_clock;
  std::optional<BatteryRecord> m_lastReading;
  bool m_connected = false;
  BatteryOutlook m_outlook;
  bool m_stale = true;
  std::int64_t m_outlookAt = 0;
};

} // namespace receiver
