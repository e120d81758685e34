#include "framework/MessageLoop.h"
#include "framework/PopupMenuPort.h"
#include "platform/HeadlessTrayBinding.h"
#include "tray/CoolTrayIcon.h"
#include "tray/ImageList.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QWidget>
#include <gmock/gmock.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

using platform::HeadlessTrayBinding;
using platform::HeadlessTrayCall;
using platform::HeadlessTrayHost;
using platform::TrayMouseMessage;
using testing::ElementsAre;
using testing::IsEmpty;
using tray::TCoolTrayIcon;
using tray::TImageList;
using tray::TMouseButton;
using tray::TShiftFlag;
using tray::TShiftState;

namespace {

using Log = std::vector<std::string>;

class CountingLoop final : public framework::MessageLoop {
public:
  void post(std::function<void()> message) override { m_queue.push_back(std::move(message)); }
  void processPendingMessages() override {
    ++pumps;
    auto queue = std::move(m_queue);
    for (auto &message : queue)
      message();
  }
  void sleep(std::chrono::milliseconds) override {}
  int pumps = 0;

private:
  std::vector<std::function<void()>> m_queue;
};

class FakeMenu final : public QObject, public framework::PopupMenuPort {
public:
  explicit FakeMenu(Log &log) : m_log(log) {}
  QObject *component() override { return this; }
  bool AutoPopup() const override { return autoPopup; }
  void SetPopupComponent(QObject *component) override { popupComponent = component; }
  void Popup(int x, int y) override {
    m_log.push_back("popup " + std::to_string(x) + "," + std::to_string(y));
    if (const auto inItsLoop = std::exchange(whileOpen, nullptr)) inItsLoop();
  }
  bool ClickDefaultItem() override {
    if (!hasDefault) return false;
    m_log.push_back("default item");
    return true;
  }
  bool autoPopup = true;
  bool hasDefault = false;
  std::function<void()> whileOpen; // once, as if from the menu's own loop
  QObject *popupComponent = nullptr;

private:
  Log &m_log;
};

QIcon solidIcon(Qt::GlobalColor colour) {
  QPixmap pixmap(16, 16);
  pixmap.fill(colour);
  return QIcon(pixmap);
}

std::string buttonName(TMouseButton button) {
  switch (button) {
  case TMouseButton::mbLeft:
    return "left";
  case TMouseButton::mbRight:
    return "right";
  case TMouseButton::mbMiddle:
    return "middle";
  }
  return "?";
}

const int ClickTag = 0, DblTag = 0, DownTag = 0, UpTag = 0, MoveTag = 0, CycleTag = 0;

class TrayIconTest : public testing::Test {
protected:
  void SetUp() override { create(nullptr); }

  void create(QObject *owner) {
    auto binding = std::make_unique<HeadlessTrayBinding>(host);
    m_binding = binding.get();
    tray = std::make_unique<TCoolTrayIcon>(owner, std::move(binding), &loop);
    tray->SetOnClick(TCoolTrayIcon::TNotifyEvent::fromFunction(
        [this](QObject *) { log.push_back("click"); }, &ClickTag));
    tray->SetOnDblClick(TCoolTrayIcon::TNotifyEvent::fromFunction(
        [this](QObject *) { log.push_back("dblclick"); }, &DblTag));
    tray->SetOnMouseDown(TCoolTrayIcon::TMouseEvent::fromFunction(
        [this](QObject *, TMouseButton b, TShiftState s, int x, int y) {
          lastShift = s;
          log.push_back("down " + buttonName(b) + " " + std::to_string(x) + "," +
                        std::to_string(y));
        },
        &DownTag));
    tray->SetOnMouseUp(TCoolTrayIcon::TMouseEvent::fromFunction(
        [this](QObject *, TMouseButton b, TShiftState, int, int) {
          log.push_back("up " + buttonName(b));
        },
        &UpTag));
    tray->SetOnMouseMove(TCoolTrayIcon::TMouseMoveEvent::fromFunction(
        [this](QObject *, TShiftState, int, int) { log.push_back("move"); }, &MoveTag));
  }

  void send(TrayMouseMessage message, QPoint at = QPoint(40, 30),
            Qt::KeyboardModifiers modifiers = {}) {
    m_binding->injectMouse(message, at, modifiers);
  }
  HeadlessTrayBinding &binding() { return *m_binding; }

  Log log;
  TShiftState lastShift;
  CountingLoop loop;
  std::shared_ptr<HeadlessTrayHost> host = std::make_shared<HeadlessTrayHost>();
  std::unique_ptr<TCoolTrayIcon> tray;

private:
  HeadlessTrayBinding *m_binding = nullptr;
};

TEST(TrayTip, KeepsTheFirst127CharactersAndIsEmptyWhenHiddenOrBlank) {
  const QString longHint(200, QChar('x'));
  EXPECT_EQ(tray::trayTip(longHint, true), QString(127, QChar('x')));
  EXPECT_EQ(tray::trayTip(QString(127, QChar('y')), true), QString(127, QChar('y')));
  EXPECT_EQ(tray::trayTip("Tarnovel v1.0", true), "Tarnovel v1.0");
  EXPECT_EQ(tray::trayTip("Tarnovel v1.0", false), QString());
  EXPECT_EQ(tray::trayTip(QString(), true), QString());
  // The shell's tip ends at a zero character.
  EXPECT_EQ(tray::trayTip(QString("ab") + QChar(0) + "cd", true), "ab");
  // A character outside the basic plane is never cut in half.
  const QString wide = QString(126, QChar('a')) + QString::fromUcs4(U"\U0001F5B1");
  EXPECT_EQ(tray::trayTip(wide, true), QString(126, QChar('a')));
}

TEST_F(TrayIconTest, TheIconAppearsOnlyWhenLoadingEndsAndCarriesTheTip) {
  tray->SetHint(QString(130, QChar('h')));
  EXPECT_FALSE(host->present);
  tray->Loaded();
  ASSERT_TRUE(host->present);
  EXPECT_EQ(host->tip, QString(127, QChar('h')));
  tray->SetShowHint(false);
  EXPECT_EQ(host->tip, QString());
  tray->SetShowHint(true);
  tray->SetHint("Tarnovel v1.0");
  EXPECT_EQ(host->tip, "Tarnovel v1.0");
}

TEST_F(TrayIconTest, AnIconHiddenBeforeLoadingStaysAway) {
  tray->SetIconVisible(false);
  tray->Loaded();
  EXPECT_FALSE(host->present);
  tray->SetIconVisible(true);
  EXPECT_TRUE(host->present);
}

TEST_F(TrayIconTest, DisabledIconRaisesNothingAndOpensNoMenu) {
  FakeMenu menu(log);
  menu.hasDefault = true;
  tray->SetPopupMenu(&menu);
  tray->Loaded();
  tray->SetEnabled(false);
  for (const auto message : {TrayMouseMessage::MouseMove, TrayMouseMessage::LeftButtonDown,
                             TrayMouseMessage::LeftButtonUp, TrayMouseMessage::LeftButtonDblClk,
                             TrayMouseMessage::LeftButtonUp, TrayMouseMessage::RightButtonDown,
                             TrayMouseMessage::RightButtonUp, TrayMouseMessage::MiddleButtonDown,
                             TrayMouseMessage::MiddleButtonUp})
    send(message);
  tray->ClickTimer().tick();
  EXPECT_THAT(log, IsEmpty());
  EXPECT_FALSE(tray->ClickTimer().Enabled());
}

TEST_F(TrayIconTest, RightButtonRaisesMouseDownThenOpensTheMenuAtTheCursor) {
  FakeMenu menu(log);
  tray->SetPopupMenu(&menu);
  send(TrayMouseMessage::RightButtonDown, QPoint(640, 700), Qt::ShiftModifier);
  send(TrayMouseMessage::RightButtonUp, QPoint(640, 700));
  EXPECT_THAT(log, ElementsAre("down right 640,700", "popup 640,700", "up right"));
  EXPECT_EQ(lastShift, TShiftState(TShiftFlag::ssShift) | TShiftFlag::ssRight);
  EXPECT_EQ(menu.popupComponent, tray.get());
  EXPECT_EQ(loop.pumps, 1);
}

// A tray host's menu requests arrive whenever it likes: one that comes while the menu opens or is
// open is dropped, never run inside the other's loop; the next one after it opens the menu again.
struct MenuRequestCase {
  const char *name;
  bool whileOpen; // else among the messages pumped before the menu opens
  Log expected;
};

class TrayMenuRequests : public TrayIconTest,
                         public testing::WithParamInterface<MenuRequestCase> {};

TEST_P(TrayMenuRequests, OneMenuAtATime) {
  FakeMenu menu(log);
  tray->SetPopupMenu(&menu);
  const auto another = [this] { send(TrayMouseMessage::RightButtonDown, QPoint(1, 2)); };
  if (GetParam().whileOpen)
    menu.whileOpen = another;
  else
    loop.post(another);
  send(TrayMouseMessage::RightButtonDown, QPoint(640, 700));
  send(TrayMouseMessage::RightButtonDown, QPoint(3, 4));
  EXPECT_EQ(log, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, TrayMenuRequests,
    testing::Values(MenuRequestCase{"WhileOpen",
                                    true,
                                    {"down right 640,700", "popup 640,700", "down right 1,2",
                                     "down right 3,4", "popup 3,4"}},
                    MenuRequestCase{"BeforeItOpens",
                                    false,
                                    {"down right 640,700", "down right 1,2", "popup 640,700",
                                     "down right 3,4", "popup 3,4"}}),
    [](const auto &p) { return std::string(p.param.name); });

TEST_F(TrayIconTest, NoMenuWithoutAutoPopupOrCursor) {
  FakeMenu menu(log);
  tray->SetPopupMenu(&menu);
  menu.autoPopup = false;
  send(TrayMouseMessage::RightButtonDown);
  menu.autoPopup = true;
  binding().setCursorPosition(std::nullopt);
  tray->ShowMenuAtCursor();
  EXPECT_THAT(log, ElementsAre("down right 40,30"));
}

TEST_F(TrayIconTest, LeftPopupOpensTheMenuOnTheLeftPress) {
  FakeMenu menu(log);
  tray->SetPopupMenu(&menu);
  tray->SetLeftPopup(true);
  send(TrayMouseMessage::LeftButtonDown, QPoint(5, 6));
  EXPECT_THAT(log, ElementsAre("down left 5,6", "popup 5,6"));
}

TEST_F(TrayIconTest, SingleClickIsReportedWhenTheDoubleClickTimeRunsOut) {
  send(TrayMouseMessage::LeftButtonDown);
  send(TrayMouseMessage::LeftButtonUp);
  EXPECT_THAT(log, ElementsAre("down left 40,30", "up left"));
  EXPECT_TRUE(tray->ClickPending());
  tray->ClickTimer().tick();
  EXPECT_THAT(log, ElementsAre("down left 40,30", "up left", "click"));
  EXPECT_FALSE(tray->ClickTimer().Enabled());
  tray->ClickTimer().tick();
  EXPECT_EQ(std::count(log.begin(), log.end(), "click"), 1);
}

TEST_F(TrayIconTest, PressHeldPastTheDoubleClickTimeClicksAtTheRelease) {
  send(TrayMouseMessage::LeftButtonDown);
  tray->ClickTimer().tick();
  EXPECT_THAT(log, ElementsAre("down left 40,30"));
  send(TrayMouseMessage::LeftButtonUp);
  EXPECT_THAT(log, ElementsAre("down left 40,30", "click", "up left"));
  EXPECT_FALSE(tray->ClickPending());
}

TEST_F(TrayIconTest, DoubleClickGivesOnlyDblClick) {
  FakeMenu menu(log);
  tray->SetPopupMenu(&menu);
  // The order the shell uses; Qt gives a press before its double-click too.
  send(TrayMouseMessage::LeftButtonDown);
  send(TrayMouseMessage::LeftButtonUp);
  send(TrayMouseMessage::LeftButtonDblClk);
  send(TrayMouseMessage::LeftButtonUp);
  tray->ClickTimer().tick();
  EXPECT_EQ(std::count(log.begin(), log.end(), "dblclick"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "click"), 0);
  EXPECT_FALSE(tray->DoubleClickSeen());
  // No item is marked as default, so none is clicked.
  EXPECT_EQ(std::count(log.begin(), log.end(), "default item"), 0);
}

TEST_F(TrayIconTest, DoubleClickRunsTheDefaultItemUnlessTheLeftButtonPopsUp) {
  FakeMenu menu(log);
  menu.hasDefault = true;
  tray->SetPopupMenu(&menu);
  send(TrayMouseMessage::LeftButtonDblClk);
  EXPECT_THAT(log, ElementsAre("dblclick", "default item"));
  log.clear();
  tray->SetLeftPopup(true);
  send(TrayMouseMessage::LeftButtonDblClk);
  EXPECT_THAT(log, ElementsAre("dblclick"));
}

TEST_F(TrayIconTest, ARecreatedTaskbarGetsTheVisibleIconBackWithItsCurrentTip) {
  tray->SetHint("first");
  tray->Loaded();
  tray->SetHint("current");
  binding().injectTaskbarCreated();
  EXPECT_TRUE(host->present);
  EXPECT_EQ(host->tip, "current");

  tray->SetIconVisible(false);
  binding().injectTaskbarCreated();
  EXPECT_FALSE(host->present);
}

TEST_F(TrayIconTest, DestructionRemovesTheIconAtOnce) {
  tray->Loaded();
  ASSERT_TRUE(host->present);
  tray.reset();
  EXPECT_FALSE(host->present);
  ASSERT_FALSE(host->calls.empty());
  EXPECT_EQ(host->calls.back().kind, HeadlessTrayCall::Kind::Remove);
  EXPECT_TRUE(host->calls.back().ok);
}

class TrayIconListTest : public TrayIconTest {
protected:
  void SetUp() override {
    TrayIconTest::SetUp();
    for (const auto colour : {Qt::red, Qt::green, Qt::blue, Qt::yellow})
      icons.push_back(solidIcon(colour));
    for (const QIcon &icon : icons)
      list->Add(icon);
    tray->SetIconList(list.get());
    tray->Loaded();
  }
  qint64 shownKey() const { return host->icon.cacheKey(); }

  std::vector<QIcon> icons;
  std::unique_ptr<TImageList> list = std::make_unique<TImageList>();
};

TEST_F(TrayIconListTest, IndexPastTheEndStoresTheLastImage) {
  tray->SetIconIndex(7);
  EXPECT_EQ(tray->IconIndex(), 3);
  EXPECT_EQ(shownKey(), icons[3].cacheKey());
  // Below the list there is no image either: the first one is shown.
  tray->SetIconIndex(-2);
  EXPECT_EQ(tray->IconIndex(), 0);
  EXPECT_EQ(shownKey(), icons[0].cacheKey());
}

TEST_F(TrayIconListTest, AnEmptyListLeavesThePictureAlone) {
  tray->SetIconIndex(2);
  list->Clear();
  tray->SetIconIndex(1);
  EXPECT_EQ(tray->IconIndex(), 0);
  EXPECT_EQ(shownKey(), icons[2].cacheKey());
  tray->CycleTimer().tick(); // nothing to step through
  EXPECT_EQ(shownKey(), icons[2].cacheKey());
}

TEST_F(TrayIconListTest, CyclingWithIntervalZeroNeverRuns) {
  tray->SetCycleInterval(0);
  tray->SetCycleIcons(true);
  EXPECT_TRUE(tray->CycleTimer().Enabled());
  EXPECT_FALSE(tray->CycleTimer().running());
  tray->SetCycleInterval(250);
  EXPECT_TRUE(tray->CycleTimer().running());
  tray->SetCycleIcons(false);
  EXPECT_FALSE(tray->CycleTimer().running());
}

TEST_F(TrayIconListTest, CycleStepsThroughTheListAndWrapsAround) {
  std::vector<int> next;
  tray->SetOnCycle(TCoolTrayIcon::TCycleEvent::fromFunction(
      [&next](QObject *, int index) { next.push_back(index); }, &CycleTag));
  tray->SetIconIndex(2);
  tray->SetCycleIcons(true); // starts again from the first image
  EXPECT_EQ(tray->IconIndex(), 0);
  for (int i = 0; i < 4; ++i)
    tray->CycleTimer().tick();
  EXPECT_THAT(next, ElementsAre(1, 2, 3, 0));
  EXPECT_EQ(tray->IconIndex(), 0);
  EXPECT_EQ(shownKey(), icons[0].cacheKey());
}

TEST_F(TrayIconListTest, DestroyedReferencesAreDropped) {
  Log menuLog;
  auto menu = std::make_unique<FakeMenu>(menuLog);
  tray->SetPopupMenu(menu.get());
  tray->SetIconIndex(3);
  list.reset();
  EXPECT_EQ(tray->IconList(), nullptr);
  EXPECT_EQ(tray->IconIndex(), 0);
  tray->CycleTimer().tick();

  menu.reset();
  EXPECT_EQ(tray->PopupMenu(), nullptr);
  send(TrayMouseMessage::RightButtonDown);
  send(TrayMouseMessage::LeftButtonDblClk);
  EXPECT_THAT(menuLog, IsEmpty());
}

class TrayWindowTest : public TrayIconTest {
protected:
  void SetUp() override {
    create(&window);
    window.resize(220, 270);
    window.show();
    tray->Loaded();
  }
  // The icon goes before its window, as when the window destroys its components.
  void TearDown() override { tray.reset(); }
  void minimize() {
    window.showMinimized();
    QCoreApplication::processEvents();
  }
  QWidget window;
};

TEST_F(TrayWindowTest, MinimisingWithoutMinimizeToTrayDoesNothingHere) {
  tray->SetIconVisible(false);
  const auto calls = host->calls.size();
  minimize();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(host->calls.size(), calls);
}

TEST_F(TrayWindowTest, MinimisingWithMinimizeToTrayHidesTheWindowAndAddsTheIcon) {
  tray->SetIconVisible(false);
  tray->SetMinimizeToTray(true);
  minimize();
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(host->present);
  EXPECT_TRUE(tray->IconVisible());

  // Shown again by the program: it comes back restored, not as a minimised window.
  window.show();
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.windowState().testFlag(Qt::WindowMinimized));
}

TEST_F(TrayWindowTest, ARestoreBeforeTheMinimiseSettlesKeepsTheWindow) {
  tray->SetMinimizeToTray(true);
  window.showMinimized();
  window.showNormal();
  QCoreApplication::processEvents();
  EXPECT_TRUE(window.isVisible());
}

TEST_F(TrayWindowTest, WithoutATrayHostTheWindowIsNeverHidden) {
  binding().setAvailable(false);
  tray->SetMinimizeToTray(true);
  tray->SendToTray();
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(tray->IconVisible());
}

TEST_F(TrayWindowTest, TheWindowIsLeftAloneOnceTheIconIsGone) {
  tray->SetMinimizeToTray(true);
  tray.reset();
  minimize();
  EXPECT_TRUE(window.isVisible());
}

TEST(TrayStartMinimized, HidesTheOwnerWindowWhenLoadingEnds) {
  QWidget window;
  window.show();
  TCoolTrayIcon icon(&window, std::make_unique<HeadlessTrayBinding>());
  EXPECT_TRUE(icon.ShowMainForm());
  icon.SetStartMinimized(true);
  icon.Loaded();
  EXPECT_FALSE(icon.ShowMainForm());
  EXPECT_FALSE(window.isVisible());
}

} // namespace
