#include "app/Scenario.h"

#include "app/Messages.h"
#include "framework/files/RegularFile.h"
#include "framework/text/Json.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <map>

namespace app {
namespace {

// A clock step moves at most a century either way.
constexpr long long MaxClockStep = 100LL * 366 * 24 * 3600;

// Thrown inside the parser only; ParseScenario turns it into the message.
struct Refusal {
  QString Where;
  QString What;
};

QString Shown(const QJsonValue &value) {
  switch (value.type()) {
  case QJsonValue::String:
    return Quoted(value.toString());
  case QJsonValue::Bool:
    return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
  case QJsonValue::Double:
    return QString::number(value.toDouble(), 'g', 17);
  case QJsonValue::Null:
    return QStringLiteral("null");
  case QJsonValue::Array:
    return QStringLiteral("a list");
  case QJsonValue::Object:
    return QStringLiteral("an object");
  case QJsonValue::Undefined:
    break;
  }
  return QStringLiteral("nothing");
}

QString Member(const QString &where, const QString &key) {
  return where.isEmpty() ? key : where + QLatin1Char('.') + key;
}

QString Element(const QString &where, qsizetype index) {
  return QStringLiteral("%1[%2]").arg(where).arg(index);
}

[[noreturn]] void Refuse(const QString &where, const QString &what) {
  throw Refusal{where, what};
}

void CheckKeys(const QJsonObject &object, const QString &where,
               std::initializer_list<const char *> allowed) {
  for (auto it = object.begin(); it != object.end(); ++it) {
    bool known = false;
    for (const char *key : allowed)
      known = known || it.key() == QLatin1String(key);
    if (!known) Refuse(where, QStringLiteral("unknown key %1").arg(Quoted(it.key())));
  }
}

QJsonObject Object(const QJsonValue &value, const QString &where) {
  if (!value.isObject())
    Refuse(where, QStringLiteral("expected an object, not %1").arg(Shown(value)));
  return value.toObject();
}

QJsonArray Array(const QJsonValue &value, const QString &where) {
  if (!value.isArray()) Refuse(where, QStringLiteral("expected a list, not %1").arg(Shown(value)));
  return value.toArray();
}

bool Boolean(const QJsonValue &value, const QString &where) {
  if (!value.isBool())
    Refuse(where, QStringLiteral("expected true or false, not %1").arg(Shown(value)));
  return value.toBool();
}

QString Text(const QJsonValue &value, const QString &where, bool allowEmpty = false) {
  if (!value.isString())
    Refuse(where, QStringLiteral("expected a string, not %1").arg(Shown(value)));
  if (!allowEmpty && value.toString().isEmpty()) Refuse(where, QStringLiteral("must not be empty"));
  return value.toString();
}

long long Integer(const QJsonValue &value, const QString &where, long long min, long long max) {
  const double number = value.toDouble();
  if (!value.isDouble() || std::trunc(number) != number)
    Refuse(where, QStringLiteral("expected a whole number, not %1").arg(Shown(value)));
  if (number < static_cast<double>(min) || number > static_cast<double>(max))
    Refuse(where, QStringLiteral("%1 is out of range %2..%3").arg(Shown(value)).arg(min).arg(max));
  return static_cast<long long>(number);
}

std::uint8_t Byte(const QJsonValue &value, const QString &where) {
  return static_cast<std::uint8_t>(Integer(value, where, 0, 255));
}

std::uint16_t Word(const QJsonValue &value, const QString &where) {
  return static_cast<std::uint16_t>(Integer(value, where, 0, 0xFFFF));
}

// "3A7E" or "0x3A7E": one to four hexadecimal digits.
std::uint16_t HexId(const QJsonValue &value, const QString &where) {
  if (!value.isString())
    Refuse(where,
           QStringLiteral("expected a hexadecimal ID such as \"3A7E\", not %1").arg(Shown(value)));
  QString digits = value.toString();
  if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) digits = digits.mid(2);
  bool ok = digits.size() >= 1 && digits.size() <= 4;
  for (const QChar c : digits)
    ok = ok && ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')));
  if (!ok) Refuse(where, QStringLiteral("%1 is not a hexadecimal ID").arg(Shown(value)));
  return static_cast<std::uint16_t>(digits.toUInt(nullptr, 16));
}

std::array<std::uint8_t, 2> BytePair(const QJsonValue &value, const QString &where) {
  const QJsonArray pair = Array(value, where);
  if (pair.size() != 2)
    Refuse(where, QStringLiteral("expected two bytes, not %1").arg(pair.size()));
  return {Byte(pair[0], Element(where, 0)), Byte(pair[1], Element(where, 1))};
}

// The receiver fields; every one is optional, both in a device and in a `set` step.
receiver::VirtualReceiverChange ReceiverFields(const QJsonValue &value, const QString &where) {
  const QJsonObject object = Object(value, where);
  CheckKeys(object, where,
            {"battery", "cpi", "bind", "query14", "ack", "ack_after", "fail_writes", "fail_reads"});
  receiver::VirtualReceiverChange change;
  const auto field = [&](const char *key) { return object.value(QLatin1String(key)); };
  const auto at = [&](const char *key) { return Member(where, QLatin1String(key)); };
  if (object.contains(QLatin1String("battery")))
    change.Battery = Byte(field("battery"), at("battery"));
  if (object.contains(QLatin1String("cpi"))) change.Cpi = Byte(field("cpi"), at("cpi"));
  if (object.contains(QLatin1String("bind"))) change.Bind = BytePair(field("bind"), at("bind"));
  if (object.contains(QLatin1String("query14")))
    change.Query14 = BytePair(field("query14"), at("query14"));
  if (object.contains(QLatin1String("ack"))) change.Ack = Boolean(field("ack"), at("ack"));
  if (object.contains(QLatin1String("ack_after")))
    change.AckAfter =
        static_cast<std::uint32_t>(Integer(field("ack_after"), at("ack_after"), 0, 1'000'000));
  if (object.contains(QLatin1String("fail_writes")))
    change.FailWrites = Boolean(field("fail_writes"), at("fail_writes"));
  if (object.contains(QLatin1String("fail_reads")))
    change.FailReads = Boolean(field("fail_reads"), at("fail_reads"));
  return change;
}

ScenarioDevice Device(const QJsonValue &value, const QString &where) {
  const QJsonObject object = Object(value, where);
  CheckKeys(object, where,
            {"id", "vendor", "product", "product_name", "usage_page", "usage", "feature_length",
             "access", "plugged", "receiver"});
  for (const char *required : {"id", "vendor", "product"})
    if (!object.contains(QLatin1String(required)))
      Refuse(where, QStringLiteral("\"%1\" is missing").arg(QLatin1String(required)));
  const auto field = [&](const char *key) { return object.value(QLatin1String(key)); };
  const auto at = [&](const char *key) { return Member(where, QLatin1String(key)); };
  const auto has = [&](const char *key) { return object.contains(QLatin1String(key)); };

  ScenarioDevice device;
  device.Id = Text(field("id"), at("id")).toStdString();
  device.Vendor = HexId(field("vendor"), at("vendor"));
  device.Product = HexId(field("product"), at("product"));
  if (has("product_name"))
    device.ProductName = Text(field("product_name"), at("product_name"), true).toStdU16String();
  if (has("usage_page")) device.UsagePage = Word(field("usage_page"), at("usage_page"));
  if (has("usage")) device.Usage = Word(field("usage"), at("usage"));
  if (has("feature_length")) // the largest report the kernel passes
    device.FeatureLength =
        static_cast<std::uint16_t>(Integer(field("feature_length"), at("feature_length"), 0, 4096));
  if (has("access")) {
    const QString access = Text(field("access"), at("access"));
    if (access == QLatin1String("rw"))
      device.Access = DeviceAccess::ReadWrite;
    else if (access == QLatin1String("query"))
      device.Access = DeviceAccess::QueryOnly;
    else if (access == QLatin1String("none"))
      device.Access = DeviceAccess::None;
    else
      Refuse(at("access"), QStringLiteral("%1 is not one of \"rw\", \"query\", \"none\"")
                               .arg(Shown(field("access"))));
  }
  if (has("plugged")) device.Plugged = Boolean(field("plugged"), at("plugged"));
  if (has("receiver")) {
    receiver::VirtualReceiverState state;
    ReceiverFields(field("receiver"), at("receiver")).ApplyTo(state);
    device.Receiver = state;
  }
  return device;
}

ScenarioStep Step(const QJsonValue &value, const QString &where,
                  const std::map<std::string, const ScenarioDevice *> &devices) {
  const QJsonObject object = Object(value, where);
  CheckKeys(object, where,
            {"at", "plug", "unplug", "set", "receiver", "click", "menu", "tray", "title_button",
             "screenshot", "quit", "clock"});
  const auto field = [&](const char *key) { return object.value(QLatin1String(key)); };
  const auto at = [&](const char *key) { return Member(where, QLatin1String(key)); };
  const auto has = [&](const char *key) { return object.contains(QLatin1String(key)); };

  static constexpr std::pair<const char *, StepKind> actions[] = {
      {"plug", StepKind::Plug},
      {"unplug", StepKind::Unplug},
      {"set", StepKind::Set},
      {"click", StepKind::Click},
      {"menu", StepKind::Menu},
      {"tray", StepKind::Tray},
      {"title_button", StepKind::TitleButton},
      {"screenshot", StepKind::Screenshot},
      {"quit", StepKind::Quit},
      {"clock", StepKind::Clock}};
  const char *action = nullptr;
  ScenarioStep step;
  int count = 0;
  for (const auto &[key, kind] : actions) {
    if (has(key)) {
      ++count;
      action = key;
      step.Kind = kind;
    }
  }
  if (count != 1)
    Refuse(where, QStringLiteral("a step needs exactly one of plug, unplug, set, click, menu, "
                                 "tray, title_button, screenshot, quit, clock"));
  if (!has("at")) Refuse(where, QStringLiteral("\"at\" is missing"));
  step.At = static_cast<int>(Integer(field("at"), at("at"), 0, 24 * 3600 * 1000));
  if (has("receiver") && step.Kind != StepKind::Set)
    Refuse(at("receiver"), QStringLiteral("only a set step takes receiver fields"));

  const QJsonValue argument = field(action);
  const QString argumentAt = at(action);
  switch (step.Kind) {
  case StepKind::Plug:
  case StepKind::Unplug:
  case StepKind::Set: {
    step.Device = Text(argument, argumentAt).toStdString();
    const auto found = devices.find(step.Device);
    if (found == devices.end())
      Refuse(argumentAt, QStringLiteral("no device %1").arg(Shown(argument)));
    if (step.Kind == StepKind::Set) {
      if (!found->second->Receiver)
        Refuse(argumentAt, QStringLiteral("device %1 has no receiver").arg(Shown(argument)));
      if (!has("receiver")) Refuse(where, QStringLiteral("\"receiver\" is missing"));
      step.Change = ReceiverFields(field("receiver"), at("receiver"));
    }
    break;
  }
  case StepKind::Click:
  case StepKind::Menu:
    step.Name = Text(argument, argumentAt).toStdString();
    break;
  case StepKind::Tray: {
    const QString tray = Text(argument, argumentAt);
    if (tray == QLatin1String("dblclick"))
      step.Tray = TrayAction::DoubleClick;
    else if (tray == QLatin1String("click"))
      step.Tray = TrayAction::Click;
    else if (tray == QLatin1String("rclick"))
      step.Tray = TrayAction::RightClick;
    else
      Refuse(argumentAt, QStringLiteral("%1 is not one of \"dblclick\", \"click\", \"rclick\"")
                             .arg(Shown(argument)));
    break;
  }
  case StepKind::TitleButton:
    step.Index = static_cast<int>(Integer(argument, argumentAt, 0, 255));
    break;
  case StepKind::Screenshot:
    step.Path = Text(argument, argumentAt);
    // The system would take the name only up to it and write another file.
    if (step.Path.contains(QChar(0)))
      Refuse(argumentAt, QStringLiteral("a file name holds no NUL"));
    break;
  case StepKind::Quit:
    if (!Boolean(argument, argumentAt)) Refuse(argumentAt, QStringLiteral("must be true"));
    break;
  case StepKind::Clock:
    step.ClockSeconds = Integer(argument, argumentAt, -MaxClockStep, MaxClockStep);
    break;
  }
  return step;
}

ScenarioClock Clock(const QJsonValue &value, const QString &where) {
  const QJsonObject object = Object(value, where);
  CheckKeys(object, where, {"start", "day_ms"});
  const QString startAt = Member(where, QStringLiteral("start"));
  if (!object.contains(QLatin1String("start")))
    Refuse(where, QStringLiteral("\"start\" is missing"));
  const QString start = Text(object.value(QLatin1String("start")), startAt);
  // Without its zone a time would be read in the machine's, and the scenario run differently.
  const QDateTime time = QDateTime::fromString(start, Qt::ISODate);
  if (!start.endsWith(QLatin1Char('Z')) || !time.isValid())
    Refuse(
        startAt,
        QStringLiteral("%1 is not a UTC time such as \"2026-01-01T00:00:00Z\"").arg(Quoted(start)));
  ScenarioClock clock;
  clock.StartSeconds = time.toSecsSinceEpoch();
  if (object.contains(QLatin1String("day_ms")))
    clock.DayMilliseconds =
        static_cast<int>(Integer(object.value(QLatin1String("day_ms")),
                                 Member(where, QStringLiteral("day_ms")), 1, 24 * 3600 * 1000));
  return clock;
}

Scenario Parse(const QJsonObject &root) {
  CheckKeys(root, QString(), {"description", "devices", "timeline", "clock"});
  if (root.contains(QLatin1String("description")))
    Text(root.value(QLatin1String("description")), QStringLiteral("description"), true);

  Scenario scenario;
  std::map<std::string, qsizetype> firstUse;
  const QJsonArray devices =
      root.contains(QLatin1String("devices"))
          ? Array(root.value(QLatin1String("devices")), QStringLiteral("devices"))
          : QJsonArray();
  for (qsizetype i = 0; i < devices.size(); ++i) {
    const QString where = Element(QStringLiteral("devices"), i);
    ScenarioDevice device = Device(devices[i], where);
    const auto [it, fresh] = firstUse.emplace(device.Id, i);
    if (!fresh)
      Refuse(Member(where, QStringLiteral("id")),
             QStringLiteral("%1 is already used by devices[%2]")
                 .arg(QString::fromStdString(Quoted(device.Id)), QString::number(it->second)));
    scenario.Devices.push_back(std::move(device));
  }
  std::map<std::string, const ScenarioDevice *> byId;
  for (const ScenarioDevice &device : scenario.Devices)
    byId.emplace(device.Id, &device);

  const QJsonArray timeline =
      root.contains(QLatin1String("timeline"))
          ? Array(root.value(QLatin1String("timeline")), QStringLiteral("timeline"))
          : QJsonArray();
  for (qsizetype i = 0; i < timeline.size(); ++i)
    scenario.Timeline.push_back(Step(timeline[i], Element(QStringLiteral("timeline"), i), byId));
  if (root.contains(QLatin1String("clock")))
    scenario.Clock = Clock(root.value(QLatin1String("clock")), QStringLiteral("clock"));
  return scenario;
}

// Line and column (from 1) of a byte offset.
std::pair<int, int> Position(const QByteArray &text, qsizetype offset) {
  int line = 1;
  int column = 1;
  for (qsizetype i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return {line, column};
}

} // namespace

std::optional<Scenario> ParseScenario(const QByteArray &json, const QString &fileName,
                                      QString &error) {
  const QString shown = ShownPath(fileName);
  QJsonParseError parseError;
  const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
  if (parseError.error != QJsonParseError::NoError) {
    const auto [line, column] = Position(json, parseError.offset);
    error =
        QStringLiteral("%1: line %2, column %3: %4")
            .arg(shown, QString::number(line), QString::number(column), parseError.errorString());
    return std::nullopt;
  }
  if (!document.isObject()) {
    error = QStringLiteral("%1: expected an object at the top").arg(shown);
    return std::nullopt;
  }
  try {
    Scenario scenario = Parse(document.object());
    // The reader keeps one of the two values without a word.
    if (const auto twice = framework::text::FindDuplicateKey(json.toStdString()))
      Refuse(QString::fromStdString(twice->Where),
             QStringLiteral("duplicate key %1").arg(QString::fromStdString(Quoted(twice->Key))));
    return scenario;
  } catch (const Refusal &refusal) {
    error = refusal.Where.isEmpty()
                ? QStringLiteral("%1: %2").arg(shown, refusal.What)
                : QStringLiteral("%1: %2: %3").arg(shown, refusal.Where, refusal.What);
    return std::nullopt;
  }
}

std::optional<Scenario> LoadScenario(const QString &path, QString &error) {
  const auto fail = [&](const QString &reason) {
    error = QStringLiteral("%1: %2").arg(ShownPath(path), reason);
    return std::nullopt;
  };
  // Never blocks on a FIFO and never reads past the limit, whatever the name points at.
  const framework::FileContents file =
      framework::ReadRegularFile(QFile::encodeName(path).toStdString(), MaxScenarioFileBytes);
  using Status = framework::FileContents::Status;
  switch (file.State) {
  case Status::Read:
    break;
  case Status::NotRegular:
    return fail(QStringLiteral("not a regular file"));
  case Status::TooLarge:
    return fail(QStringLiteral("larger than %1 MiB").arg(MaxScenarioFileBytes >> 20));
  case Status::Missing:
  case Status::Unreadable:
    return fail(file.Error != 0 ? QString::fromLocal8Bit(std::strerror(file.Error))
                                : QStringLiteral("cannot be read"));
  }
  return ParseScenario(QByteArray::fromStdString(file.Text), path, error);
}

Scenario DefaultScenario() {
  ScenarioDevice device;
  device.Id = "receiver";
  device.Vendor = 0x3A7E;
  device.Product = 0x0A11;
  device.ProductName = u"2.4G Wireless Receiver";
  device.UsagePage = 1;
  device.Usage = 2;
  device.FeatureLength = 9;
  device.Access = DeviceAccess::ReadWrite;
  device.Plugged = true;
  receiver::VirtualReceiverState state;
  state.Battery = 0x15;
  state.Cpi = 10;
  device.Receiver = state;
  Scenario scenario;
  scenario.Devices.push_back(std::move(device));
  return scenario;
}

} // namespace app
