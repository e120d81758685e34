#include "app/BatteryStore.h"

#include "app/Messages.h"
#include "app/TraceFile.h"
#include "app/WholeFile.h"
#include "framework/files/RegularFile.h"
#include "receiver/BatteryLog.h"

#include <ctime>
#include <ostream>
#include <span>
#include <thread>

namespace app {
namespace {

using receiver::BatteryRecord;

constexpr std::chrono::milliseconds LockRetry{5};
constexpr int AsideNameTries = 100;

std::string ErrorText(int error) {
  return TraceFile::ErrorText(error).toStdString();
}

std::string Shown(const std::string &path) {
  return ShownPath(QString::fromStdString(path)).toStdString();
}

} // namespace

std::string BatteryStore::DefaultPath(bool simulated) {
  return StateFilePath(simulated ? "simulated-battery-history" : "battery-history");
}

BatteryStore::BatteryStore(std::string path, std::ostream &err)
    : m_path(std::move(path)), m_err(err) {
  if (m_path.empty()) {
    Stop("the user has no folder for the program's state");
    return;
  }
  Load();
}

BatteryStore::~BatteryStore() {
  if (m_recording && !m_pending.empty())
    if (const auto lock = Lock(OpenLockWait)) WritePending();
}

void BatteryStore::Stop(const std::string &why) {
  if (!m_recording) return;
  m_recording = false;
  m_err << ProgramName << ": the battery history " << (m_path.empty() ? "" : Shown(m_path) + " ")
        << "cannot be kept: " << why << "; battery changes are not recorded this session\n";
}

std::unique_ptr<HistoryLock> BatteryStore::Lock(std::chrono::milliseconds wait) {
  const auto until = std::chrono::steady_clock::now() + wait;
  for (;;) {
    int error = 0;
    if (auto lock = HistoryLock::TryTake(m_path + ".lock", error)) return lock;
    if (error != 0) {
      Stop(ErrorText(error));
      return nullptr;
    }
    if (std::chrono::steady_clock::now() >= until) return nullptr;
    std::this_thread::sleep_for(LockRetry);
  }
}

void BatteryStore::Load() {
  const std::size_t slash = m_path.find_last_of("/\\");
  if (slash != std::string::npos && slash > 0)
    if (const int error = MakeFolders(m_path.substr(0, slash))) return Stop(ErrorText(error));
  // Without the lock (another instance holds it, or a read-only disk allows none) the store is
  // still read.
  const std::unique_ptr<HistoryLock> lock = Lock(OpenLockWait);
  const framework::FileContents file = framework::ReadRegularFile(m_path, MaxFileBytes);
  using Status = framework::FileContents::Status;
  receiver::BatteryLog log;
  switch (file.State) {
  case Status::Missing:
    return;
  case Status::Unreadable:
    return Stop(file.Error != 0 ? ErrorText(file.Error) : "it cannot be read");
  case Status::NotRegular:
  case Status::TooLarge:
    log.Damaged = true;
    break;
  case Status::Read:
    log = receiver::ParseBatteryLog(file.Text);
    break;
  }
  // Without the lock another instance may be writing: what it has half written is left to it.
  if (!lock || !m_recording) {
    m_records = std::move(log.Records);
    return;
  }
  if (log.Damaged) {
    std::string aside;
    int error = 0;
    for (int i = 0; i < AsideNameTries; ++i) {
      aside = m_path + ".damaged-" + std::to_string(std::time(nullptr)) +
              (i == 0 ? "" : "-" + std::to_string(i));
      error = MoveAside(m_path, aside);
      if (error == 0) break;
    }
    if (error != 0) return Stop("it is damaged and cannot be moved aside: " + ErrorText(error));
    m_err << ProgramName << ": the battery history " << Shown(m_path)
          << " is damaged; it was moved to " << Shown(aside) << " and a new one is started\n";
    return;
  }
  m_records = std::move(log.Records);
  if (log.WholeBytes < file.Text.size())
    if (const int error = CutFile(m_path, log.WholeBytes)) return Stop(ErrorText(error));
  if (log.WholeBytes > CompactAboveBytes) Compact();
}

void BatteryStore::Compact() {
  m_records = receiver::CompactBatteryHistory(m_records, KeepRecords);
  const std::string text = receiver::FormatBatteryLog(m_records);
  std::string reason;
  const auto bytes = std::as_bytes(std::span(text));
  if (!WriteWholeFile(m_path,
                      std::span(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size()),
                      reason))
    Stop(reason);
}

void BatteryStore::Append(const BatteryRecord &record) {
  if (!m_recording) return;
  m_records.push_back(record);
  m_pending.push_back(record);
  if (const auto lock = Lock(std::chrono::milliseconds(0))) WritePending();
}

void BatteryStore::WritePending() {
  std::string lines;
  for (const BatteryRecord &record : m_pending)
    lines += receiver::FormatBatteryLine(record);
  std::uint64_t size = 0;
  if (const int error = AppendLine(m_path, receiver::BatteryLogHeader, lines, size))
    return Stop(ErrorText(error));
  m_pending.clear();
  if (size <= CompactAboveBytes) return;
  // Another instance's records are in the file too: the compaction starts from it.
  const framework::FileContents file = framework::ReadRegularFile(m_path, MaxFileBytes);
  if (file.State != framework::FileContents::Status::Read) return;
  receiver::BatteryLog log = receiver::ParseBatteryLog(file.Text);
  if (log.Damaged) return;
  m_records = std::move(log.Records);
  Compact();
}

} // namespace app
