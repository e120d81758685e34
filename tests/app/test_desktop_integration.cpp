#include "FormFixture.h"

#include "app/DesktopTexts.h"
#include "app/TraceWriter.h"
#include "skin/TsuiPopupMenu.h"
#include "widgets/ThhALed.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>

#include <utility>
#include <vector>

using namespace app;
using namespace app::test;

namespace {

enum class Service { Absent, Takes, Refuses };

// The window on one virtual receiver, with the desktop's notification service recorded.
class DesktopIntegration : public FormFixture {
protected:
  void Plug(std::uint8_t battery) {
    receiver::VirtualReceiverState state;
    state.Battery = battery;
    AddReceiver(state);
  }
  // The service's answers wait for Answer(), as the bus's come later from the event loop.
  void WithDesktopService(Service service) {
    DesktopNotify = nullptr;
    if (service == Service::Absent) return;
    DesktopNotify = [this, service](const QString &title, const QString &body,
                                    DesktopNotifier::Shown shown) {
      m_desktop.emplace_back(title, body);
      m_answers.push_back(
          [service, shown = std::move(shown)] { shown(service == Service::Takes); });
    };
  }
  void Answer() {
    for (const std::function<void()> &answer : std::exchange(m_answers, {}))
      answer();
  }
  // Delivers posted device changes until `done` holds.
  static bool Settled(const std::function<bool()> &done) {
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
  }

  std::vector<std::pair<QString, QString>> m_desktop;
  std::vector<std::function<void()>> m_answers;
};

struct LanguageCase {
  int codePage;
  const char *title;
  const char *body;
};

TEST_F(DesktopIntegration, ALowBatteryIsToldInTheWindowsLanguage) {
  const LanguageCase cases[] = {
      {1252, "Mouse battery low", "The mouse's battery is at 16%. Charge or replace it soon."},
      {950, "滑鼠電量不足", "滑鼠電池剩餘 16%，請盡快充電或更換。"},
      {936, "鼠标电量不足", "鼠标电池剩余 16%，请尽快充电或更换。"},
  };
  Plug(0x11);
  WithDesktopService(Service::Takes);
  for (const LanguageCase &c : cases) {
    SCOPED_TRACE(c.codePage);
    m_desktop.clear();
    Settings.Values.clear();
    const auto form = Create(c.codePage);
    QCoreApplication::processEvents();
    ASSERT_EQ(m_desktop.size(), 1u);
    EXPECT_EQ(m_desktop[0].first, QString::fromUtf8(c.title));
    EXPECT_EQ(m_desktop[0].second, QString::fromUtf8(c.body));
  }
}

// Where the message goes, and what the trace says of it.
struct RouteCase {
  const char *name;
  Service service;
  bool trayIcon;
  const char *via;
};

TEST_F(DesktopIntegration, EveryNotificationIsTracedWithWhereItWent) {
  using enum Service;
  const RouteCase cases[] = {
      {"the desktop's service", Takes, true, "desktop"},
      {"the tray icon when the service refuses", Refuses, true, "tray"},
      {"the tray icon without a service", Absent, true, "tray"},
      {"nowhere when the service refuses and there is no icon", Refuses, false, "none"},
      {"nowhere without either", Absent, false, "none"},
  };
  Plug(0x15);
  for (const RouteCase &c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(Dir.filePath("trace.jsonl"));
    QString error;
    const auto writer = TraceWriter::Open(Dir.filePath("trace.jsonl"), error);
    ASSERT_TRUE(writer) << error.toStdString();
    EventTrace = writer.get();
    m_desktop.clear();
    TrayHost->messages.clear();
    WithDesktopService(c.service);
    receiver::VirtualReceiverState state = Rx->State();
    state.Battery = 0x15;
    Rx->SetState(state);
    const auto form = Create();
    QCoreApplication::processEvents();
    if (!c.trayIcon) Tray->remove();
    state.Battery = 0x10;
    Rx->SetState(state);
    form->tmrStatusTimer(nullptr);
    form->tmrStatusTimer(nullptr); // still low: told once
    Answer();
    const std::vector<QJsonObject> events = TraceEvents("trace.jsonl", "notification");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].value("kind").toString(), "battery_low");
    EXPECT_EQ(events[0].value("title").toString(), "Mouse battery low");
    EXPECT_EQ(events[0].value("via").toString(), c.via);
    EXPECT_EQ(m_desktop.size(), c.service == Absent ? 0u : 1u);
    EXPECT_EQ(TrayHost->messages.size(), std::string(c.via) == "tray" ? 1u : 0u);
    EventTrace = nullptr;
  }
}

TEST_F(DesktopIntegration, AnAnswerThatComesAfterTheWindowIsGoneIsDropped) {
  Plug(0x10);
  WithDesktopService(Service::Refuses);
  auto form = Create();
  QCoreApplication::processEvents();
  ASSERT_EQ(m_desktop.size(), 1u);
  form.reset();
  Answer();
  EXPECT_TRUE(TrayHost->messages.empty());
}

TEST_F(DesktopIntegration, ARescanAsksTheDevicesAgainThoughNothingChanged) {
  Plug(0x15);
  const auto form = Create();
  QCoreApplication::processEvents();
  ASSERT_TRUE(form->ledDev->Value());
  Binding.ClearCalls();
  form->Rescan();
  QCoreApplication::processEvents();
  int enumerations = 0, queries = 0;
  for (const hid::SimulatedCall &call : Binding.Calls()) {
    enumerations += call.Op == "enumerate";
    queries += call.Op == "get_feature";
  }
  EXPECT_EQ(enumerations, 1);
  EXPECT_GT(queries, 0);
  EXPECT_TRUE(form->ledDev->Value());
}

struct TipCase {
  int codePage;
  std::uint8_t cpi;
  const char *tip;
};

TEST_F(DesktopIntegration, TheTipAddsBatteryAndCpiInTheWindowsLanguageWhileConnected) {
  const TipCase cases[] = {
      {1252, 10, "Tarnovel v1.0\nBattery 83%, CPI HIGH"},
      {1252, 2, "Tarnovel v1.0\nBattery 83%, CPI LOW"},
      {950, 10, "Tarnovel v1.0\n電量 83%，解析度 高"},
      {936, 2, "Tarnovel v1.0\n电量 83%，解析度 低"},
  };
  Plug(0x15);
  for (const TipCase &c : cases) {
    SCOPED_TRACE(c.tip);
    receiver::VirtualReceiverState state = Rx->State();
    state.Cpi = c.cpi;
    Rx->SetState(state);
    Settings.Values.clear();
    const auto form = Create(c.codePage);
    QCoreApplication::processEvents();
    EXPECT_EQ(TrayHost->tip, QString::fromUtf8(c.tip));
  }
}

TEST_F(DesktopIntegration, TheTipFollowsTheMenuLanguageAndDropsTheReadoutsWhenUnplugged) {
  const auto form = Create();
  QCoreApplication::processEvents();
  EXPECT_EQ(TrayHost->tip, "Tarnovel v1.0") << "nothing connected";
  Plug(0x15);
  EXPECT_TRUE(Settled([&] { return form->ReceiverConnected(); }));
  EXPECT_EQ(TrayHost->tip, "Tarnovel v1.0\nBattery 83%, CPI HIGH");
  form->mniCht->Click();
  EXPECT_EQ(TrayHost->tip, QString::fromUtf8("Tarnovel v1.0\n電量 83%，解析度 高"));
  ASSERT_TRUE(Binding.Unplug("rx"));
  EXPECT_TRUE(Settled([&] { return !form->ReceiverConnected(); }));
  EXPECT_EQ(TrayHost->tip, "Tarnovel v1.0");
}

class KeptHistory final : public receiver::BatteryHistoryStore {
public:
  void Append(const receiver::BatteryRecord &record) override { Records.push_back(record); }
  std::vector<receiver::BatteryRecord> Records;
};

TEST_F(DesktopIntegration, TheTipTellsTheBatterysTimeLeftOnceItIsKnown) {
  using receiver::BatteryEvent;
  constexpr std::int64_t Day = 86400;
  KeptHistory kept;
  std::int64_t now = 20 * Day;
  // A level every ten days: level 4 on day 20 has forty days left.
  receiver::BatteryRecorder history(kept,
                                    {{0, BatteryEvent::Level, 6, 6},
                                     {10 * Day, BatteryEvent::Level, 5, 6},
                                     {20 * Day, BatteryEvent::Level, 4, 6}},
                                    [&now] { return now; });
  BatteryHistory = &history;
  Plug(0x14);
  const auto form = Create();
  EXPECT_TRUE(Settled([&] { return form->ReceiverConnected(); }));
  EXPECT_EQ(TrayHost->tip, "Tarnovel v1.0\nBattery 66%, CPI HIGH\nBattery: about 6 weeks left");
  ASSERT_EQ(kept.Records.size(), 1u) << "the same level again is no change";
  EXPECT_EQ(kept.Records[0].Event, BatteryEvent::Connected);
  form->mniChs->Click();
  EXPECT_EQ(TrayHost->tip,
            QString::fromUtf8("Tarnovel v1.0\n电量 66%，解析度 高\n电池：约剩 6 周"));
  ASSERT_TRUE(Binding.Unplug("rx"));
  EXPECT_TRUE(Settled([&] { return !form->ReceiverConnected(); }));
  EXPECT_EQ(TrayHost->tip, "Tarnovel v1.0");
  EXPECT_EQ(kept.Records.back().Event, BatteryEvent::Disconnected);
}

TEST(TimeLeftLine, RoundsToTheUnitThatSuitsInEachLanguage) {
  using receiver::TLngID;
  constexpr std::int64_t Day = 86400;
  const struct {
    std::optional<std::int64_t> seconds;
    TLngID language;
    const char *line;
  } cases[] = {
      {std::nullopt, TLngID::Eng, "Battery time left: not known yet"},
      {std::nullopt, TLngID::Cht, "電池剩餘時間：尚無法得知"},
      {0, TLngID::Eng, "Battery: less than a day left"},
      {Day - 1, TLngID::Chs, "电池：剩不到一天"},
      {Day, TLngID::Eng, "Battery: about 1 day left"},
      {13 * Day, TLngID::Eng, "Battery: about 13 days left"},
      {14 * Day, TLngID::Eng, "Battery: about 2 weeks left"},
      {59 * Day, TLngID::Cht, "電池：約剩 8 週"},
      {60 * Day, TLngID::Eng, "Battery: about 2 months left"},
      {100 * Day, TLngID::Chs, "电池：约剩 3 个月"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(TimeLeftLine(c.seconds, c.language), QString::fromUtf8(c.line));
  }
}

} // namespace
