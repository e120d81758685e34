// The tray binding as a StatusNotifierItem host drives it: Qt registers the icon with a watcher
// on the session bus, and the host calls Activate once per click; and the program itself as such
// a host shows it: its tip, and the menu the host draws and clicks. The test owns a private bus,
// a minimal watcher on it and a virtual X server for the xcb platform.
#include "common/ChildProcess.h"
#include "common/ProgramRun.h"
#include "common/SilentBus.h"
#include "platform/QtTrayBinding.h"
#include "tray/CoolTrayIcon.h"

#include <QApplication>
#include <QCursor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QJsonObject>
#include <QMenu>
#include <QMutex>
#include <QMutexLocker>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QThread>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

extern char **environ;

namespace {

constexpr const char *WatcherService = "org.kde.StatusNotifierWatcher";
constexpr const char *WatcherPath = "/StatusNotifierWatcher";

// Just enough of a watcher for Qt to see a host and register its icon.
class Watcher : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)
  Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)
  Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ RegisteredStatusNotifierItems)
public:
  bool IsStatusNotifierHostRegistered() const { return true; }
  int ProtocolVersion() const { return 0; }
  QStringList RegisteredStatusNotifierItems() const {
    const QMutexLocker lock(&m_mutex);
    return m_items;
  }

public slots:
  // The argument is the item's service name, or an object path on the caller's connection.
  void RegisterStatusNotifierItem(const QString &serviceOrPath) {
    const QString item = serviceOrPath.startsWith('/') ? message().service() : serviceOrPath;
    const QMutexLocker lock(&m_mutex);
    m_items.append(item);
  }
  void RegisterStatusNotifierHost(const QString &) {}

private:
  mutable QMutex m_mutex;
  QStringList m_items;
};

// The watcher lives in a thread of its own, so that Qt's blocking calls to it from the GUI
// thread are answered.
class WatcherThread {
public:
  WatcherThread() {
    m_watcher.moveToThread(&m_thread);
    m_thread.start();
    m_connection = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "host");
    m_ok = m_connection.isConnected() &&
           m_connection.registerObject(WatcherPath, &m_watcher,
                                       QDBusConnection::ExportAllSlots |
                                           QDBusConnection::ExportAllProperties) &&
           m_connection.registerService(WatcherService);
  }
  ~WatcherThread() {
    m_connection.unregisterService(WatcherService);
    m_connection.unregisterObject(WatcherPath);
    m_thread.quit();
    m_thread.wait();
    QDBusConnection::disconnectFromBus("host");
  }
  bool Ok() const { return m_ok; }
  QStringList Items() const { return m_watcher.RegisteredStatusNotifierItems(); }
  // What a host sends for one click on the icon, or to ask for its menu; no reply is awaited,
  // the item runs in the GUI thread.
  bool Activate(const QString &item, const QString &method = "Activate", int x = 0, int y = 0) {
    QDBusMessage call = QDBusMessage::createMethodCall(item, "/StatusNotifierItem",
                                                       "org.kde.StatusNotifierItem", method);
    call << x << y;
    return m_connection.send(call);
  }
  // Counts the item's NewToolTip signals.
  bool WatchToolTip(const QString &item, QObject *counter, const char *slot) {
    return m_connection.connect(item, "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                                "NewToolTip", counter, slot);
  }
  // Counts the exported menu's signals that tell a host to read it again.
  bool WatchMenu(const QString &item, const QString &path, QObject *counter, const char *slot) {
    return m_connection.connect(item, path, "com.canonical.dbusmenu", "LayoutUpdated", counter,
                                slot) &&
           m_connection.connect(item, path, "com.canonical.dbusmenu", "ItemsPropertiesUpdated",
                                counter, slot);
  }
  // A call as a host makes it, waiting for the answer at most `timeoutMs`.
  QDBusMessage Call(const QString &item, const QString &path, const QString &interface,
                    const QString &method, const QVariantList &arguments, int timeoutMs = 5000) {
    QDBusMessage call = QDBusMessage::createMethodCall(item, path, interface, method);
    call.setArguments(arguments);
    return m_connection.call(call, QDBus::Block, timeoutMs);
  }
  QVariant Property(const QString &item, const QString &name) {
    const QDBusMessage reply = Call(item, "/StatusNotifierItem", "org.freedesktop.DBus.Properties",
                                    "Get", {QStringLiteral("org.kde.StatusNotifierItem"), name});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
  }

private:
  Watcher m_watcher;
  QThread m_thread;
  QDBusConnection m_connection{QString()};
  bool m_ok = false;
};

bool WaitUntil(const std::function<bool()> &done, int timeoutMs) {
  QElapsedTimer elapsed;
  elapsed.start();
  while (!done()) {
    if (elapsed.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return true;
}

void Pause(int ms) {
  WaitUntil([] { return false; }, ms);
}

constexpr int DoubleClickMs = 250;

struct Clicks {
  const char *name;
  std::vector<int> gapsMs; // before each activation after the first
  int clicks;
  int doubleClicks;
  friend void PrintTo(const Clicks &c, std::ostream *os) { *os << c.name; }
};

class StatusNotifierHost : public testing::TestWithParam<Clicks> {};

TEST_P(StatusNotifierHost, ActivationsBecomeClicksAndDoubleClicks) {
  const Clicks &c = GetParam();
  WatcherThread host;
  ASSERT_TRUE(host.Ok()) << "the watcher could not be registered on the session bus";
  QGuiApplication::styleHints()->setMouseDoubleClickInterval(DoubleClickMs);

  auto binding = std::make_unique<platform::QtTrayBinding>();
  const platform::QtTrayBinding &qt = *binding;
  tray::TCoolTrayIcon icon(nullptr, std::move(binding));
  int clicks = 0, doubleClicks = 0;
  static const int clickTag = 0, doubleTag = 0;
  icon.SetOnClick(tray::TCoolTrayIcon::TNotifyEvent::fromFunction(
      [&clicks](QObject *) { ++clicks; }, &clickTag));
  icon.SetOnDblClick(tray::TCoolTrayIcon::TNotifyEvent::fromFunction(
      [&doubleClicks](QObject *) { ++doubleClicks; }, &doubleTag));
  QPixmap red(16, 16);
  red.fill(Qt::red);
  icon.SetIcon(QIcon(red));
  icon.Loaded();
  ASSERT_TRUE(qt.trayIcon().isVisible());
  ASSERT_TRUE(WaitUntil([&] { return !host.Items().isEmpty(); }, 20000))
      << "Qt did not register its icon with the watcher";
  const QString item = host.Items().constLast();

  ASSERT_TRUE(host.Activate(item));
  for (const int gap : c.gapsMs) {
    Pause(gap);
    ASSERT_TRUE(host.Activate(item));
  }
  // A single click is reported once the double-click time has passed.
  WaitUntil([&] { return clicks + doubleClicks >= c.clicks + c.doubleClicks; }, 10000);
  Pause(3 * DoubleClickMs);
  EXPECT_EQ(clicks, c.clicks);
  EXPECT_EQ(doubleClicks, c.doubleClicks);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, StatusNotifierHost,
    testing::Values(Clicks{"OneActivationIsAClick", {}, 1, 0},
                    Clicks{"TwoQuickActivationsAreADoubleClick", {0}, 0, 1},
                    Clicks{"TwoSlowActivationsAreTwoClicks", {4 * DoubleClickMs}, 2, 0},
                    Clicks{"AThirdQuickActivationIsNoSecondDoubleClick", {0, 0}, 0, 1}),
    [](const testing::TestParamInfo<Clicks> &p) { return p.param.name; });

// Every property of the item as the bus carries it, read by the bus's own client; the GUI thread
// answers meanwhile.
QString PropertiesOnTheWire(const QString &item) {
  QProcess send;
  send.start("dbus-send", {"--session", "--print-reply", "--reply-timeout=5000", "--dest=" + item,
                           "/StatusNotifierItem", "org.freedesktop.DBus.Properties.GetAll",
                           "string:org.kde.StatusNotifierItem"});
  if (!WaitUntil([&] { return send.state() == QProcess::NotRunning; }, 10000) ||
      send.exitCode() != 0)
    return {};
  const QString reply = QString::fromUtf8(send.readAllStandardOutput());
  return reply.mid(reply.indexOf('\n') + 1); // after the line naming sender and serial
}

class Counter : public QObject {
  Q_OBJECT
public:
  int count = 0;
public slots:
  void add() { ++count; }
};

TEST(StatusNotifierHostMenu, OpensAtTheHostsPositionAndTheItemReadsAsQtsOwn) {
  WatcherThread host;
  ASSERT_TRUE(host.Ok());
  QPixmap red(16, 16);
  red.fill(Qt::red);
  const QIcon picture(red);
  // Qt's own item, the twin of the binding's.
  QMenu menu;
  menu.addAction("Item");
  QSystemTrayIcon qtIcon(picture);
  qtIcon.setToolTip("Tip");
  qtIcon.setContextMenu(&menu);
  qtIcon.show();
  ASSERT_TRUE(WaitUntil([&] { return host.Items().size() == 1; }, 20000));
  platform::QtTrayBinding binding;
  ASSERT_NE(binding.hostMenu(), nullptr);
  binding.hostMenu()->addAction("Item");
  ASSERT_TRUE(binding.add(picture, "Tip"));
  ASSERT_TRUE(WaitUntil([&] { return host.Items().size() == 2; }, 20000));
  const QString qtItem = host.Items().at(0), item = host.Items().at(1);

  const QString properties = PropertiesOnTheWire(item);
  EXPECT_TRUE(properties.contains("\"/MenuBar\"") && properties.contains("\"Tip\"") &&
              properties.contains("int32 16"))
      << properties.toStdString();
  EXPECT_EQ(properties, PropertiesOnTheWire(qtItem));
  Counter toolTips;
  ASSERT_TRUE(host.WatchToolTip(item, &toolTips, SLOT(add())));
  ASSERT_TRUE(binding.modify(picture, "Other tip"));
  EXPECT_TRUE(WaitUntil([&] { return toolTips.count > 0; }, 5000)) << "no NewToolTip";

  std::vector<platform::TrayMouseInput> delivered;
  std::optional<QPoint> menuAt;
  binding.setMouseHandler([&](const platform::TrayMouseInput &input) {
    delivered.push_back(input);
    menuAt = binding.cursorPosition();
  });
  ASSERT_TRUE(host.Activate(item, "ContextMenu", 40, 30));
  ASSERT_TRUE(WaitUntil([&] { return delivered.size() == 2; }, 5000));
  EXPECT_EQ(delivered[1].message, platform::TrayMouseMessage::RightButtonUp);
  EXPECT_EQ(delivered[0].position, QPoint(40, 30));
  EXPECT_EQ(menuAt, QPoint(40, 30));
  EXPECT_EQ(binding.cursorPosition(), QCursor::pos()) << "the pointer again after the request";

  // Shown again, the item is registered again, and keeps taking the position.
  ASSERT_TRUE(binding.remove() && binding.add(picture, "Tip"));
  ASSERT_TRUE(WaitUntil([&] { return host.Items().size() == 3; }, 20000));
  delivered.clear();
  ASSERT_TRUE(host.Activate(host.Items().at(2), "ContextMenu", 50, 60));
  ASSERT_TRUE(WaitUntil([&] { return delivered.size() == 2; }, 5000));
  EXPECT_EQ(menuAt, QPoint(50, 60));
}

// The item's tip as a host shows it: the title, then the text.
QString ToolTip(WatcherThread &host, const QString &item) {
  const QVariant value = host.Property(item, "ToolTip");
  if (!value.canConvert<QDBusArgument>()) return {};
  const QDBusArgument tip = value.value<QDBusArgument>();
  QString iconName, title, text;
  tip.beginStructure();
  tip >> iconName;
  tip.beginArray();
  while (!tip.atEnd()) {
    int width = 0, height = 0;
    QByteArray pixels;
    tip.beginStructure();
    tip >> width >> height >> pixels;
    tip.endStructure();
  }
  tip.endArray();
  tip >> title >> text;
  tip.endStructure();
  return text.isEmpty() ? title : title + '\n' + text;
}

// One entry of the exported menu as a host reads it.
struct HostItem {
  int id = 0;
  QString label;
  bool checked = false;
  bool toggle = false; // checkable, whether checked or not
  std::vector<HostItem> children;

  const HostItem *Find(const QString &text) const {
    if (label == text) return this;
    for (const HostItem &child : children)
      if (const HostItem *found = child.Find(text)) return found;
    return nullptr;
  }
  // Every label, sub-menus in brackets; a check mark before a checked one, a tilde before one
  // that can be checked and is not.
  std::string Outline() const {
    std::string out;
    for (const HostItem &child : children)
      out +=
          (out.empty() ? "" : "|") + std::string(child.checked ? "*" : (child.toggle ? "~" : "")) +
          child.label.toStdString() + (child.children.empty() ? "" : "[" + child.Outline() + "]");
    return out;
  }
};

HostItem ReadItem(const QDBusArgument &entry) {
  HostItem item;
  QVariantMap properties;
  entry.beginStructure();
  entry >> item.id >> properties;
  item.label = properties.value("label").toString();
  if (properties.value("type").toString() == "separator") item.label = "-";
  item.checked = properties.value("toggle-state").toInt() == 1;
  item.toggle = !properties.value("toggle-type").toString().isEmpty();
  entry.beginArray();
  while (!entry.atEnd()) {
    QDBusVariant child;
    entry >> child;
    HostItem sub = ReadItem(child.variant().value<QDBusArgument>());
    if (!sub.label.isEmpty() || sub.id != 0) item.children.push_back(std::move(sub));
  }
  entry.endArray();
  entry.endStructure();
  return item;
}

// The whole menu behind the item's Menu property, as a host lays it out before drawing it.
std::optional<HostItem> HostMenu(WatcherThread &host, const QString &item) {
  const QString path = host.Property(item, "Menu").value<QDBusObjectPath>().path();
  if (path.isEmpty() || path == "/NO_DBUSMENU") return std::nullopt;
  const QDBusMessage layout =
      host.Call(item, path, "com.canonical.dbusmenu", "GetLayout", {0, -1, QStringList()});
  if (layout.type() != QDBusMessage::ReplyMessage || layout.arguments().size() < 2)
    return std::nullopt;
  return ReadItem(layout.arguments().at(1).value<QDBusArgument>());
}

bool ClickMenuItem(WatcherThread &host, const QString &item, int id) {
  const QString path = host.Property(item, "Menu").value<QDBusObjectPath>().path();
  return host.Call(item, path, "com.canonical.dbusmenu", "Event",
                   {id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u})
             .type() == QDBusMessage::ReplyMessage;
}

std::optional<bool> WindowVisible(const QString &trace) {
  std::optional<bool> visible;
  for (const QJsonObject &event : testcommon::ReadTrace(trace).value_or(std::vector<QJsonObject>{}))
    if (event.value("ev").toString() == "state") visible = event.value("window_visible").toBool();
  return visible;
}

TEST(ProgramOnStatusNotifierHost, TheHostShowsTheTipAndDrawsAndClicksTheProgramsMenu) {
  WatcherThread host;
  ASSERT_TRUE(host.Ok());
  testcommon::ProgramHome home;
  home.Environment.insert("QT_QPA_PLATFORM", "xcb");
  home.Environment.insert("XDG_RUNTIME_DIR", home.Path());
  const QString trace = home.FilePath("t.jsonl");
  const auto program = home.Start({"--simulate", "--hidden", "--trace=" + trace});
  ASSERT_TRUE(WaitUntil([&] { return !host.Items().isEmpty(); }, 20000))
      << "the program did not register its icon";
  const QString item = host.Items().constLast();

  // The tip gains its second line once the receiver has answered.
  ASSERT_TRUE(WaitUntil([&] { return ToolTip(host, item).contains('\n'); }, 10000))
      << ToolTip(host, item).toStdString();
  EXPECT_TRUE(ToolTip(host, item).startsWith("Tarnovel v1.0\n"))
      << ToolTip(host, item).toStdString();

  std::optional<HostItem> menu = HostMenu(host, item);
  ASSERT_TRUE(menu) << "no menu for the host to draw";
  EXPECT_EQ(menu->Outline(), "Language[*English|~Chinese(Traditional)|~Chinese(Simplified)]|"
                             "_Show|Battery _history|-|~_Battery in icon|-|_Exit");

  // A single property is answered at once: the item's value, the default of one it leaves out,
  // an error for an id or a name nothing has.
  const QString menuPath = host.Property(item, "Menu").value<QDBusObjectPath>().path();
  const HostItem *exitEntry = menu->Find("_Exit");
  ASSERT_NE(exitEntry, nullptr);
  const struct {
    int id;
    const char *name;
    QVariant value; // none: InvalidArgs
  } properties[] = {
      {exitEntry->id, "label", QString("_Exit")},  {exitEntry->id, "visible", true},
      {0, "children-display", QString("submenu")}, {99999, "label", {}},
      {exitEntry->id, "no-such-property", {}},
  };
  for (const auto &p : properties) {
    SCOPED_TRACE(p.name);
    const QDBusMessage reply =
        host.Call(item, menuPath, "com.canonical.dbusmenu", "GetProperty", {p.id, p.name}, 2000);
    if (p.value.isValid()) {
      ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
      EXPECT_EQ(reply.arguments().value(0).value<QDBusVariant>().variant(), p.value);
    } else {
      EXPECT_EQ(reply.errorName().toStdString(), "org.freedesktop.DBus.Error.InvalidArgs");
    }
  }
  Counter menuUpdates;
  ASSERT_TRUE(host.WatchMenu(item, menuPath, &menuUpdates, SLOT(add())));

  // Each click as the host sends it, and the menu and tip the host then reads.
  const struct {
    const char *click;
    const char *outline;
    const char *tip;
  } steps[] = {
      {"Chinese(Simplified)",
       "Language[~English|~Chinese(Traditional)|*Chinese(Simplified)]|\u663e\u793a|"
       "\u7535\u91cf\u8bb0\u5f55|-|~\u56fe\u6807\u663e\u793a\u7535\u91cf|-|\u7ed3\u675f",
       "Tarnovel v1.0\n\u7535\u91cf 83%\uff0c\u89e3\u6790\u5ea6 \u9ad8\n"
       "\u7535\u6c60\u5269\u4f59\u65f6\u95f4\uff1a\u5c1a\u65e0\u6cd5\u5f97\u77e5"},
      {"English",
       "Language[*English|~Chinese(Traditional)|~Chinese(Simplified)]|_Show|Battery _history|-|"
       "~_Battery in icon|-|_Exit",
       "Tarnovel v1.0\nBattery 83%, CPI HIGH\nBattery time left: not known yet"},
      {"_Battery in icon",
       "Language[*English|~Chinese(Traditional)|~Chinese(Simplified)]|_Show|Battery _history|-|"
       "*_Battery in icon|-|_Exit",
       "Tarnovel v1.0\nBattery 83%, CPI HIGH\nBattery time left: not known yet"},
  };
  const QString iconProperties = PropertiesOnTheWire(item);
  for (const auto &step : steps) {
    const HostItem *target = menu->Find(QString::fromUtf8(step.click));
    ASSERT_NE(target, nullptr) << step.click;
    ASSERT_TRUE(ClickMenuItem(host, item, target->id)) << step.click;
    menu = HostMenu(host, item);
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->Outline(), step.outline) << step.click;
    EXPECT_EQ(ToolTip(host, item).toStdString(), step.tip) << step.click;
  }
  // The last click put the battery into the icon: the same tip, new pictures.
  EXPECT_TRUE(WaitUntil([&] { return PropertiesOnTheWire(item) != iconProperties; }, 5000))
      << "the icon's pictures did not change";
  EXPECT_TRUE(WaitUntil([&] { return menuUpdates.count > 0; }, 5000))
      << "a host is not told that the menu changed";

  EXPECT_EQ(WindowVisible(trace), false) << "started hidden";
  const HostItem *show = menu->Find("_Show");
  const HostItem *exit = menu->Find("_Exit");
  ASSERT_TRUE(show && exit);
  ASSERT_TRUE(ClickMenuItem(host, item, show->id));
  EXPECT_TRUE(WaitUntil([&] { return WindowVisible(trace) == true; }, 5000));
  // The history item opens its window, titled in the language.
  const HostItem *history = menu->Find("Battery _history");
  ASSERT_NE(history, nullptr);
  ASSERT_TRUE(ClickMenuItem(host, item, history->id));
  QByteArray windowList;
  EXPECT_TRUE(WaitUntil(
      [&] {
        QProcess windows;
        windows.start("xwininfo", {"-root", "-children"});
        windowList = windows.waitForFinished(5000) ? windows.readAllStandardOutput() : "";
        return windowList.contains("\"Battery history");
      },
      5000))
      << windowList.toStdString();

  // A host without a menu of its own asks the item for one; its call is answered at once, while
  // the program's own menu opens where the host asked.
  const QDBusMessage asked = host.Call(item, "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                                       "ContextMenu", {40, 30}, 3000);
  EXPECT_EQ(asked.type(), QDBusMessage::ReplyMessage) << asked.errorMessage().toStdString();
  // The skinned menu's window at the host's position, as the X server has it.
  EXPECT_TRUE(WaitUntil(
      [] {
        QProcess windows;
        windows.start("xwininfo", {"-root", "-children"});
        return windows.waitForFinished(5000) &&
               windows.readAllStandardOutput().contains("+40+30  +40+30");
      },
      5000))
      << "no menu at (40, 30)";

  ASSERT_TRUE(ClickMenuItem(host, item, exit->id));
  const testcommon::ProgramOutcome outcome = testcommon::ProgramHome::Finish(*program, 10000);
  EXPECT_EQ(outcome.Code, 0);
  EXPECT_EQ(outcome.Err.toStdString(), "")
      << "a normal start on X11 says nothing on standard error";
}

// On X11 Qt keeps an icon for a tray that may start later: only a tray that is there shows a
// message, and the program tells the user another way when none is.
TEST(TrayMessages, OnlyATrayThatIsThereShowsAMessage) {
  for (const bool xembedTray : {false, true}) {
    SCOPED_TRACE(xembedTray ? "an XEmbed tray" : "no tray");
    QProcess tray;
    if (xembedTray) {
      if (QStandardPaths::findExecutable("trayer").isEmpty()) GTEST_SKIP() << "no trayer";
      tray.start("trayer", {"--edge", "bottom", "--widthtype", "pixel", "--width", "64"});
      ASSERT_TRUE(tray.waitForStarted());
      Pause(500);
    }
    platform::QtTrayBinding binding;
    QPixmap picture(16, 16);
    picture.fill(Qt::blue);
    ASSERT_TRUE(binding.add(QIcon(picture), "tip"));
    EXPECT_EQ(binding.showMessage("Mouse battery low", "16%"), xembedTray);
    binding.remove();
    tray.terminate();
    tray.waitForFinished();
  }
}

// Silent buses on X11: Qt's accessibility bridge connects at the window's first show and the tray
// icon when it is made, and libdbus would wait for either without limit. The window comes up, and
// a low battery is told by the XEmbed icon's message.
TEST(ProgramOnSilentBuses, ShowsTheWindowAndTellsALowBatteryByTheTrayIcon) {
  if (QStandardPaths::findExecutable("trayer").isEmpty()) GTEST_SKIP() << "no trayer";
  testcommon::ProgramHome home;
  const testcommon::SilentBus silent(home.FilePath("bus").toLocal8Bit());
  ASSERT_TRUE(silent.Listening());
  QProcess tray;
  tray.start("trayer", {"--edge", "bottom", "--widthtype", "pixel", "--width", "64"});
  ASSERT_TRUE(tray.waitForStarted());
  Pause(500);
  home.Environment.insert("QT_QPA_PLATFORM", "xcb");
  home.Environment.insert("XDG_RUNTIME_DIR", home.Path());
  home.Environment.insert("DBUS_SESSION_BUS_ADDRESS", silent.Address());
  home.Environment.insert("DBUS_SYSTEM_BUS_ADDRESS", silent.Address());
  const QString scenario = home.Write("s.json", R"({
    "devices": [{"id": "rx", "vendor": "3A7E", "product": "0A11", "receiver": {"battery": 17}}],
    "timeline": [{"at": 1500, "quit": true}]})");
  const QString trace = home.FilePath("t.jsonl");
  const auto outcome = home.Run({"--simulate=" + scenario, "--trace=" + trace}, 20000);
  tray.terminate();
  tray.waitForFinished();
  ASSERT_TRUE(outcome.Ended) << "held up by the bus";
  EXPECT_EQ(outcome.Code, 0);
  EXPECT_EQ(outcome.Err.toStdString(),
            "quelvane: the session bus does not answer; the program goes on without it\n"
            "quelvane: the system bus does not answer; the program goes on without it\n");
  EXPECT_EQ(WindowVisible(trace), true);
  const auto told = testcommon::EventsOf(
      testcommon::ReadTrace(trace).value_or(std::vector<QJsonObject>{}), "notification");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].value("via").toString(), "tray");
}

// A normal start says nothing on standard error, whatever tray the desktop has.
struct QuietStart {
  const char *name;
  bool xembedTray; // else no tray host at all
  const char *argument;
  friend void PrintTo(const QuietStart &c, std::ostream *os) { *os << c.name; }
};

class ProgramStart : public testing::TestWithParam<QuietStart> {};

TEST_P(ProgramStart, SaysNothingOnStandardError) {
  const QuietStart &c = GetParam();
  QProcess tray;
  if (c.xembedTray) {
    if (QStandardPaths::findExecutable("trayer").isEmpty()) GTEST_SKIP() << "no trayer";
    tray.start("trayer", {"--edge", "bottom", "--widthtype", "pixel", "--width", "64"});
    ASSERT_TRUE(tray.waitForStarted());
    Pause(500);
  }
  testcommon::ProgramHome home;
  home.Environment.insert("QT_QPA_PLATFORM", "xcb");
  home.Environment.insert("XDG_RUNTIME_DIR", home.Path());
  QFile scenario(home.FilePath("quit.json"));
  ASSERT_TRUE(scenario.open(QIODevice::WriteOnly));
  scenario.write(R"({"timeline": [{"at": 1500, "quit": true}]})");
  scenario.close();
  QStringList arguments{"--simulate=" + scenario.fileName()};
  if (*c.argument) arguments << c.argument;
  const auto outcome = home.Run(arguments);
  tray.terminate();
  tray.waitForFinished();
  EXPECT_EQ(outcome.Code, 0);
  EXPECT_EQ(outcome.Err.toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Trays, ProgramStart,
                         testing::Values(QuietStart{"NoTray", false, ""},
                                         QuietStart{"NoTrayHidden", false, "--hidden"},
                                         QuietStart{"XEmbedTray", true, ""},
                                         QuietStart{"XEmbedTrayHidden", true, "--hidden"}),
                         [](const testing::TestParamInfo<QuietStart> &p) { return p.param.name; });

} // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  // Neither the user's bus and desktop nor their absence may decide the outcome.
  testcommon::Child bus({"dbus-daemon", "--config-file=" QUELVANE_TEST_BUS_CONFIG, "--nofork",
                         "--nopidfile", "--print-address={fd}"});
  testcommon::Child display(
      {"Xvfb", "-displayfd", "{fd}", "-screen", "0", "320x240x24", "-nolisten", "tcp"});
  if (!bus.Line() || !display.Line()) {
    std::fprintf(stderr, "needs dbus-daemon and Xvfb (scripts/install-deps.sh installs them)\n");
    return 1;
  }
  ::setenv("DBUS_SESSION_BUS_ADDRESS", bus.Line()->c_str(), 1);
  ::setenv("DISPLAY", (":" + *display.Line()).c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                           "QT_QPA_PLATFORMTHEME", "WAYLAND_DISPLAY"})
    ::unsetenv(name);
  int status = 0;
  {
    QApplication app(argc, argv);
    status = RUN_ALL_TESTS();
  }
  return status;
}

#include "test_tray_sni.moc"
