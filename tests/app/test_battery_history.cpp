#include "FormFixture.h"

#include "app/BatteryChartFile.h"
#include "app/BatteryHistoryWindow.h"
#include "skin/TMenuItem.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiPopupMenu.h"
#include "skin/TsuiTitleBar.h"
#include "widgets/chart/BatteryChartView.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>

namespace app::test {
namespace {

using receiver::BatteryEvent;
using receiver::BatteryRecord;
using receiver::TLngID;

constexpr std::int64_t Now = 1'796'688'000;

class BatteryHistory : public FormFixture {
protected:
  BatteryHistorySource Source() {
    return {[this] {
              ++Reads;
              return Records;
            },
            [this] { return Changes; }, [] { return Now; }};
  }
  std::vector<BatteryRecord> Records = {{Now - 86400, BatteryEvent::Level, 5, 6}};
  std::vector<std::int64_t> Changes = {Now - 3600};
  int Reads = 0;
};

TEST_F(BatteryHistory, TheTrayItemOpensOneWindowThatReadsTheSourceEachTimeItOpens) {
  const auto form = Create();
  form->SetBatteryHistorySource(Source());
  EXPECT_EQ(form->HistoryWindow(), nullptr);
  EXPECT_EQ(Reads, 0);
  form->mniHistory->Click();
  BatteryHistoryWindow *const window = form->HistoryWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Reads, 1);
  EXPECT_EQ(window->Chart().Data().Records.size(), 1u);
  EXPECT_EQ(window->Chart().Data().BatteryChanges, Changes);
  EXPECT_EQ(window->Chart().Data().Now, Now);
  EXPECT_EQ(window->Frame().Caption(), "Battery history");
  // The chart fills the frame's client below the title bar.
  EXPECT_EQ(window->Chart().size(),
            QSize(BatteryHistoryWindow::ChartWidth, BatteryHistoryWindow::ChartHeight));

  // The history grows while it is open; again from the menu, the same window, read anew.
  Records.push_back({Now - 60, BatteryEvent::Level, 2, 6});
  form->BatteryHistoryChanged();
  EXPECT_EQ(window->Chart().Data().Records.size(), 2u);
  form->mniHistory->Click();
  EXPECT_EQ(form->HistoryWindow(), window);
  EXPECT_EQ(Reads, 3);

  // Its close button hides it without ending the program, even with the main window in the tray.
  bool quit = false;
  const QMetaObject::Connection watch =
      QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&] { quit = true; });
  skin::TsuiTitleBarButtons &buttons = window->Frame().TitleBarButtons();
  for (int i = 0; i < buttons.Count(); ++i)
    if (buttons.Items(i)->ButtonType() == skin::TsuiTitleBarBtnType::suiClose)
      window->Frame().TitleBar().ClickButton(i);
  QCoreApplication::processEvents();
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(window->testAttribute(Qt::WA_QuitOnClose));
  form->BatteryHistoryChanged(); // a hidden window is not read for
  EXPECT_EQ(Reads, 3);
  form->mniHistory->Click();
  EXPECT_TRUE(window->isVisible());
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(window, &escape);
  EXPECT_FALSE(window->isVisible());
  QObject::disconnect(watch);
  EXPECT_FALSE(quit);
}

TEST_F(BatteryHistory, WithoutASourceTheWindowShowsNoHistory) {
  const auto form = Create();
  form->mniHistory->Click();
  ASSERT_NE(form->HistoryWindow(), nullptr);
  EXPECT_TRUE(form->HistoryWindow()->Chart().Data().Records.empty());
  EXPECT_TRUE(form->HistoryWindow()->Chart().Data().BatteryChanges.empty());
}

TEST_F(BatteryHistory, TheItemAndTheOpenWindowFollowTheLanguage) {
  const auto form = Create(950);
  EXPECT_EQ(form->mniHistory->Caption(), QStringLiteral(u"電量記錄"));
  form->mniHistory->Click();
  BatteryHistoryWindow *const window = form->HistoryWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Frame().Caption(), QStringLiteral(u"電量記錄"));
  EXPECT_EQ(window->Chart().Data().Language, TLngID::Cht);
  form->mniChs->Click();
  EXPECT_EQ(form->mniHistory->Caption(), QStringLiteral(u"电量记录"));
  EXPECT_EQ(window->Frame().Caption(), QStringLiteral(u"电量记录"));
  EXPECT_EQ(window->Chart().Data().Language, TLngID::Chs);
  form->mniEng->Click();
  EXPECT_EQ(form->mniHistory->Caption(), "Battery &history");
  EXPECT_EQ(window->Chart().Data().Language, TLngID::Eng);
  // It sits in the tray menu right below Show.
  const skin::TMenuItem &items = form->pmnTray->Items();
  ASSERT_GE(items.Count(), 3);
  EXPECT_EQ(items.Items(2), form->mniHistory);
  EXPECT_EQ(items.Items(1), form->mniConfigure);
}

TEST_F(BatteryHistory, TheWindowTakesTheMainWindowsLook) {
  const auto form = Create(1252, skin::TsuiUIStyle::WinXP);
  form->mniHistory->Click();
  ASSERT_NE(form->HistoryWindow(), nullptr);
  EXPECT_EQ(form->HistoryWindow()->Frame().UIStyle(), skin::TsuiUIStyle::WinXP);
  EXPECT_EQ(form->HistoryWindow()->Chart().Colors().Background, 0xDEEBEFu);
}

TEST(BatteryChartPng, WritesTheTitledChartAndSaysWhyWhenItCannot) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  widgets::chart::BatteryChartData data;
  data.Records = {{Now - 7 * 86400, BatteryEvent::Level, 4, 6}};
  data.Now = Now;
  const std::string path = dir.filePath("chart.png").toStdString();
  std::string message;
  ASSERT_TRUE(WriteBatteryChartPng(path, data, skin::TsuiUIStyle::Protein, message)) << message;
  const QImage written(QString::fromStdString(path), "PNG");
  EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32),
            BatteryChartPicture(data, skin::TsuiUIStyle::Protein));
  EXPECT_EQ(written.size(), QSize(ChartFileWidth, ChartFileHeight));

  // A folder in the way: nothing written, the name in the message.
  const std::string folder = dir.filePath("sub").toStdString();
  ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
  EXPECT_FALSE(WriteBatteryChartPng(folder, data, skin::TsuiUIStyle::Protein, message));
  EXPECT_NE(message.find("sub"), std::string::npos) << message;
  EXPECT_NE(message.find("cannot write"), std::string::npos) << message;
}

} // namespace
} // namespace app::test
