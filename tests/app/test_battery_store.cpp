#include "app/BatteryStore.h"
#include "receiver/BatteryLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace app {
namespace {

using receiver::BatteryEvent;
using receiver::BatteryRecord;

BatteryRecord Reading(std::int64_t at, int level) {
  return {at, BatteryEvent::Level, level, 6};
}

class BatteryStoreTest : public ::testing::Test {
protected:
  std::string Path() const { return m_dir.filePath("state/battery-history").toStdString(); }
  QByteArray Content() const {
    QFile file(QString::fromStdString(Path()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void Put(const std::string &bytes) const {
    QDir(m_dir.path()).mkpath(QStringLiteral("state"));
    QFile file(QString::fromStdString(Path()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
  // The store as the next start reads it.
  receiver::BatteryLog Reread() const { return receiver::ParseBatteryLog(Content().toStdString()); }
  int Lines(const std::string &text) const {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  }

  QTemporaryDir m_dir;
  std::ostringstream m_err;
};

TEST_F(BatteryStoreTest, RecordsSurviveTheSessionAndATornLineIsCutBeforeTheNextOne) {
  {
    BatteryStore store(Path(), m_err);
    store.Append(Reading(10, 6));
    store.Append(Reading(20, 5));
  }
  // A writer that died mid-line.
  Put(Content().toStdString() + "30 L 4");
  BatteryStore store(Path(), m_err);
  ASSERT_EQ(store.Records().size(), 2u);
  EXPECT_FALSE(Content().endsWith("30 L 4")) << "cut when opened";
  store.Append(Reading(40, 4));
  const receiver::BatteryLog log = Reread();
  EXPECT_FALSE(log.Damaged);
  EXPECT_EQ(log.Records.size(), 3u);
  EXPECT_EQ(m_err.str(), "");
}

TEST_F(BatteryStoreTest, TwoInstancesInterleaveWholeLinesAndALockHolderDelaysWithoutLoss) {
  BatteryStore first(Path(), m_err);
  BatteryStore second(Path(), m_err);
  for (int i = 0; i < 50; ++i) {
    first.Append(Reading(i * 2, i % 7));
    second.Append(Reading(i * 2 + 1, i % 7));
  }
  EXPECT_EQ(Reread().Records.size(), 100u);
  {
    int error = 0;
    const auto held = HistoryLock::TryTake(Path() + ".lock", error);
    ASSERT_TRUE(held);
    first.Append(Reading(500, 1)); // waits in memory, without waiting for the lock
    EXPECT_EQ(Reread().Records.size(), 100u);
  }
  first.Append(Reading(501, 2));
  const receiver::BatteryLog log = Reread();
  ASSERT_EQ(log.Records.size(), 102u);
  EXPECT_EQ(log.Records[100].UnixSeconds, 500);
  EXPECT_FALSE(log.Damaged);
  EXPECT_EQ(m_err.str(), "");
}

TEST_F(BatteryStoreTest, FaultsAreSaidOnceAndTheToolGoesOn) {
  struct Case {
    const char *name;
    std::string content; // what the store holds before it is opened
    const char *said;    // part of the one message; empty: none
    std::size_t records; // read
  } const cases[] = {
      {"a bit flipped in an earlier line",
       receiver::FormatBatteryLog({Reading(1, 6), Reading(2, 5)}).replace(30, 1, "9") +
           receiver::FormatBatteryLine(Reading(3, 4)),
       "is damaged; it was moved to", 0},
      {"a foreign file", "#!/bin/sh\nrm -rf /\n", "is damaged; it was moved to", 0},
      {"a store of ours", receiver::FormatBatteryLog({Reading(1, 6)}), "", 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    m_err.str("");
    QFile::remove(QString::fromStdString(Path()));
    Put(c.content);
    {
      BatteryStore store(Path(), m_err);
      EXPECT_EQ(store.Records().size(), c.records);
      store.Append(Reading(100, 6));
      EXPECT_TRUE(store.Recording());
    }
    EXPECT_EQ(Lines(m_err.str()), c.said[0] ? 1 : 0) << m_err.str();
    EXPECT_NE(m_err.str().find(c.said), std::string::npos) << m_err.str();
    EXPECT_EQ(Reread().Records.size(), c.records + 1) << "a new store was started";
  }
  const QStringList aside =
      QDir(m_dir.filePath("state")).entryList({QStringLiteral("battery-history.damaged-*")});
  EXPECT_EQ(aside.size(), 2) << "each damaged store kept, beside the new one";

  // Nowhere to write: a file where the folder should be, or a store that became a folder.
  m_err.str("");
  Put("");
  BatteryStore nowhere(Path() + "/inside", m_err);
  nowhere.Append(Reading(1, 6));
  EXPECT_FALSE(nowhere.Recording());
  BatteryStore vanished(Path(), m_err);
  QFile::remove(QString::fromStdString(Path()));
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Path())));
  vanished.Append(Reading(1, 6));
  vanished.Append(Reading(2, 5));
  EXPECT_FALSE(vanished.Recording());
  EXPECT_EQ(Lines(m_err.str()), 2) << "one message for each store: " << m_err.str();

  // No lock to be had (as on a read-only disk): what is kept is still read.
  m_err.str("");
  QDir().rmdir(QString::fromStdString(Path()));
  Put(receiver::FormatBatteryLog({Reading(1, 6), Reading(2, 5)}));
  QFile::remove(QString::fromStdString(Path() + ".lock"));
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Path() + ".lock")));
  BatteryStore readOnly(Path(), m_err);
  EXPECT_EQ(readOnly.Records().size(), 2u);
  EXPECT_FALSE(readOnly.Recording());
  EXPECT_EQ(Lines(m_err.str()), 1) << m_err.str();
}

TEST_F(BatteryStoreTest, ALargeStoreIsCompactedWholeAndKeepsItsNewestReadings) {
  std::vector<BatteryRecord> records;
  for (int i = 0; i < 12000; ++i)
    records.push_back(Reading(i, 6 - i % 7)); // a battery every seven readings
  Put(receiver::FormatBatteryLog(records));
  ASSERT_GT(static_cast<std::uint64_t>(Content().size()), BatteryStore::CompactAboveBytes);
  BatteryStore store(Path(), m_err);
  const receiver::BatteryLog log = Reread();
  EXPECT_FALSE(log.Damaged);
  EXPECT_EQ(log.Records.size(), BatteryStore::KeepRecords);
  EXPECT_EQ(log.Records.back().UnixSeconds, 11999);
  EXPECT_EQ(store.Records().size(), BatteryStore::KeepRecords);
  // Appending past the limit compacts too.
  for (int i = 0; i < 6000; ++i)
    store.Append(Reading(20000 + i, 6 - i % 7));
  EXPECT_LE(static_cast<std::uint64_t>(Content().size()), BatteryStore::CompactAboveBytes);
  EXPECT_EQ(Reread().Records.back().UnixSeconds, 25999);
  EXPECT_EQ(Reread().Records.back().Level, 6 - 5999 % 7);
  EXPECT_EQ(m_err.str(), "");
}

} // namespace
} // namespace app
