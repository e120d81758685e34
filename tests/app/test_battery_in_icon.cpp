// The tray menu's "Battery in icon": where it sits, its texts, the icon it gives and the setting
// that keeps it.
#include "FormFixture.h"
#include "app/Artwork.h"
#include "app/BatteryInIcon.h"
#include "skin/TMenuItem.h"
#include "skin/TsuiPopupMenu.h"
#include "tray/BatteryIcon.h"
#include "widgets/TProgBar.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace app::test {
namespace {

using tray::BatteryIconState;

const std::string ValueKey =
    std::string(receiver::Languages::RegistryKey) + "|" + BatteryInIconValue;

class BatteryInIcon : public FormFixture {
protected:
  // The picture the tray host was last given, at a panel's size.
  QImage Shown() const {
    return TrayHost->icon.pixmap(QSize(22, 22)).toImage().convertToFormat(QImage::Format_ARGB32);
  }
  static QImage Battery(const BatteryIconState &state) {
    return tray::DrawBatteryIcon(state, 22).convertToFormat(QImage::Format_ARGB32);
  }
  static QImage Program() {
    return ProgramIcon().pixmap(QSize(22, 22)).toImage().convertToFormat(QImage::Format_ARGB32);
  }
  static bool Settled(const std::function<bool()> &done) {
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
  }
};

TEST_F(BatteryInIcon, SitsBelowShowOnItsOwnAndSpeaksTheWindowsLanguage) {
  const struct {
    int codePage;
    const char16_t *caption;
  } cases[] = {{1252, u"&Battery in icon"}, {950, u"圖示顯示電量"}, {936, u"图标显示电量"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.codePage);
    Settings.Values.clear();
    const auto form = Create(c.codePage);
    QStringList names;
    const skin::TMenuItem &items = form->pmnTray->Items();
    for (int i = 0; i < items.Count(); ++i)
      names << items.Items(i)->Name();
    EXPECT_EQ(names.join(' '), "mniLanguage mniConfigure mniN2 mniBatteryInIcon mniN1 mniExit");
    EXPECT_TRUE(form->mniN2->IsLine());
    EXPECT_EQ(form->mniBatteryInIcon->Caption(), QString::fromUtf16(c.caption));
    EXPECT_FALSE(form->mniBatteryInIcon->Checked()) << "off at first start";
    EXPECT_FALSE(Settings.Values.contains(ValueKey)) << "nothing written before a choice";
    EXPECT_EQ(Shown(), Program());
  }
  const auto form = Create(1252);
  form->mniChs->Click();
  EXPECT_EQ(form->mniBatteryInIcon->Caption(), QStringLiteral(u"图标显示电量"));
}

TEST_F(BatteryInIcon, TheIconFollowsLevelAndConnectionAndTheChoiceIsStoredBesideTheLanguage) {
  AddReceiver();
  Settings.StoreLanguage("Cht");
  const auto form = Create();
  ASSERT_TRUE(Settled([&] { return form->ReceiverConnected(); }));
  EXPECT_EQ(Shown(), Program());

  form->mniBatteryInIcon->Click();
  EXPECT_TRUE(form->mniBatteryInIcon->Checked());
  EXPECT_EQ(Settings.Values[ValueKey], "1");
  EXPECT_EQ(Settings.Language(), "Cht");
  EXPECT_EQ(Shown(), Battery({true, 5, 6, framework::clLime}));

  receiver::VirtualReceiverState state = Rx->State();
  state.Battery = 0x11;
  Rx->SetState(state);
  form->tmrStatusTimer(nullptr);
  EXPECT_EQ(Shown(), Battery({true, 1, 6, framework::clRed}));

  ASSERT_TRUE(Binding.Unplug("rx"));
  ASSERT_TRUE(Settled([&] { return !form->ReceiverConnected(); }));
  EXPECT_EQ(Shown(), Battery({false, 1, 6, framework::clRed}));
  EXPECT_NE(Shown(), Battery({true, 0, 6, framework::clRed}));

  form->mniBatteryInIcon->Click();
  EXPECT_EQ(Settings.Values[ValueKey], "0");
  EXPECT_EQ(Shown(), Program());
}

TEST_F(BatteryInIcon, TheStoredChoiceIsTakenAtStartAndAnythingButOneIsOff) {
  const struct {
    const char *stored;
    bool on;
  } cases[] = {{"1", true}, {"0", false}, {"yes", false}, {"", false}, {"1\n", false}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.stored);
    Settings.Values[ValueKey] = c.stored;
    const auto form = Create();
    EXPECT_EQ(form->mniBatteryInIcon->Checked(), c.on);
    EXPECT_EQ(Shown() == Program(), !c.on);
  }
}

TEST_F(BatteryInIcon, AStoreThatRefusesTheWriteLeavesTheChoiceForTheSession) {
  const auto form = Create();
  Settings.RefuseWrites = true;
  form->mniBatteryInIcon->Click();
  EXPECT_TRUE(form->mniBatteryInIcon->Checked());
  EXPECT_EQ(Shown(), Battery({false, 0, 100, form->pbMseBattery->ColorMin()}));
}

} // namespace
} // namespace app::test
