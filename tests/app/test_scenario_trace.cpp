#include "app/Simulation.h"
#include "app/TraceWriter.h"
#include "common/ProgramRun.h"
#include "framework/QtMessageLoop.h"
#include "hid/JvHidDeviceController.h"
#include "receiver/ReceiverConnection.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#ifndef _WIN32
#include <fcntl.h>
#endif
#ifndef _WIN32
#include <sys/resource.h>
#endif
#ifndef _WIN32
#include <sys/stat.h>
#endif
#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sstream>
#include <thread>

namespace app {
namespace {

// Every line of the trace file, each required to be a JSON object.
std::vector<QJsonObject> ReadLines(const QString &path) {
  return testcommon::ReadTrace(path).value_or(std::vector<QJsonObject>{});
}

// A trace file in a folder of the test's own.
class Trace : public testing::Test {
protected:
  std::unique_ptr<TraceWriter> Open(std::ostream &messages = std::cerr) {
    QString error;
    auto trace = TraceWriter::Open(Path, error, QString(), messages);
    EXPECT_TRUE(trace) << error.toStdString();
    return trace;
  }
  QTemporaryDir Dir;
  const QString Path = Dir.filePath(QStringLiteral("trace.jsonl"));
};

TEST_F(Trace, EveryEventIsOneCompleteLineAsSoonAsItIsWritten) {
  const auto trace = Open();
  ASSERT_TRUE(trace);

  const std::uint8_t request[9] = {1, 9, 0, 0, 0, 0, 0, 0xCC, 0xFF};
  trace->Feature("sim:\"odd\\path\"", hid::HidTrace::FeatureOp::Set, request, 9, true);
  trace->Feature("sim:rx", hid::HidTrace::FeatureOp::Get, request, 9, false);
  trace->Scan(3, true);
  QJsonObject state;
  state[QStringLiteral("cpi")] = QStringLiteral("HIGH");
  state[QStringLiteral("t")] = 99999; // the writer's own time wins
  trace->State(state);
  trace->State(QJsonObject());

  // Read while the writer is still open: nothing may wait in a buffer.
  const auto lines = ReadLines(Path);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0][QStringLiteral("ev")].toString(), QStringLiteral("feature"));
  EXPECT_EQ(lines[0][QStringLiteral("dev")].toString(), QStringLiteral("sim:\"odd\\path\""));
  EXPECT_EQ(lines[0][QStringLiteral("op")].toString(), QStringLiteral("set"));
  EXPECT_EQ(lines[0][QStringLiteral("len")].toInt(), 9);
  EXPECT_TRUE(lines[0][QStringLiteral("ok")].toBool());
  EXPECT_EQ(lines[0][QStringLiteral("bytes")].toString(),
            QStringLiteral("01 09 00 00 00 00 00 CC FF"));
  EXPECT_EQ(lines[1][QStringLiteral("op")].toString(), QStringLiteral("get"));
  EXPECT_FALSE(lines[1][QStringLiteral("ok")].toBool());
  EXPECT_EQ(lines[2][QStringLiteral("ev")].toString(), QStringLiteral("scan"));
  EXPECT_EQ(lines[2][QStringLiteral("devices")].toInt(), 3);
  EXPECT_TRUE(lines[2][QStringLiteral("changed")].toBool());
  EXPECT_EQ(lines[3][QStringLiteral("ev")].toString(), QStringLiteral("state"));
  EXPECT_EQ(lines[3][QStringLiteral("cpi")].toString(), QStringLiteral("HIGH"));
  EXPECT_LT(lines[3][QStringLiteral("t")].toInt(), 99999);
  EXPECT_EQ(lines[4][QStringLiteral("ev")].toString(), QStringLiteral("state"));
  for (const QJsonObject &line : lines)
    EXPECT_TRUE(line[QStringLiteral("t")].isDouble());
}

TEST_F(Trace, RecordsTheScansAndReportsOfTheDeviceLayer) {
  const auto trace = Open();
  ASSERT_TRUE(trace);
  Simulation simulation(DefaultScenario());
  framework::QtMessageLoop loop;
  {
    hid::TJvHidDeviceController controller(simulation.Binding(), loop, trace.get());
    controller.DeviceChange();
    std::unique_ptr<hid::TJvHidDevice> device;
    ASSERT_TRUE(controller.CheckOutNext(device));
    receiver::ReceiverConnection connection(loop);
    connection.SetFeatureLengths(9);
    connection.SetCurrentReceiver(device.get());
    ASSERT_TRUE(connection.ExchangeWithAck(receiver::CmdBattery));
  }
  const auto lines = ReadLines(Path);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0][QStringLiteral("ev")].toString(), QStringLiteral("scan"));
  EXPECT_EQ(lines[0][QStringLiteral("devices")].toInt(), 1);
  // The scan, then the query's write and read; nothing else touches the device.
  const auto text = [&](std::size_t line, const char *key) {
    return lines[line][QLatin1String(key)].toString().toStdString();
  };
  EXPECT_EQ(text(1, "dev"), "sim:receiver");
  EXPECT_EQ(text(1, "op"), "set");
  EXPECT_EQ(text(1, "bytes"), "01 0A 00 00 00 00 00 00 00");
  EXPECT_EQ(text(2, "op"), "get");
  EXPECT_EQ(text(2, "bytes"), "01 15 00 00 00 00 00 CC 00");
}

TEST_F(Trace, APathOfAnyBytesGivesAValidLine) {
  const auto trace = Open();
  ASSERT_TRUE(trace);
  std::string device;
  for (int byte = 0; byte < 256; ++byte)
    device += static_cast<char>(byte);
  trace->Feature(device, hid::HidTrace::FeatureOp::Get, nullptr, 0, false);

  const auto lines = ReadLines(Path); // fails on a line that is not JSON
  ASSERT_EQ(lines.size(), 1u);
  // ASCII as it was, each byte of the upper half a replacement character.
  QString expected;
  for (int byte = 0; byte < 128; ++byte)
    expected += QChar(byte);
  expected += QString(128, QChar(0xFFFD));
  EXPECT_EQ(lines[0][QStringLiteral("dev")].toString(), expected);
}

TEST_F(Trace, FileThatCannotBeCreatedIsReported) {
  QString error;
  EXPECT_FALSE(TraceWriter::Open(QStringLiteral("/nonexistent/dir/trace.jsonl"), error));
  EXPECT_TRUE(error.startsWith(QStringLiteral("/nonexistent/dir/trace.jsonl: cannot write")))
      << error.toStdString();
}

// Links to the scenario are refused end to end.
TEST_F(Trace, ReplacesAnyFileButTheScenarioItReads) {
  const QString scenario = Dir.filePath(QStringLiteral("s.json"));
  const QString other = Dir.filePath(QStringLiteral("other.json"));
  for (const QString &path : {scenario, other}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("{\"devices\": []}\n") > 0);
  }
  QString error;
  EXPECT_FALSE(TraceWriter::Open(scenario, error, scenario));
  EXPECT_EQ(ReadLines(scenario).size(), 1u);
  auto trace = TraceWriter::Open(other, error, scenario);
  ASSERT_TRUE(trace) << error.toStdString();
  trace->Scan(0, false);
  EXPECT_TRUE(trace->Close());
  const auto lines = ReadLines(other);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0][QStringLiteral("ev")].toString(), QStringLiteral("scan"));
}

#ifndef _WIN32
// Past the pipe's room, lines wait for the reader instead of failing.
TEST_F(Trace, APipeWithASlowReaderGetsTheWholeTrace) {
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path).constData(), 0600), 0);
  const int reader = ::open(QFile::encodeName(Path).constData(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const auto trace = Open();
  ASSERT_TRUE(trace && ::fcntl(reader, F_SETFL, 0) == 0);
  constexpr int Lines = 4000; // some 160 KB
  std::thread writer([&] {
    for (int i = 0; i < Lines; ++i)
      trace->Scan(i, true);
    EXPECT_TRUE(trace->Close());
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the pipe fills meanwhile
  std::string text;
  char buffer[4096];
  for (ssize_t got; (got = ::read(reader, buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<std::size_t>(got));
  writer.join();
  ::close(reader);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), Lines);
}

// A file-size limit stands in for a full disk: writes past it fail after writing what fits.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN)) {
    EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &m_old), 0);
    Set(bytes);
  }
  ~FileSizeLimit() {
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &m_old), 0);
    std::signal(SIGXFSZ, m_oldHandler);
  }
  void Set(rlim_t bytes) {
    const rlimit limit = {bytes, m_old.rlim_max};
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  void Lift() { Set(m_old.rlim_cur); }

private:
  void (*m_oldHandler)(int);
  rlimit m_old = {};
};

TEST_F(Trace, AFailedWriteStopsTheTraceAfterItsLastWholeLine) {
  std::ostringstream messages;
  const auto trace = Open(messages);
  ASSERT_TRUE(trace);
  {
    FileSizeLimit limit(120); // room for two scan lines and part of a third
    for (int i = 0; i < 3; ++i)
      trace->Scan(1000 + i, true);
    limit.Lift(); // space returns: nothing is glued to a torn line
    trace->Scan(2000, true);
  }
  EXPECT_FALSE(trace->Close());
  const auto lines = ReadLines(Path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1][QStringLiteral("devices")].toInt(), 1001);
  EXPECT_TRUE(testcommon::FileContent(Path).endsWith('\n'));
  EXPECT_EQ(messages.str(), "quelvane: " + Path.toStdString() +
                                ": the trace stopped: " + std::strerror(EFBIG) + "\n");

  // A device that takes nothing, and a file nothing can be written to (as root it opens).
  for (const char *target : {"/dev/full", "/proc/version"}) {
    std::ostringstream said;
    QString error;
    auto refused = TraceWriter::Open(QString::fromLatin1(target), error, QString(), said);
    if (!refused) { // refused on opening
      EXPECT_FALSE(error.isEmpty());
      continue;
    }
    refused->Scan(1, true);
    refused->Scan(2, true);
    EXPECT_FALSE(refused->Close()) << target;
    const std::string text = said.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
  }
}

#endif
} // namespace
} // namespace app
