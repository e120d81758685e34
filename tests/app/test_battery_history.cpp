#include "FormFixture.h"

#include "app/BatteryChartFile.h"
#include "app/BatteryHistoryWindow.h"
#include "skin/TMenuItem.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiTitleBar.h"
#include "widgets/chart/BatteryChartView.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>

namespace app::test {
namespace {

using receiver::BatteryEvent;
using receiver::BatteryRecord;

constexpr std::int64_t Now = 1'796'688'000;

TEST_F(FormFixture, TheHistoryItemOpensOneWindowInTheLookAndLanguageThatReadsTheSourceAnew) {
  const auto form = Create(950, skin::TsuiUIStyle::WinXP);
  std::vector<BatteryRecord> records = {{Now - 86400, BatteryEvent::Level, 5, 6}};
  int reads = 0;
  form->SetBatteryHistorySource({[&] {
                                   ++reads;
                                   return records;
                                 },
                                 [] { return std::vector<std::int64_t>{Now - 3600}; },
                                 [] { return Now; }});
  EXPECT_EQ(form->mniHistory->Caption(), QStringLiteral(u"電量記錄"));
  EXPECT_EQ(reads, 0);
  form->mniHistory->Click();
  BatteryHistoryWindow *const window = form->HistoryWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->Frame().UIStyle(), skin::TsuiUIStyle::WinXP);
  EXPECT_EQ(window->Frame().Caption(), QStringLiteral(u"電量記錄"));
  EXPECT_EQ(window->Chart().Data().BatteryChanges, std::vector<std::int64_t>{Now - 3600});
  EXPECT_EQ(window->Chart().size(),
            QSize(BatteryHistoryWindow::ChartWidth, BatteryHistoryWindow::ChartHeight));

  // The history grows while it is open; again from the menu, the same window, read anew.
  records.push_back({Now - 60, BatteryEvent::Level, 2, 6});
  form->BatteryHistoryChanged();
  EXPECT_EQ(window->Chart().Data().Records.size(), 2u);
  form->mniHistory->Click();
  EXPECT_EQ(form->HistoryWindow(), window);
  EXPECT_EQ(reads, 3);

  form->mniEng->Click();
  EXPECT_EQ(form->mniHistory->Caption(), "Battery &history");
  EXPECT_EQ(window->Frame().Caption(), "Battery history");
  EXPECT_EQ(window->Chart().Data().Language, receiver::TLngID::Eng);

  // Closed by its close button or Escape: hidden, not read for, never ending the program.
  EXPECT_FALSE(window->testAttribute(Qt::WA_QuitOnClose));
  skin::TsuiTitleBarButtons &buttons = window->Frame().TitleBarButtons();
  for (int i = 0; i < buttons.Count(); ++i)
    if (buttons.Items(i)->ButtonType() == skin::TsuiTitleBarBtnType::suiClose)
      window->Frame().TitleBar().ClickButton(i);
  EXPECT_FALSE(window->isVisible());
  form->BatteryHistoryChanged();
  EXPECT_EQ(reads, 3);
  form->mniHistory->Click();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(window, &escape);
  EXPECT_FALSE(window->isVisible());
}

TEST(BatteryChartPng, WritesTheTitledChartOrSaysWhyNot) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  widgets::chart::BatteryChartData data{{{Now - 7 * 86400, BatteryEvent::Level, 4, 6}}, {}, Now};
  const std::string path = dir.filePath("chart.png").toStdString();
  std::string message;
  ASSERT_TRUE(WriteBatteryChartPng(path, data, skin::TsuiUIStyle::Protein, message)) << message;
  EXPECT_EQ(QImage(QString::fromStdString(path), "PNG").convertToFormat(QImage::Format_RGB32),
            BatteryChartPicture(data, skin::TsuiUIStyle::Protein));
  ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
  EXPECT_FALSE(WriteBatteryChartPng(dir.filePath("sub").toStdString(), data,
                                    skin::TsuiUIStyle::Protein, message));
  EXPECT_NE(message.find("cannot write"), std::string::npos) << message;
}

} // namespace
} // namespace app::test
