#include "FormFixture.h"

#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiImagePanel.h"
#include "skin/TsuiPopupMenu.h"
#include "skin/TsuiTitleBar.h"
#include "widgets/TCnAALabel.h"
#include "widgets/THexEdit.h"
#include "widgets/TProgBar.h"
#include "widgets/ThhALed.h"

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

#include <algorithm>
#include <vector>

using namespace app;
using namespace app::test;

namespace {

enum class Phase { Unplugged, Pairing, Connected };

// Name and value of each readout, in description order: LED, gauge, percentage, CPI box,
// pairing button.
struct AccessibleCase {
  int codePage;
  Phase phase;
  std::array<const char *, 10> texts;
};

class FormAccessibility : public FormFixture {
protected:
  std::unique_ptr<TForm1> Start(int codePage, Phase phase) {
    if (!Rx) AddReceiver({}, false);
    if (phase == Phase::Unplugged && Binding.IsPlugged("rx")) Binding.Unplug("rx");
    if (phase != Phase::Unplugged && !Binding.IsPlugged("rx")) Binding.Plug("rx");
    Settings.Values.clear();
    auto form = Create(codePage);
    QCoreApplication::processEvents();
    // Connecting starts a pairing attempt; without a change it ends after sixteen ticks.
    if (phase == Phase::Connected)
      for (int i = 0; i < 16; ++i)
        form->tmrSoftBindTimer(nullptr);
    return form;
  }
  static QAccessibleInterface *Of(QWidget *control) {
    return QAccessible::queryAccessibleInterface(control);
  }
  static std::array<QString, 10> Texts(TForm1 &form) {
    std::array<QString, 10> out;
    std::size_t i = 0;
    for (QWidget *control :
         {static_cast<QWidget *>(form.ledDev), static_cast<QWidget *>(form.pbMseBattery),
          static_cast<QWidget *>(form.lblMseBattery), static_cast<QWidget *>(form.edtCPI),
          static_cast<QWidget *>(form.btnCombo_Cmd_Soft_Bind_SW)}) {
      QAccessibleInterface *const a = Of(control);
      out[i++] = a ? a->text(QAccessible::Name) : QStringLiteral("<none>");
      out[i++] = a ? a->text(QAccessible::Value) : QStringLiteral("<none>");
    }
    return out;
  }
};

TEST_F(FormAccessibility, ReadoutsHaveNamesAndValuesInTheWindowsLanguage) {
  const AccessibleCase cases[] = {
      {1252,
       Phase::Unplugged,
       {"Connection", "No receiver", "Battery level", "No reading", "Battery", "No reading", "CPI",
        "No reading", "Connect", "Unavailable"}},
      {1252,
       Phase::Pairing,
       {"Connection", "Pairing", "Battery level", "Level 5 of 6, 83%", "Battery", "83%", "CPI",
        "HIGH", "Connecting", "Pairing"}},
      {1252,
       Phase::Connected,
       {"Connection", "Connected", "Battery level", "Level 5 of 6, 83%", "Battery", "83%", "CPI",
        "HIGH", "Connect", "Ready"}},
      {950,
       Phase::Connected,
       {"連線狀態", "已連線", "電池電量", "第 5 格，共 6 格，83%", "電量", "83%", "解析度", "高",
        "對碼", "就緒"}},
      {950,
       Phase::Pairing,
       {"連線狀態", "配對中", "電池電量", "第 5 格，共 6 格，83%", "電量", "83%", "解析度", "高",
        "對碼中", "配對中"}},
      {936,
       Phase::Unplugged,
       {"连接状态", "无接收器", "电池电量", "无读数", "电量", "无读数", "解析度", "无读数", "对码",
        "无法使用"}},
      {936,
       Phase::Connected,
       {"连接状态", "已连接", "电池电量", "第 5 格，共 6 格，83%", "电量", "83%", "解析度", "高",
        "对码", "就绪"}},
  };
  for (const AccessibleCase &c : cases) {
    SCOPED_TRACE(testing::Message() << c.codePage << " phase " << static_cast<int>(c.phase));
    const auto form = Start(c.codePage, c.phase);
    const std::array<QString, 10> texts = Texts(*form);
    for (std::size_t i = 0; i < texts.size(); ++i)
      EXPECT_EQ(texts[i].toStdString(), c.texts[i]) << "text " << i;
  }
}

TEST_F(FormAccessibility, TextsFollowAMenuLanguageChangeAndTheGaugeGivesItsNumbers) {
  const auto form = Start(1252, Phase::Connected);
  form->mniChs->Click();
  EXPECT_EQ(Of(form->ledDev)->text(QAccessible::Value), QString::fromUtf8("已连接"));
  EXPECT_EQ(Of(form->edtCPI)->text(QAccessible::Value), QString::fromUtf8("高"))
      << "the box still shows the English reading";
  EXPECT_TRUE(Of(form->edtCPI)->state().readOnly);

  QAccessibleInterface *const gauge = Of(form->pbMseBattery);
  ASSERT_NE(gauge, nullptr);
  EXPECT_EQ(gauge->role(), QAccessible::ProgressBar);
  QAccessibleValueInterface *const numbers = gauge->valueInterface();
  ASSERT_NE(numbers, nullptr);
  EXPECT_EQ(numbers->currentValue().toDouble(), 5);
  EXPECT_EQ(numbers->maximumValue().toDouble(), 6);
  EXPECT_EQ(numbers->minimumValue().toDouble(), 0);
}

TEST_F(FormAccessibility, PressingThePairingButtonStartsPairingAfterTheCallAndNotWhileDisabled) {
  const auto form = Start(1252, Phase::Connected);
  QAccessibleActionInterface *const button = Of(form->btnCombo_Cmd_Soft_Bind_SW)->actionInterface();
  ASSERT_NE(button, nullptr);

  form->btnCombo_Cmd_Soft_Bind_SW->setEnabled(false);
  button->doAction(QAccessibleActionInterface::pressAction());
  QCoreApplication::processEvents();
  EXPECT_FALSE(form->tmrSoftBind->Enabled()) << "a disabled button is not pressed";

  form->btnCombo_Cmd_Soft_Bind_SW->setEnabled(true);
  button->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_FALSE(form->tmrSoftBind->Enabled()) << "pressed once the caller has its answer";
  QCoreApplication::processEvents();
  EXPECT_TRUE(form->tmrSoftBind->Enabled());
  EXPECT_EQ(Of(form->btnCombo_Cmd_Soft_Bind_SW)->text(QAccessible::Name),
            QStringLiteral("Connecting"));
  EXPECT_EQ(Of(form->ledDev)->textInterface()->text(0, -1), QStringLiteral("Pairing"));
}

TEST_F(FormAccessibility, TheTitleBarOffersItsShownButtonsByNameInTheLanguageAndPressesThem) {
  const auto form = Start(950, Phase::Connected);
  form->show();
  skin::TsuiTitleBar &bar = form->sfrm1->TitleBar();
  QAccessibleInterface *const panel = Of(&bar);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->role(), QAccessible::Grouping);
  EXPECT_EQ(panel->text(QAccessible::Name), QStringLiteral("Quelvane v1.6"));
  EXPECT_GE(Of(form->sfrm1)->indexOfChild(panel), 0);

  const auto names = [&] {
    QStringList out;
    for (int i = 0; i < panel->childCount(); ++i)
      out << panel->child(i)->text(QAccessible::Name);
    return out;
  };
  EXPECT_EQ(names(), QStringList({QString::fromUtf8("關閉"), QString::fromUtf8("隱藏")}));
  form->mniEng->Click();
  EXPECT_EQ(names(), QStringList({"Close", "Hide"}));

  QAccessibleInterface *const hide = panel->child(1);
  ASSERT_NE(hide, nullptr);
  EXPECT_EQ(panel->child(1), hide) << "one interface a button, kept";
  EXPECT_EQ(panel->indexOfChild(hide), 1);
  EXPECT_EQ(hide->parent(), panel);
  EXPECT_EQ(hide->role(), QAccessible::Button);
  EXPECT_FALSE(hide->rect().isEmpty());
  ASSERT_NE(hide->actionInterface(), nullptr);
  EXPECT_EQ(hide->actionInterface()->actionNames(),
            QStringList{QAccessibleActionInterface::pressAction()});
  hide->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_TRUE(form->isVisible()) << "pressed once the caller has its answer";
  QCoreApplication::processEvents();
  EXPECT_FALSE(form->isVisible());
  form->close();
}

TEST_F(FormAccessibility, ControlsOutsideTheWindowTakeNoFocusAndAreLeftOutOfTheTree) {
  const auto form = Start(1252, Phase::Pairing);
  form->show();
  form->activateWindow();
  QApplication::setActiveWindow(form.get());
  const QWidget *const outside[] = {form->btnSystemStatus, form->btnBattery, form->btnCPI,
                                    form->edtVID,          form->edtPID,     form->imgMouse,
                                    form->lbl48,           form->lbl49,      form->DevListBox};
  EXPECT_EQ(QApplication::focusWidget(), form->btnCombo_Cmd_Soft_Bind_SW) << "the default button";
  for (int i = 0; i < 12; ++i) {
    QWidget *const focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(std::count(std::begin(outside), std::end(outside), focus), 0)
        << focus->objectName().toStdString() << " after " << i << " Tabs";
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(focus, &tab);
  }
  QAccessibleInterface *const frame = Of(form->sfrm1);
  ASSERT_NE(frame, nullptr);
  std::vector<QObject *> heard;
  for (int i = 0; i < frame->childCount(); ++i) {
    QAccessibleInterface *const child = frame->child(i);
    ASSERT_NE(child, nullptr) << i;
    EXPECT_EQ(frame->indexOfChild(child), i);
    heard.push_back(child->object());
  }
  for (const QWidget *control : outside) {
    EXPECT_EQ(std::count(heard.begin(), heard.end(), control), 0)
        << control->objectName().toStdString();
    EXPECT_EQ(frame->indexOfChild(Of(const_cast<QWidget *>(control))), -1);
  }
  for (const QWidget *readout : {static_cast<QWidget *>(form->ledDev),
                                 static_cast<QWidget *>(form->btnCombo_Cmd_Soft_Bind_SW)})
    EXPECT_EQ(std::count(heard.begin(), heard.end(), readout), 1);
  form->close();
}

TEST_F(FormAccessibility, TheHiddenIdBoxesKeepQtsLineEditInterface) {
  const auto form = Start(1252, Phase::Connected);
  QAccessibleInterface *const pid = Of(form->edtPID);
  ASSERT_NE(pid, nullptr);
  EXPECT_NE(pid->textInterface(), nullptr);
}

} // namespace
