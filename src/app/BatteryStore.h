#pragma once

#include "app/HistoryFile.h"
#include "receiver/BatteryRecorder.h"

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace app {

// The battery history on disk: a file of whole lines (receiver/BatteryLog), appended one record
// at a time, so that a crash or a power cut costs at most the line being written. Every write,
// the cutting of a torn line, the moving aside and the compaction happen under a lock file beside
// it, taken without waiting: a second instance is never kept waiting for more than a moment, and
// a record that finds the lock taken waits in memory for the next write.
class BatteryStore final : public receiver::BatteryHistoryStore {
public:
  // Compacted above this size to KeepRecords records: years of normal use stay below it.
  static constexpr std::uint64_t CompactAboveBytes = 192 * 1024;
  static constexpr std::size_t KeepRecords = 4096;
  // A larger file was never written by us and is moved aside unread.
  static constexpr std::size_t MaxFileBytes = 16u << 20;
  // How long opening waits for another instance's lock, to put a torn line right.
  static constexpr std::chrono::milliseconds OpenLockWait{200};

  // Where the history of the real receiver lives, or that of a simulated one, which is kept apart
  // so that trying the program never mixes into the user's own; empty without a state folder.
  static std::string DefaultPath(bool simulated);

  // Reads the store at `path` (empty: none, nothing is recorded). A damaged store is moved aside
  // and a new one started; a torn last line is cut off; a store past CompactAboveBytes is
  // compacted. Each fault is said in one line on `err`; one that leaves nowhere to write turns
  // recording off for the session.
  BatteryStore(std::string path, std::ostream &err);
  // Writes the records that waited for the lock, waiting for it a moment.
  ~BatteryStore() override;
  BatteryStore(const BatteryStore &) = delete;
  BatteryStore &operator=(const BatteryStore &) = delete;

  const std::vector<receiver::BatteryRecord> &Records() const { return m_records; }
  bool Recording() const { return m_recording; }
  const std::string &Path() const { return m_path; }

  // Writes the record, or keeps it for the next write while another instance holds the lock. A
  // failed write (a read-only or full disk) turns recording off, with one message.
  void Append(const receiver::BatteryRecord &record) override;

private:
  std::unique_ptr<HistoryLock> Lock(std::chrono::milliseconds wait);
  void Load();
  void WritePending();
  void Compact();
  void Stop(const std::string &why);

  const std::string m_path;
  std::ostream &m_err;
  std::vector<receiver::BatteryRecord> m_records;
  std::vector<receiver::BatteryRecord> m_pending;
  bool m_recording = true;
  bool m_compactionFailed = false; // said once
};

} // namespace app
