#include "app/Simulation.h"
#include "app/TraceWriter.h"
#include "framework/QtMessageLoop.h"
#include "hid/JvHidDeviceController.h"
#include "receiver/ReceiverConnection.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace app {
namespace {

std::vector<QJsonObject> ReadLines(const QString &path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  std::vector<QJsonObject> lines;
  for (const QByteArray &line : file.readAll().split('\n')) {
    if (line.isEmpty()) continue;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    lines.push_back(document.object());
  }
  return lines;
}

TEST(Trace, EveryEventIsOneCompleteLineAsSoonAsItIsWritten) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("trace.jsonl"));
  QString error;
  auto trace = TraceWriter::Open(path, error);
  ASSERT_TRUE(trace) << error.toStdString();

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
  const auto lines = ReadLines(path);
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

TEST(Trace, RecordsTheScansAndReportsOfTheDeviceLayer) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("trace.jsonl"));
  QString error;
  auto trace = TraceWriter::Open(path, error);
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
  const auto lines = ReadLines(path);
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

TEST(Trace, APathOfAnyBytesGivesAValidLine) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("trace.jsonl"));
  QString error;
  auto trace = TraceWriter::Open(path, error);
  ASSERT_TRUE(trace) << error.toStdString();
  std::string device;
  for (int byte = 0; byte < 256; ++byte)
    device += static_cast<char>(byte);
  trace->Feature(device, hid::HidTrace::FeatureOp::Get, nullptr, 0, false);

  const auto lines = ReadLines(path); // fails on a line that is not JSON
  ASSERT_EQ(lines.size(), 1u);
  // ASCII as it was, each byte of the upper half a replacement character.
  QString expected;
  for (int byte = 0; byte < 128; ++byte)
    expected += QChar(byte);
  expected += QString(128, QChar(0xFFFD));
  EXPECT_EQ(lines[0][QStringLiteral("dev")].toString(), expected);
}

TEST(Trace, FileThatCannotBeCreatedIsReported) {
  QString error;
  EXPECT_FALSE(TraceWriter::Open(QStringLiteral("/nonexistent/dir/trace.jsonl"), error));
  EXPECT_TRUE(error.startsWith(QStringLiteral("/nonexistent/dir/trace.jsonl: cannot write")))
      << error.toStdString();
}

} // namespace
} // namespace app
