// The tray menu's "Battery in icon" in the window: its texts, and the pictures the tray is given.
#include "FormFixture.h"
#include "app/Artwork.h"
#include "skin/TMenuItem.h"
#include "tray/BatteryIcon.h"

#include <QCoreApplication>

namespace app::test {
namespace {

QImage AtPanelSize(const QIcon &icon) {
  return icon.pixmap(QSize(22, 22)).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST_F(FormFixture, BatteryInIconSpeaksTheLanguageAndGivesTheTrayTheBatteryOrTheProgramsPicture) {
  const struct {
    int codePage;
    const char16_t *caption;
  } languages[] = {{1252, u"&Battery in icon"}, {950, u"圖示顯示電量"}, {936, u"图标显示电量"}};
  for (const auto &c : languages) {
    Settings.Values.clear();
    EXPECT_EQ(Create(c.codePage)->mniBatteryInIcon->Caption(), QString::fromUtf16(c.caption));
  }

  AddReceiver();
  const auto form = Create(1252);
  QCoreApplication::processEvents();
  ASSERT_TRUE(form->ReceiverConnected());
  EXPECT_EQ(AtPanelSize(TrayHost->icon), AtPanelSize(ProgramIcon()));
  form->mniBatteryInIcon->Click();
  EXPECT_EQ(AtPanelSize(TrayHost->icon), tray::DrawBatteryIcon({true, 5, 6, framework::clLime}, 22)
                                             .convertToFormat(QImage::Format_ARGB32));
  form->mniBatteryInIcon->Click();
  EXPECT_EQ(AtPanelSize(TrayHost->icon), AtPanelSize(ProgramIcon()));
}

} // namespace
} // namespace app::test
