#include "app/Scenario.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace app {
namespace {

QString Refusal(const QByteArray &json) {
  QString error;
  const auto scenario = ParseScenario(json, QStringLiteral("s.json"), error);
  EXPECT_FALSE(scenario.has_value()) << json.toStdString();
  return error;
}

// A scenario of one device "a" with `fields` besides its IDs.
QByteArray Device(const char *fields) {
  return QByteArray(R"({"devices": [{"id": "a", "vendor": "1", "product": "2", )") + fields + "}]}";
}

TEST(Scenario, AcceptsAFullScenario) {
  const char *json = R"({
    "description": "every field once",
    "devices": [
      {"id": "rx", "vendor": "3A7E", "product": "0x0a15", "product_name": "Receiver",
       "usage_page": 1, "usage": 6, "feature_length": 64, "access": "rw", "plugged": false,
       "receiver": {"battery": 21, "cpi": 9, "bind": [1, 2], "query14": [3, 4], "ack": false,
                    "ack_after": 3, "fail_writes": true, "fail_reads": true}},
      {"id": "kbd", "vendor": "1", "product": "FFFF", "access": "query"},
      {"id": "other", "vendor": "abcd", "product": "0", "access": "none"}
    ],
    "timeline": [
      {"at": 500, "plug": "rx"},
      {"at": 100, "set": "rx", "receiver": {"bind": [5, 6], "fail_reads": false}},
      {"at": 600, "unplug": "kbd"},
      {"at": 700, "click": "btnCombo_Cmd_Soft_Bind_SW"},
      {"at": 800, "menu": "mniChs"},
      {"at": 900, "tray": "dblclick"},
      {"at": 901, "tray": "rclick"},
      {"at": 1000, "title_button": 1},
      {"at": 1100, "screenshot": "shot.png"},
      {"at": 1200, "quit": true},
      {"at": 1300, "clock": -86400}
    ],
    "clock": {"start": "2026-01-01T00:00:00Z", "day_ms": 250}
  })";
  QString error;
  const auto scenario = ParseScenario(QByteArray(json), QStringLiteral("s.json"), error);
  ASSERT_TRUE(scenario.has_value()) << error.toStdString();
  ASSERT_EQ(scenario->Devices.size(), 3u);
  const ScenarioDevice &rx = scenario->Devices[0];
  EXPECT_EQ(rx.Vendor, 0x3A7E);
  EXPECT_EQ(rx.Product, 0x0A15);
  EXPECT_EQ(rx.ProductName, u"Receiver");
  EXPECT_EQ(rx.Usage, 6);
  EXPECT_EQ(rx.FeatureLength, 64);
  EXPECT_FALSE(rx.Plugged);
  ASSERT_TRUE(rx.Receiver.has_value());
  EXPECT_EQ(rx.Receiver->Battery, 21);
  EXPECT_EQ(rx.Receiver->Cpi, 9);
  EXPECT_EQ(rx.Receiver->Bind, (std::array<std::uint8_t, 2>{1, 2}));
  EXPECT_EQ(rx.Receiver->Query14, (std::array<std::uint8_t, 2>{3, 4}));
  EXPECT_FALSE(rx.Receiver->Ack);
  EXPECT_EQ(rx.Receiver->AckAfter, 3u);
  EXPECT_TRUE(rx.Receiver->FailWrites);
  EXPECT_TRUE(rx.Receiver->FailReads);

  // Defaults of a device that names only its IDs.
  const ScenarioDevice &kbd = scenario->Devices[1];
  EXPECT_EQ(kbd.Vendor, 1);
  EXPECT_EQ(kbd.UsagePage, 1);
  EXPECT_EQ(kbd.Usage, 2);
  EXPECT_EQ(kbd.FeatureLength, 9);
  EXPECT_TRUE(kbd.Plugged);
  EXPECT_EQ(kbd.Access, DeviceAccess::QueryOnly);
  EXPECT_FALSE(kbd.Receiver.has_value());
  EXPECT_EQ(scenario->Devices[2].Access, DeviceAccess::None);

  const auto &t = scenario->Timeline;
  ASSERT_EQ(t.size(), 11u);
  EXPECT_EQ(t[0].Kind, StepKind::Plug);
  EXPECT_EQ(t[0].At, 500);
  EXPECT_EQ(t[1].Kind, StepKind::Set);
  EXPECT_EQ(t[1].Change.Bind, (std::array<std::uint8_t, 2>{5, 6}));
  EXPECT_EQ(t[1].Change.FailReads, false);
  EXPECT_FALSE(t[1].Change.Battery.has_value()); // only the fields named change
  EXPECT_EQ(t[2].Kind, StepKind::Unplug);
  EXPECT_EQ(t[3].Name, "btnCombo_Cmd_Soft_Bind_SW");
  EXPECT_EQ(t[4].Kind, StepKind::Menu);
  EXPECT_EQ(t[5].Tray, TrayAction::DoubleClick);
  EXPECT_EQ(t[6].Tray, TrayAction::RightClick);
  EXPECT_EQ(t[7].Index, 1);
  EXPECT_EQ(t[8].Path, QStringLiteral("shot.png"));
  EXPECT_EQ(t[9].Kind, StepKind::Quit);
  EXPECT_EQ(t[10].ClockSeconds, -86400);
  ASSERT_TRUE(scenario->Clock.has_value());
  EXPECT_EQ(scenario->Clock->StartSeconds, 1767225600);
  EXPECT_EQ(scenario->Clock->DayMilliseconds, 250);
}

TEST(Scenario, RefusesWhatIsNotJsonWithLineAndColumn) {
  const QString error = Refusal("{\n  \"devices\": [\n    {,\n");
  EXPECT_TRUE(error.startsWith(QStringLiteral("s.json: line 3, column "))) << error.toStdString();
  EXPECT_EQ(Refusal("[1]"), QStringLiteral("s.json: expected an object at the top"));
}

// Each refusal names the place and the reason; echoed text is quoted, so that it can neither
// rewrite the message on a terminal nor, with a "%2" in it, rewrite the rest.
TEST(Scenario, RefusalsNameThePlaceAndTheReason) {
  const char *const OneAction = "timeline[0]: a step needs exactly one of plug, unplug, set, "
                                "click, menu, tray, title_button, screenshot, quit, clock";
  const struct {
    QByteArray json;
    const char *error; // after "s.json: "
  } cases[] = {
      // Unknown keys everywhere.
      {R"({"device": []})", R"(unknown key "device")"},
      {Device(R"("colour": 1)"), R"(devices[0]: unknown key "colour")"},
      {Device(R"("receiver": {"batery": 1})"), R"(devices[0].receiver: unknown key "batery")"},
      {R"({"timeline": [{"at": 1, "quit": true, "when": 2}]})",
       R"(timeline[0]: unknown key "when")"},
      {R"({"a\rb": 1})", R"(unknown key "a\rb")"},
      // Wrong types.
      {R"({"devices": {}})", "devices: expected a list, not an object"},
      {R"({"devices": [{"id": 1, "vendor": "1", "product": "2"}]})",
       "devices[0].id: expected a string, not 1"},
      {Device(R"("plugged": "yes")"), R"(devices[0].plugged: expected true or false, not "yes")"},
      {R"({"devices": [{"id": "a", "vendor": 14974, "product": "2"}]})",
       R"(devices[0].vendor: expected a hexadecimal ID such as "3A7E", not 14974)"},
      {Device(R"("usage": 1.5)"), "devices[0].usage: expected a whole number, not 1.5"},
      {R"({"timeline": [{"at": "soon", "quit": true}]})",
       R"(timeline[0].at: expected a whole number, not "soon")"},
      // Bad hexadecimal IDs.
      {R"({"devices": [{"id": "a", "vendor": "1", "product": "2"},
                       {"id": "b", "vendor": "XYZ", "product": "2"}]})",
       R"(devices[1].vendor: "XYZ" is not a hexadecimal ID)"},
      {R"({"devices": [{"id": "a", "vendor": "\u001b[2J", "product": "2"}]})",
       R"(devices[0].vendor: "\u001b[2J" is not a hexadecimal ID)"},
      // Values out of range.
      {Device(R"("receiver": {"battery": 256})"),
       "devices[0].receiver.battery: 256 is out of range 0..255"},
      {Device(R"("receiver": {"bind": [1, -1]})"),
       "devices[0].receiver.bind[1]: -1 is out of range 0..255"},
      {Device(R"("receiver": {"query14": [1]})"),
       "devices[0].receiver.query14: expected two bytes, not 1"},
      {Device(R"("feature_length": 5000)"),
       "devices[0].feature_length: 5000 is out of range 0..4096"},
      {Device(R"("access": "write")"),
       R"(devices[0].access: "write" is not one of "rw", "query", "none")"},
      {R"({"timeline": [{"at": -1, "quit": true}]})",
       "timeline[0].at: -1 is out of range 0..86400000"},
      {R"({"timeline": [{"at": 0, "tray": "doubleclick"}]})",
       R"(timeline[0].tray: "doubleclick" is not one of "dblclick", "click", "rclick")"},
      {R"({"timeline": [{"at": 0, "quit": false}]})", "timeline[0].quit: must be true"},
      {R"({"timeline": [{"at": 0, "clock": 1e12}]})",
       "timeline[0].clock: 1000000000000 is out of range -3162240000..3162240000"},
      {R"({"clock": {"day_ms": 5}})", R"(clock: "start" is missing)"},
      {R"({"clock": {"start": "2026-01-01T00:00:00"}})",
       R"(clock.start: "2026-01-01T00:00:00" is not a UTC time such as "2026-01-01T00:00:00Z")"},
      {R"({"clock": {"start": "2026-13-01T00:00:00Z"}})",
       R"(clock.start: "2026-13-01T00:00:00Z" is not a UTC time such as "2026-01-01T00:00:00Z")"},
      {R"({"clock": {"start": "2026-01-01T00:00:00Z", "day_ms": 0}})",
       "clock.day_ms: 0 is out of range 1..86400000"},
      // Devices missing or named twice.
      {R"({"devices": [{"id": "a", "vendor": "1", "product": "2"},
                       {"id": "a", "vendor": "3", "product": "4"}]})",
       R"(devices[1].id: "a" is already used by devices[0])"},
      {R"({"devices": [{"id": "%2", "vendor": "1", "product": "2"},
                       {"id": "%2", "vendor": "3", "product": "4"}]})",
       R"(devices[1].id: "%2" is already used by devices[0])"},
      {R"({"devices": [{"id": "a", "product": "2"}]})", R"(devices[0]: "vendor" is missing)"},
      // Changing the receiver of a device that has none.
      {R"({"devices": [{"id": "a", "vendor": "1", "product": "2"}],
           "timeline": [{"at": 0, "set": "a", "receiver": {"cpi": 1}}]})",
       R"(timeline[0].set: device "a" has no receiver)"},
      // Steps without exactly one action.
      {R"({"timeline": [{"at": 0}]})", OneAction},
      {R"({"timeline": [{"at": 0, "quit": true, "click": "x"}]})", OneAction},
      {R"({"timeline": [{"quit": true}]})", R"(timeline[0]: "at" is missing)"},
      {R"({"timeline": [{"at": 0, "quit": true, "receiver": {}}]})",
       "timeline[0].receiver: only a set step takes receiver fields"},
      {R"({"timeline": [{"at": 0, "click": ""}]})", "timeline[0].click: must not be empty"},
      // Duplicate keys, and NUL in file names.
      {Device(R"("receiver": {"cpi": 1, "cpi": 20})"),
       R"(devices[0].receiver: duplicate key "cpi")"},
      {R"({"timeline": [], "timeline": [{"at": 0, "quit": true}]})", R"(duplicate key "timeline")"},
      {R"({"timeline": [{"at": 0, "screenshot": "shot.png\u0000.txt"}]})",
       "timeline[0].screenshot: a file name holds no NUL"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(Refusal(c.json).toStdString(), std::string("s.json: ") + c.error);

  for (const char *bad : {"", "0x", "12345", "0x10000", "-1", "3A 7E"}) {
    const QString error = Refusal(
        QByteArray(R"({"devices": [{"id": "a", "vendor": "1", "product": ")") + bad + "\"}]}");
    EXPECT_TRUE(error.endsWith(QStringLiteral("is not a hexadecimal ID"))) << error.toStdString();
  }
  const char *known = R"({"devices": [{"id": "a", "vendor": "1", "product": "2"}],
                          "timeline": [{"at": 0, "%1": "b"}]})";
  for (const char *action : {"plug", "unplug", "set"})
    EXPECT_EQ(Refusal(QString::fromLatin1(known).arg(QLatin1String(action)).toUtf8()),
              QStringLiteral("s.json: timeline[0].%1: no device \"b\"").arg(action));
  QString error;
  EXPECT_FALSE(ParseScenario("[]", QStringLiteral("s\r.json"), error));
  EXPECT_EQ(error, QStringLiteral("\"s\\r.json\": expected an object at the top"));
}

TEST(Scenario, ShippedScenariosAreValidAndDemoIsTheDefault) {
  const QDir shipped(QDir::cleanPath(QStringLiteral(QUELVANE_TEST_DATA "/../../../scenarios")));
  const QStringList files = shipped.entryList({QStringLiteral("*.json")}, QDir::Files);
  EXPECT_GE(files.size(), 2);
  QString error;
  for (const QString &file : files)
    EXPECT_TRUE(LoadScenario(shipped.filePath(file), error)) << error.toStdString();

  const auto demo = LoadScenario(shipped.filePath(QStringLiteral("demo.json")), error);
  ASSERT_TRUE(demo.has_value()) << error.toStdString();
  const Scenario fallback = DefaultScenario();
  ASSERT_EQ(demo->Devices.size(), fallback.Devices.size());
  const ScenarioDevice &a = demo->Devices[0];
  const ScenarioDevice &b = fallback.Devices[0];
  EXPECT_EQ(a.Id, b.Id);
  EXPECT_EQ(a.Vendor, b.Vendor);
  EXPECT_EQ(a.Product, b.Product);
  EXPECT_EQ(a.ProductName, b.ProductName);
  EXPECT_EQ(a.FeatureLength, b.FeatureLength);
  ASSERT_TRUE(a.Receiver && b.Receiver);
  EXPECT_EQ(a.Receiver->Battery, b.Receiver->Battery);
  EXPECT_EQ(a.Receiver->Cpi, b.Receiver->Cpi);
  EXPECT_EQ(demo->Timeline.size(), fallback.Timeline.size());
}

#ifndef _WIN32
// Looked at before being opened: a FIFO without a writer would block, a device never end.
TEST(Scenario, WhatIsNoScenarioFileIsRefusedUnreadWithItsPath) {
  const QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString fifo = dir.filePath(QStringLiteral("fifo")), big = dir.filePath("big.json");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  QFile file(big);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(MaxScenarioFileBytes + 1));
  const struct {
    QString Path;
    const char *Reason;
  } cases[] = {
      {big, "larger than 4 MiB"},
      {QStringLiteral("/nonexistent/x.json"), "No such file or directory"},
      {dir.path(), "not a regular file"},
      {fifo, "not a regular file"},
      {QStringLiteral("/dev/zero"), "not a regular file"},
  };
  for (const auto &c : cases) {
    QString error;
    EXPECT_FALSE(LoadScenario(c.Path, error));
    EXPECT_EQ(error, c.Path + QStringLiteral(": ") + QLatin1String(c.Reason));
  }
}
#endif

} // namespace
} // namespace app
